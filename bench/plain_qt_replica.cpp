// A floor for the start-up measurement (bench/startup.py): Boxwright's main window built straight
// from plain Qt widgets, the same controls at the same places in the same font, and nothing else:
// no wallpaper, icons, settings, crash reporter or MIDI. What this costs over the bare window is
// the cost of the window's controls themselves.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>

namespace {

// Boxwright lays its window out in dialog units; these are its factors for the window font.
template <typename Widget>
Widget* Place(Widget* widget, int x, int y, int width, int height) {
  widget->setGeometry(x * 7 / 4, y * 13 / 8, width * 7 / 4, height * 13 / 8);
  return widget;
}

void AddList(QWidget* page, const char* name) {
  auto* list = Place(new QTreeWidget(page), 6, 16, 328, 124);
  list->setRootIsDecorated(false);
  list->setHeaderLabels({"Cab No.", "User Cab", name});
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFont(QFont("Tahoma", 8));
  window.setWindowTitle("Boxwright 1.01");
  window.resize(609, 388);

  Place(new QGroupBox("MIDI Devices", &window), 4, 2, 340, 30);
  Place(new QLabel("MIDI In:", &window), 10, 15, 28, 10);
  Place(new QComboBox(&window), 40, 13, 112, 12);
  Place(new QLabel("MIDI Out:", &window), 158, 15, 32, 10);
  Place(new QComboBox(&window), 192, 13, 100, 12);
  Place(new QPushButton("Connect", &window), 296, 12, 44, 14);
  struct {
    const char* title;
    int x, width;
    const char* options[2];
    int optionX[2], optionWidth[2];
  } groups[] = {{"Cabinet", 4, 76, {"Cab 1", "Cab 2"}, {9, 43}, {32, 32}},
                {"X/Y", 84, 50, {"X", "Y"}, {90, 112}, {20, 20}},
                {"Left/Right", 138, 76, {"Left", "Right"}, {144, 176}, {30, 34}}};
  for (const auto& group : groups) {
    auto* box = Place(new QGroupBox(group.title, &window), group.x, 36, group.width, 30);
    for (int i = 0; i < 2; ++i) {
      Place(new QRadioButton(group.options[i], box), group.optionX[i] - group.x, 13, group.optionWidth[i], 10)
          ->setChecked(i == 0);
    }
  }
  Place(new QGroupBox("User Cab Offset", &window), 218, 36, 62, 30);
  Place(new QSpinBox(&window), 226, 49, 40, 12)->setRange(0, 999);
  Place(new QPushButton("Refresh", &window), 284, 40, 56, 22);
  auto* sheet = Place(new QTabWidget(&window), 4, 70, 340, 146);
  auto* allCabs = new QWidget;
  AddList(allCabs, "Name");
  sheet->addTab(allCabs, " All Cabs ");
  auto* favourites = new QWidget;
  AddList(favourites, "Name");
  sheet->addTab(favourites, " Favourite Cabs ");
  Place(new QCheckBox("  Safety Mode On", &window), 6, 222, 76, 12);
  Place(new QLabel("0", &window), 228, 223, 52, 10);
  Place(new QPushButton("Close", &window), 288, 219, 56, 16);
  Place(new QPushButton("About", &window), 88, 219, 56, 16);

  window.show();
  return application.exec();
}
