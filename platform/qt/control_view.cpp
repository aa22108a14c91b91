#include "platform/qt/control_view.h"

#include <QMouseEvent>
#include <functional>
#include <optional>

#include "platform/qt/control_views.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/looks.h"
#include "platform/qt/wait_loop.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/use.h"
#include "platform/rt/user_action.h"
#include "platform/win/system/debug_output.h"

namespace qtscreen {
namespace {

Qt::CursorShape CursorOf(const QString& name) {
  const QString n = name.toLower();
  if (n.contains(QLatin1String("hand")) || n.contains(QLatin1String("link"))) return Qt::PointingHandCursor;
  if (n.contains(QLatin1String("wait"))) return Qt::WaitCursor;
  if (n.contains(QLatin1String("ibeam"))) return Qt::IBeamCursor;
  if (n.contains(QLatin1String("cross"))) return Qt::CrossCursor;
  return Qt::ArrowCursor;
}

// A left press on the control is the user's click (rt::user::Click); the widget does not
// see it. Entries see presses that their control does not alert, so they take the focus.
class ClickFilter final : public QObject {
 public:
  ClickFilter(QWidget* widget, std::function<bool()> takes, std::function<void()> click)
      : QObject(widget), takes_(std::move(takes)), click_(std::move(click)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (!press || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || !takes_()) {
      return QObject::eventFilter(watched, event);
    }
    click_();
    return true;
  }

 private:
  std::function<bool()> takes_;
  std::function<void()> click_;
};

}  // namespace

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

ControlView::ControlView(WindowView& view, int field) : view_(view), field_(field) {}

ControlView::~ControlView() { delete widget_.data(); }

rt::Window& ControlView::Runtime() const { return view_.Runtime(); }

const rt::ControlDef& ControlView::Def() const { return Runtime().Control(field_); }

QString ControlView::Prop(int prop) const { return FromUtf8(Runtime().Prop(field_, prop)); }

void ControlView::SetWidget(QWidget* widget) {
  widget_ = widget;
  widget->setObjectName(FromUtf8(Def().equate));
}

void ControlView::Acted(const std::string& refused) const {
  WaitLoop::Wake();
  if (!refused.empty()) OutputDebugStringA(("[screen] " + refused + "\n").c_str());
}

void ControlView::TakeFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

void ControlView::GiveTyped(const std::string& typed) {
  if (typed == Runtime().ScreenValue(field_)) return;
  Acted(rt::user::Type(Runtime(), field_, typed));
  Sync();
}

void ControlView::Place() {
  if (!widget_) return;
  QRect r = view_.ToPixels(Runtime().PropNumber(field_, PROP::Xpos), Runtime().PropNumber(field_, PROP::Ypos),
                           Runtime().PropNumber(field_, PROP::Width), Runtime().PropNumber(field_, PROP::Height));
  // A control without a size takes the size its contents ask for.
  const QSize hint = widget_->sizeHint();
  if (r.width() <= 0) r.setWidth(qMax(hint.width(), 1));
  if (r.height() <= 0) r.setHeight(qMax(hint.height(), 1));
  widget_->setGeometry(r);
}

// The control's font as designed (a family, size, style and colour of its own, each left
// to the window when not given), then as the program changed it through the properties.
void ControlView::ApplyStyle() {
  if (!widget_) return;
  const rt::Font& designed = Def().font;
  const bool ownFont = !designed.name.empty() || designed.style != 0 || designed.size != rt::Font{}.size;
  QFont font = view_.font();
  QString family = Prop(PROP::FontName);
  if (family.isEmpty()) family = FromUtf8(designed.name);
  if (!family.isEmpty()) font = WindowFont(family.toStdString(), font.pointSize());
  long long size = Runtime().PropNumber(field_, PROP::FontSize);
  if (size <= 0 && ownFont) size = designed.size;
  if (size > 0) font.setPointSize(int(size));
  long long style = Runtime().PropNumber(field_, PROP::FontStyle);
  ApplyFontStyle(font, style > 0 ? style : designed.style);
  widget_->setFont(font);

  QPalette palette = view_.palette();
  QString ink = Prop(PROP::FontColor);
  if (ink.isEmpty() && designed.color != -1) ink = QString::number(designed.color);
  if (auto colour = ColourOf(ink)) {
    palette.setColor(QPalette::WindowText, *colour);
    palette.setColor(QPalette::Text, *colour);
    palette.setColor(QPalette::ButtonText, *colour);
  }
  const auto background = ColourOf(Prop(PROP::Color));
  if (background) {
    palette.setColor(QPalette::Window, *background);
    palette.setColor(QPalette::Base, *background);
  }
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(background.has_value());

  const QString cursor = Prop(PROP::Cursor);
  if (cursor.isEmpty()) widget_->unsetCursor();
  else widget_->setCursor(CursorOf(cursor));
}

// An entry that alerts the left button leaves the click to the program: the click does not
// bring the focus (the keyboard still does).
void ControlView::ApplyAlerts() {
  if (!widget_ || Def().kind != rt::Kind::Entry) return;
  widget_->setFocusPolicy(Runtime().Alerts(field_, KEY::MouseLeft) ? Qt::TabFocus : Qt::StrongFocus);
}

void ControlView::FollowClicks() {
  const rt::Kind kind = Def().kind;
  const bool always = kind == rt::Kind::String || kind == rt::Kind::SString || kind == rt::Kind::Prompt || kind == rt::Kind::Region;
  if (!widget_ || !(always || kind == rt::Kind::Entry)) return;
  widget_->installEventFilter(new ClickFilter(
      widget_, [this, always] { return always || Runtime().Alerts(field_, KEY::MouseLeft); },
      [this] { Acted(rt::user::Click(Runtime(), field_)); }));
}

void ControlView::ApplyState() {
  if (!widget_) return;
  widget_->setVisible(Runtime().IsVisible(field_));
  widget_->setEnabled(Runtime().IsEnabled(field_));
}

std::unique_ptr<ControlView> MakeControlView(WindowView& view, int field) {
  switch (view.Runtime().Control(field).kind) {
    case rt::Kind::Button: return std::make_unique<ButtonView>(view, field);
    case rt::Kind::Check: return std::make_unique<CheckView>(view, field);
    case rt::Kind::Option: return std::make_unique<OptionView>(view, field);
    case rt::Kind::Radio: return std::make_unique<RadioView>(view, field);
    case rt::Kind::Prompt: return std::make_unique<PromptView>(view, field);
    case rt::Kind::String:
    case rt::Kind::SString: return std::make_unique<StringView>(view, field);
    case rt::Kind::Entry: return std::make_unique<EntryView>(view, field);
    case rt::Kind::Text: return std::make_unique<TextView>(view, field);
    case rt::Kind::Spin: return std::make_unique<SpinView>(view, field);
    case rt::Kind::Group: return std::make_unique<GroupView>(view, field);
    case rt::Kind::Box: return std::make_unique<BoxView>(view, field);
    case rt::Kind::Image: return std::make_unique<ImageView>(view, field);
    case rt::Kind::Region: return std::make_unique<RegionView>(view, field);
    case rt::Kind::List:
    case rt::Kind::Combo:
      if (view.Runtime().Control(field).drop || view.Runtime().Control(field).kind == rt::Kind::Combo)
        return std::make_unique<DropListView>(view, field);
      return std::make_unique<ListView>(view, field);
    case rt::Kind::Sheet: return std::make_unique<SheetView>(view, field);
    case rt::Kind::Tab: return std::make_unique<TabView>(view, field);
    default: return nullptr;
  }
}

}  // namespace qtscreen
