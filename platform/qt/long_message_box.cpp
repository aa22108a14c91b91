#include "platform/qt/long_message_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

namespace qtscreen {
namespace {

// Esc and the close box end the box as its escape button does, or not at all.
class LongMessageDialog final : public QDialog {
 public:
  LongMessageDialog(int escapeButton, QWidget* parent) : QDialog(parent), escapeButton_(escapeButton) {}
  void reject() override {
    if (escapeButton_ >= 0) done(escapeButton_ + 1);
  }

 private:
  int escapeButton_;
};

// Report lines line up in columns: a fixed-pitch font, tab stops every eight characters.
QPlainTextEdit* TextView(const QString& text, QWidget* parent) {
  auto* view = new QPlainTextEdit(parent);
  view->setReadOnly(true);
  view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view->setTabStopDistance(8 * view->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
  view->setPlainText(text);
  return view;
}

// As large as the text, but never more than the screen leaves for it.
QSize ViewSize(const QPlainTextEdit& view, const QString& text, const QRect& available) {
  const QFontMetrics metrics = view.fontMetrics();
  const QSize content = metrics.size(Qt::TextExpandTabs, text, static_cast<int>(view.tabStopDistance()));
  const int chrome = 2 * view.frameWidth() + 2 * static_cast<int>(view.document()->documentMargin()) +
                     view.verticalScrollBar()->sizeHint().width();
  return {std::min(content.width() + chrome, available.width() * 4 / 5),
          std::min(content.height() + chrome, available.height() * 3 / 5)};
}

}  // namespace

int ShowLongMessage(const LongMessage& message, QWidget* parent) {
  LongMessageDialog dialog(message.escapeButton, parent);
  dialog.setWindowTitle(message.caption);
  auto* grid = new QGridLayout(&dialog);
  if (!message.icon.isNull()) {
    auto* icon = new QLabel(&dialog);
    icon->setPixmap(message.icon);
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
  }
  QPlainTextEdit* view = TextView(message.text, &dialog);
  grid->addWidget(view, 0, 1);
  // The buttons stand as a message box's do, in the program's order.
  auto* row = new QDialogButtonBox(&dialog);
  for (int i = 0; i < message.buttons.size(); ++i) {
    QPushButton* button = row->addButton(message.buttons[i], QDialogButtonBox::ActionRole);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, i] { dialog.done(i + 1); });
    if (i == message.defaultButton) {
      button->setDefault(true);
      button->setFocus();
    }
  }
  grid->addWidget(row, 1, 0, 1, 2);

  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    // The box opens at the size the text asks for within the screen; the user may change it.
    view->setMinimumSize(ViewSize(*view, message.text, screen->availableGeometry()));
    dialog.resize(dialog.sizeHint());
    view->setMinimumSize(view->minimumSizeHint());
  }
  const int chosen = dialog.exec();
  if (chosen >= 1 && chosen <= message.buttons.size()) return chosen;
  return message.escapeButton >= 0 ? message.escapeButton + 1 : message.defaultButton + 1;
}

}  // namespace qtscreen
