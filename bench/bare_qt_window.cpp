// The baseline of the start-up measurement (bench/startup.py): a bare Qt window of the main
// window's size, with nothing else to do before its first paint. Given "--label", the window
// holds one word of text, which shows what drawing any text at all costs.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(609, 388);
  if (argc > 1 && std::strcmp(argv[1], "--label") == 0) new QLabel("Cab", &window);
  window.show();
  return application.exec();
}
