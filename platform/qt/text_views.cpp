#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QValidator>

#include "platform/qt/art.h"
#include "platform/qt/control_views.h"
#include "platform/qt/etched_group.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/screen.h"
#include "platform/rt/use.h"
#include "platform/rt/user_action.h"

namespace qtscreen {
namespace {

// "&&" shows one ampersand; a single "&" marks the mnemonic, which a label without a
// buddy cannot use.
QString WithoutMnemonic(const QString& text) {
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) shown += text[++i];
      continue;
    }
    shown += text[i];
  }
  return shown;
}

QLabel* PlainLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

// An entry that takes only some characters leaves the others out as they are typed or
// pasted, with a beep, so the entry shows exactly what the program will get.
class TypableValidator final : public QValidator {
 public:
  TypableValidator(rt::CharRange range, const bool& syncing, QObject* parent)
      : QValidator(parent), range_(range), syncing_(syncing) {}

  State validate(QString& input, int& cursor) const override {
    QString kept;
    int keptCursor = cursor;
    bool dropped = false;
    const QList<uint> characters = input.toUcs4();
    int position = 0;  // in UTF-16 units, as the cursor counts
    for (const uint c : characters) {
      const int units = c > 0xFFFF ? 2 : 1;
      if (range_.Holds(c)) {
        kept += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
      } else {
        dropped = true;
        if (position < cursor) keptCursor -= units;
      }
      position += units;
    }
    if (!dropped) return Acceptable;
    input = kept;
    cursor = std::max(0, keptCursor);
    if (!syncing_) rt::CurrentScreen().Beep();
    return Acceptable;
  }

 private:
  rt::CharRange range_;
  const bool& syncing_;
};

}  // namespace

PromptView::PromptView(WindowView& view, int field) : ControlView(view, field), label_(PlainLabel(&view)) {
  SetWidget(label_);
}

void PromptView::Sync() {
  // A prompt's mnemonic moves the focus to the control after it.
  const ControlView* next = View().Control(Field() + 1);
  QWidget* buddy = next ? next->Widget() : nullptr;
  const bool focusable = buddy && buddy->focusPolicy() != Qt::NoFocus;
  label_->setBuddy(focusable ? buddy : nullptr);
  label_->setTextFormat(Qt::PlainText);
  label_->setText(focusable ? Prop(PROP::Text) : WithoutMnemonic(Prop(PROP::Text)));
}

StringView::StringView(WindowView& view, int field) : ControlView(view, field), label_(PlainLabel(&view)) {
  SetWidget(label_);
}

// A string is plain text: an "&" in it is shown, it marks no mnemonic.
void StringView::Sync() {
  label_->setText(Def().use.Bound() ? FromUtf8(Runtime().ScreenValue(Field())) : Prop(PROP::Text));
}

EntryView::EntryView(WindowView& view, int field) : ControlView(view, field), edit_(new QLineEdit(&view)) {
  SetWidget(edit_);
  if (Def().chars > 0) edit_->setMaxLength(Def().chars);
  edit_->setReadOnly(Def().readOnly);
  if (!Def().typable.Any()) edit_->setValidator(new TypableValidator(Def().typable, syncing_, edit_));
  QObject::connect(edit_, &QLineEdit::editingFinished, edit_, [this] { Commit(); });
}

// The runtime takes the typed text when the user leaves the entry, presses Enter or acts
// elsewhere in the window, and only when it changed.
void EntryView::Commit() {
  if (syncing_ || edit_->isReadOnly()) return;
  GiveTyped(edit_->text().toStdString());
}

// Focus given by the program selects the text, so typing replaces it (as the keyboard's
// Tab does).
void EntryView::TakeFocus() {
  edit_->setFocus(Qt::OtherFocusReason);
  edit_->selectAll();
}

void EntryView::Sync() {
  const QString value = FromUtf8(Runtime().ScreenValue(Field()));
  if (edit_->text() == value) return;
  // Text the focused entry holds selected whole stays selected when the program replaces it.
  const bool wholeSelected = edit_->window()->focusWidget() == edit_ &&
                             (edit_->text().isEmpty() || edit_->selectedText() == edit_->text());
  syncing_ = true;
  edit_->setText(value);
  if (wholeSelected) edit_->selectAll();
  syncing_ = false;
}

SpinView::SpinView(WindowView& view, int field) : ControlView(view, field), spin_(new QSpinBox(&view)) {
  SetWidget(spin_);
  const rt::ControlDef& def = Def();
  if (def.low != def.high) {
    spin_->setRange(std::min(def.low, def.high), std::max(def.low, def.high));
  } else {
    int most = 1;
    for (int digit = 0; digit < (def.chars > 0 ? std::min(def.chars, 9) : 9); ++digit) most *= 10;
    spin_->setRange(0, most - 1);
  }
  spin_->setSingleStep(std::max(1, def.step));
  spin_->setKeyboardTracking(false);  // typed digits count once the user is done
  spin_->setReadOnly(def.readOnly);
  QObject::connect(spin_, &QSpinBox::valueChanged, spin_, [this](int value) {
    if (syncing_) return;
    Acted(rt::user::Type(Runtime(), Field(), std::to_string(value)));
    Sync();
  });
}

// Digits typed and not yet taken count as they would on leaving the box.
void SpinView::Commit() {
  if (!syncing_ && !spin_->isReadOnly()) spin_->interpretText();
}

void SpinView::Sync() {
  syncing_ = true;
  spin_->setValue(static_cast<int>(rt::TextToNumber(Runtime().ScreenValue(Field()))));
  syncing_ = false;
}

GroupView::GroupView(WindowView& view, int field) : ControlView(view, field), group_(new EtchedGroup(&view)) {
  SetWidget(group_);
}

void GroupView::Sync() { group_->setTitle(Prop(PROP::Text)); }

BoxView::BoxView(WindowView& view, int field) : ControlView(view, field) {
  auto* frame = new QFrame(&view);
  frame->setFrameShape(QFrame::Box);
  SetWidget(frame);
}

ImageView::ImageView(WindowView& view, int field) : ControlView(view, field), label_(new QLabel(&view)) {
  SetWidget(label_);
}

void ImageView::Sync() {
  const QString name = Prop(PROP::Text).isEmpty() ? Prop(PROP::Icon) : Prop(PROP::Text);
  const QImage image = ArtImage(name.toStdString());
  // A sized image control stretches its picture over its area; otherwise it takes its size.
  label_->setScaledContents(Runtime().PropNumber(Field(), PROP::Width) > 0 && Runtime().PropNumber(Field(), PROP::Height) > 0);
  label_->setPixmap(QPixmap::fromImage(image));
}

RegionView::RegionView(WindowView& view, int field) : ControlView(view, field) {
  auto* area = new QWidget(&view);
  area->setAttribute(Qt::WA_NoSystemBackground);
  SetWidget(area);
}

}  // namespace qtscreen
