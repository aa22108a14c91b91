#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/art.h"
#include "platform/qt/control_views.h"
#include "platform/qt/etched_group.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/user_action.h"

namespace qtscreen {
namespace {

constexpr int kButtonIconSize = 16;

// Radios and check boxes stand on the wallpaper, where the style's faint focus mark is lost:
// the one with the keyboard focus gets a dotted frame in its text colour.
template <class Button>
class FocusMarked final : public Button {
 public:
  using Button::Button;

 protected:
  void paintEvent(QPaintEvent* event) override {
    Button::paintEvent(event);
    if (!this->hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(this->palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(this->rect().adjusted(0, 0, -1, -1));
  }
};

}  // namespace

ButtonView::ButtonView(WindowView& view, int field) : ControlView(view, field), button_(new QPushButton(&view)) {
  SetWidget(button_);
  button_->setIconSize(QSize(kButtonIconSize, kButtonIconSize));
  button_->setAutoDefault(false);
  button_->setDefault(Def().defaultButton);  // drawn as the one Enter presses
  QObject::connect(button_, &QPushButton::clicked, button_, [this] { Acted(rt::user::Press(Runtime(), Field())); });
}

void ButtonView::Sync() {
  button_->setText(Prop(PROP::Text));
  button_->setIcon(ArtIcon(Prop(PROP::Icon).toStdString()));
}

CheckView::CheckView(WindowView& view, int field)
    : ControlView(view, field), box_(new FocusMarked<QCheckBox>(&view)) {
  SetWidget(box_);
  QObject::connect(box_, &QCheckBox::clicked, box_, [this] {
    Acted(rt::user::Press(Runtime(), Field()));
    Sync();  // a refused press leaves the runtime's value, so show it again
  });
}

void CheckView::Sync() {
  box_->setText(Prop(PROP::Text));
  const std::string on = Def().value.empty() ? "1" : Def().value;
  box_->setChecked(Runtime().ScreenValue(Field()) == on);
}

OptionView::OptionView(WindowView& view, int field) : ControlView(view, field), frame_(new EtchedGroup(&view)) {
  SetWidget(frame_);
  radios_.setExclusive(true);
}

void OptionView::Sync() {
  const QString title = Prop(PROP::Text);
  frame_->setTitle(title);
  // An option without a title is only a grouping: no frame either.
  frame_->SetEtched(!title.isEmpty());
}

RadioView::RadioView(WindowView& view, int field)
    : ControlView(view, field), radio_(new FocusMarked<QRadioButton>(&view)) {
  SetWidget(radio_);
  if (auto* option = dynamic_cast<OptionView*>(view.Control(Def().parent))) option->Radios().addButton(radio_);
  QObject::connect(radio_, &QRadioButton::clicked, radio_, [this] {
    Acted(rt::user::Press(Runtime(), Field()));
    View().Resync(Def().parent);  // a refused press leaves the runtime's choice
  });
}

int RadioView::Position() const {
  int position = 0;
  for (int child : Runtime().Children(Def().parent)) {
    if (Runtime().Control(child).kind == rt::Kind::Radio) ++position;
    if (child == Field()) return position;
  }
  return 0;
}

void RadioView::Sync() {
  radio_->setText(Prop(PROP::Text));
  const bool chosen = Position() != 0 && Runtime().Choice(Def().parent) == Position();
  // An exclusive group keeps one radio on; with no choice at all, none may be on.
  if (auto* group = radio_->group(); group && !chosen && radio_->isChecked()) {
    group->setExclusive(false);
    radio_->setChecked(false);
    group->setExclusive(true);
  } else {
    radio_->setChecked(chosen);
  }
}

}  // namespace qtscreen
