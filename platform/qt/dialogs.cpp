#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <algorithm>

#include "platform/qt/art.h"
#include "platform/qt/long_message_box.h"

namespace qtscreen {
namespace {

QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The label a button shows, without its mnemonic marker, for comparing.
QString Plain(QString label) { return label.remove(QLatin1Char('&')).trimmed(); }

struct BoxIcon {
  QMessageBox::Icon standard = QMessageBox::NoIcon;
  QPixmap art;  // an image named in place of an icon
};

BoxIcon IconFor(const std::string& icon) {
  const QString name = Plain(Text(icon)).toLower();
  if (name.isEmpty()) return {};
  auto has = [&](const char* word) { return name.contains(QLatin1String(word)); };
  if (has("exclamation") || has("warning")) return {QMessageBox::Warning, {}};
  if (has("question")) return {QMessageBox::Question, {}};
  if (has("hand") || has("error") || has("stop")) return {QMessageBox::Critical, {}};
  if (has("asterisk") || has("info")) return {QMessageBox::Information, {}};
  if (const QIcon art = ArtIcon(icon); !art.isNull()) return {QMessageBox::NoIcon, art.pixmap(32, 32)};
  return {};
}

// The picture a message box shows for its icon, for a box of our own.
QPixmap Picture(const BoxIcon& icon) {
  if (!icon.art.isNull()) return icon.art;
  QStyle::StandardPixmap kind;
  switch (icon.standard) {
    case QMessageBox::Warning: kind = QStyle::SP_MessageBoxWarning; break;
    case QMessageBox::Question: kind = QStyle::SP_MessageBoxQuestion; break;
    case QMessageBox::Critical: kind = QStyle::SP_MessageBoxCritical; break;
    case QMessageBox::Information: kind = QStyle::SP_MessageBoxInformation; break;
    default: return {};
  }
  const int size = QApplication::style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  return QApplication::style()->standardIcon(kind).pixmap(size, size);
}

// The button that Esc and the close box choose, as desktops do: Cancel, else No (the safe
// answer of a confirmation), else OK, else the only one; -1 when there is none of these.
int EscapeButton(const QStringList& labels) {
  for (const char* wanted : {"cancel", "no", "ok"}) {
    for (int i = 0; i < labels.size(); ++i) {
      if (Plain(labels[i]).toLower() == QLatin1String(wanted)) return i;
    }
  }
  return labels.size() == 1 ? 0 : -1;
}

// A text taller than a box may be (a crash report shown whole) would push the buttons off
// the screen: a box wraps its text at about half the screen's width, at most 500 points.
bool TallerThanABox(const QString& text, const QFont& font, const QRect& available) {
  const QRect wrapped = QFontMetrics(font).boundingRect(QRect(0, 0, std::min(available.width() / 2, 500), 0),
                                                        Qt::TextWordWrap | Qt::TextExpandTabs, text);
  return wrapped.height() > available.height() * 3 / 5;
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

}  // namespace

int ShowMessage(const rt::MessageRequest& request, QWidget* owner) {
  QWidget* parent = owner;
  const QString text = Text(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList labels;
  for (const std::string& label : request.buttons) labels << Text(label);
  if (labels.isEmpty()) labels << QStringLiteral("OK");
  const int wanted = std::clamp(request.defaultButton, 1, static_cast<int>(labels.size())) - 1;
  const int escape = EscapeButton(labels);
  const BoxIcon icon = IconFor(request.icon);

  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen && TallerThanABox(text, QApplication::font("QMessageBox"), screen->availableGeometry())) {
    return ShowLongMessage({.text = text, .caption = Text(request.caption), .icon = Picture(icon), .buttons = labels,
                            .defaultButton = wanted, .escapeButton = escape},
                           parent);
  }

  QMessageBox box(parent);
  box.setWindowTitle(Text(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  if (icon.art.isNull()) {
    box.setIcon(icon.standard);
  } else {
    box.setIconPixmap(icon.art);
  }
  std::vector<QPushButton*> buttons;
  for (const QString& label : labels) buttons.push_back(box.addButton(label, QMessageBox::ActionRole));
  box.setDefaultButton(buttons[static_cast<std::size_t>(wanted)]);
  if (escape >= 0) box.setEscapeButton(buttons[static_cast<std::size_t>(escape)]);

  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i + 1);
  }
  return escape >= 0 ? escape + 1 : wanted + 1;
}

std::optional<std::string> ShowFileDialog(const rt::FileRequest& request, QWidget* owner) {
  QFileDialog dialog(owner, Text(request.title));
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

int ShowPopup(const rt::PopupRequest& request, QWidget* owner) {
  QMenu menu(owner);
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
