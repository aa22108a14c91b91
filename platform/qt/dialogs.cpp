#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>

#include "platform/qt/art.h"

namespace qtscreen {
namespace {

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The label a button shows, without its mnemonic marker, for comparing.
QString Plain(QString label) { return label.remove(QLatin1Char('&')).trimmed(); }

void SetIcon(QMessageBox& box, const std::string& icon) {
  const QString name = Plain(Text(icon)).toLower();
  if (name.isEmpty()) return;
  if (name.contains(QLatin1String("exclamation")) || name.contains(QLatin1String("warning"))) {
    box.setIcon(QMessageBox::Warning);
  } else if (name.contains(QLatin1String("question"))) {
    box.setIcon(QMessageBox::Question);
  } else if (name.contains(QLatin1String("hand")) || name.contains(QLatin1String("error")) ||
             name.contains(QLatin1String("stop"))) {
    box.setIcon(QMessageBox::Critical);
  } else if (name.contains(QLatin1String("asterisk")) || name.contains(QLatin1String("info"))) {
    box.setIcon(QMessageBox::Information);
  } else if (const QIcon art = ArtIcon(icon); !art.isNull()) {
    box.setIconPixmap(art.pixmap(32, 32));
  }
}

// "Cabs List (*.cablist)" with "*.a;*.b" patterns in the form Qt reads: "Name (*.a *.b)".
QString FilterText(const rt::FileFilter& filter) {
  QString name = Text(filter.name).trimmed();
  const qsizetype paren = name.lastIndexOf(QLatin1Char('('));
  if (paren > 0 && name.endsWith(QLatin1Char(')'))) name = name.left(paren).trimmed();
  QString patterns = Text(filter.pattern).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
  if (patterns.isEmpty()) patterns = QStringLiteral("*");
  return name.isEmpty() ? patterns : name + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

// A text taller than the screen (a crash report shown whole) would push the buttons off it:
// such a text scrolls inside the box, which then keeps to the screen's available area.
void KeepOnScreen(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  const QScreen* screen = box.screen();
  if (!label || !screen || !box.layout()) return;
  const QRect available = screen->availableGeometry();
  const int tallest = available.height() * 3 / 5;
  if (label->sizeHint().height() <= tallest) return;
  // Report lines keep their layout: long ones scroll sideways instead of wrapping.
  label->setWordWrap(false);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto* scroll = new QScrollArea(&box);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  delete box.layout()->replaceWidget(label, scroll);
  scroll->setWidget(label);
  const int width = std::min(label->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width(),
                             available.width() * 4 / 5);
  scroll->setFixedSize(width, tallest);
}

}  // namespace

int ShowMessage(const rt::MessageRequest& request) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(Text(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(Text(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  SetIcon(box, request.icon);
  std::vector<QPushButton*> buttons;
  for (const std::string& label : request.buttons) buttons.push_back(box.addButton(Text(label), QMessageBox::ActionRole));
  if (buttons.empty()) buttons.push_back(box.addButton(QStringLiteral("OK"), QMessageBox::ActionRole));

  const std::size_t wanted = static_cast<std::size_t>(request.defaultButton > 0 ? request.defaultButton : 1);
  box.setDefaultButton(buttons[std::min(wanted, buttons.size()) - 1]);
  QPushButton* escape = buttons.size() == 1 ? buttons.front() : nullptr;
  for (QPushButton* b : buttons) {
    const QString label = Plain(b->text()).toLower();
    if (label == QLatin1String("cancel") || (label == QLatin1String("no") && !escape)) escape = b;
  }
  if (escape) box.setEscapeButton(escape);
  KeepOnScreen(box);

  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i + 1);
  }
  return escape ? static_cast<int>(std::find(buttons.begin(), buttons.end(), escape) - buttons.begin() + 1)
                : static_cast<int>(std::min(wanted, buttons.size()));
}

std::optional<std::string> ShowFileDialog(const rt::FileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), Text(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  const bool saving = request.kind == rt::FileRequest::Kind::Save;
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!saving && request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(saving && request.overwritePrompt));
  QStringList filters;
  for (const rt::FileFilter& filter : request.filters) filters << FilterText(filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  QString extension = Text(request.defaultExtension);
  while (extension.startsWith(QLatin1Char('.'))) extension.remove(0, 1);
  dialog.setDefaultSuffix(extension);
  if (!request.file.empty()) {
    const QFileInfo start(Text(request.file));
    if (start.isDir()) {
      dialog.setDirectory(start.absoluteFilePath());
    } else {
      if (start.absoluteDir().exists()) dialog.setDirectory(start.absolutePath());
      dialog.selectFile(start.fileName());
    }
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

int ShowPopup(const rt::PopupRequest& request) {
  QMenu menu(QApplication::activeWindow());
  std::vector<QAction*> entries;
  for (const std::string& entry : request.entries) {
    if (entry == "-") menu.addSeparator();
    else entries.push_back(menu.addAction(Text(entry)));
  }
  QAction* chosen = menu.exec(QCursor::pos());
  const auto it = std::find(entries.begin(), entries.end(), chosen);
  return chosen && it != entries.end() ? static_cast<int>(it - entries.begin() + 1) : 0;
}

}  // namespace qtscreen
