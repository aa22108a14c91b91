#include "platform/qt/window_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/qt/art.h"
#include "platform/qt/desktop_publisher.h"
#include "platform/qt/file_drop.h"
#include "platform/qt/focus_order.h"
#include "platform/qt/pointer_tracker.h"
#include "platform/qt/wait_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/rt/use.h"
#include "platform/rt/user_action.h"
#include "platform/win/system/debug_output.h"

namespace qtscreen {
namespace {

bool IsGeometry(int prop) {
  return prop == PROP::Xpos || prop == PROP::Ypos || prop == PROP::Width || prop == PROP::Height;
}

bool IsListStyle(int prop) {
  return prop == PROP::StyleFontStyle || prop == PROP::StyleFontColor || prop == PROP::ColumnStyle || prop == PROP::CellStyle;
}

bool IsStyle(int prop) {
  return prop == PROP::FontName || prop == PROP::FontSize || prop == PROP::FontStyle || prop == PROP::FontColor ||
         prop == PROP::Color || prop == PROP::Cursor;
}

// A window without a size of its own gets a small, usable one.
constexpr QSize kFallbackSize(320, 200);

// A new pair of geometry values (position or size, in the window's units). Where the screen
// itself put the window (centred, say, or sized when it had no size) is only noted; anything
// else the user did, and the answer says so.
bool ChangedByUser(rt::Window& window, bool fromScreen, int propA, int a, int propB, int b) {
  if (a == window.PropNumber(0, propA) && b == window.PropNumber(0, propB)) return false;
  if (!fromScreen) return true;
  window.NoteFromScreen(0, propA, std::to_string(a));
  window.NoteFromScreen(0, propB, std::to_string(b));
  return false;
}

}  // namespace

WindowView::WindowView(rt::Window& window, QWidget* owner)
    : QWidget(nullptr, window.Def().modal ? Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                                          : Qt::Window),
      window_(window),
      units_(WindowFont(window.Prop(0, PROP::FontName), static_cast<int>(window.PropNumber(0, PROP::FontSize)))) {
  setObjectName(FromUtf8(window.Def().label));
  pixels_ = Pixels();
  if (window.Def().modal) setWindowModality(Qt::ApplicationModal);
  // Owned through the window system only: the owner's widget must not delete this one.
  if (owner) {
    winId();
    windowHandle()->setTransientParent(owner->windowHandle());
  }
  ApplyFont();
  PropertyChanged(0, PROP::Text);
  PropertyChanged(0, PROP::Icon);
  PropertyChanged(0, PROP::Wallpaper);

  for (int field : window.AllFields()) {
    if (auto control = MakeControlView(*this, field)) controls_[field] = std::move(control);
  }
  for (ControlView* control : Controls()) SetUp(*control);
  RefreshStates();
  FocusInScreenOrder();

  applying_ = true;
  ApplyGeometry();
  setVisible(window.Prop(0, PROP::Hide).empty() && !window.Def().hidden);
  // Centred with its frame, which the window system adds once the window is shown.
  if (window.Def().centered) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      PlaceClient(geometry().topLeft() + screen->availableGeometry().center() - frameGeometry().center());
  }
  ApplyWindowState();
  applying_ = false;
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
  pointer_ = std::make_unique<PointerTracker>(*this);
}

WindowView::~WindowView() {
  pointer_.reset();
  controls_.clear();
}

void WindowView::SetUp(ControlView& control) {
  control.ListChanged();
  control.Sync();
  control.ApplyStyle();
  control.Place();
  control.FollowClicks();
  control.ApplyAlerts();
  if (const int taker = FileDropField(window_, control.Field()); taker && control.Widget()) {
    std::vector<QWidget*> targets{control.Widget()};
    if (control.MouseWidget() != control.Widget()) targets.push_back(control.MouseWidget());
    for (QWidget* target : targets) {
      target->setAcceptDrops(true);
      target->installEventFilter(new FileDropFilter(window_, taker, target));
    }
  }
}

void WindowView::ControlCreated(int field) {
  auto control = MakeControlView(*this, field);
  if (!control) return;
  SetUp(*control);
  control->ApplyState();
  if (control->Widget()) control->Widget()->raise();
  controls_[field] = std::move(control);
  FocusInScreenOrder();
}

void WindowView::FocusInScreenOrder() {
  std::vector<QWidget*> widgets;
  for (ControlView* control : Controls()) widgets.push_back(control->Widget());
  FocusInReadingOrder(*this, widgets);
}

ControlView* WindowView::Control(int field) const {
  auto it = controls_.find(field);
  return it == controls_.end() ? nullptr : it->second.get();
}

std::vector<ControlView*> WindowView::Controls() const {
  std::vector<ControlView*> views;
  for (const auto& [field, control] : controls_) views.push_back(control.get());
  return views;
}

bool WindowView::Pixels() const { return !window_.Prop(0, PROP::Pixels).empty(); }

QRect WindowView::ToPixels(long long x, long long y, long long width, long long height) const {
  auto clamp = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -100000, 100000)); };
  if (Pixels()) return QRect(clamp(x), clamp(y), clamp(width), clamp(height));
  return units_.ToPixels(clamp(x), clamp(y), clamp(width), clamp(height));
}

int WindowView::ToUnitsX(int pixels) const { return Pixels() ? pixels : units_.ToUnitsX(pixels); }
int WindowView::ToUnitsY(int pixels) const { return Pixels() ? pixels : units_.ToUnitsY(pixels); }

void WindowView::ApplyFont() {
  const QFont font = WindowFont(window_.Prop(0, PROP::FontName), static_cast<int>(window_.PropNumber(0, PROP::FontSize)));
  setFont(font);
  units_ = DialogUnits(font);
}

void WindowView::ApplyGeometry() {
  const QRect r = ToPixels(window_.PropNumber(0, PROP::Xpos), window_.PropNumber(0, PROP::Ypos),
                           window_.PropNumber(0, PROP::Width), window_.PropNumber(0, PROP::Height));
  const QSize size = r.width() > 0 && r.height() > 0 ? r.size() : kFallbackSize;
  if (window_.Def().resizable) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(size);
  } else {
    setFixedSize(size);
  }
  if (!window_.Def().centered || isVisible()) PlaceClient(r.topLeft());
}

// A window's position is that of its client area, in both directions: the frame's size is
// the window manager's, known only once the window is shown, and may differ from one run to
// the next. (Placed by its frame and read back by its client area, or the other way round,
// a window would creep by its title bar's height on every run.)
void WindowView::PlaceClient(QPoint topLeft) { setGeometry(QRect(topLeft, size())); }

// The Pixels property changes the unit the position and size properties are read and
// written in, not where anything is: the stored values are converted and nothing moves.
void WindowView::ConvertUnits() {
  const bool pixels = Pixels();
  if (pixels == pixels_) return;
  pixels_ = pixels;
  auto convert = [&](int field, int prop, bool across) {
    const long long value = window_.PropNumber(field, prop);
    if (value == 0) return;  // a zero size means "the natural size" in either unit
    const int v = static_cast<int>(std::clamp<long long>(value, -100000, 100000));
    const int converted = pixels ? (across ? units_.ToPixelsX(v) : units_.ToPixelsY(v))
                                 : (across ? units_.ToUnitsX(v) : units_.ToUnitsY(v));
    window_.NoteFromScreen(field, prop, std::to_string(converted));
  };
  std::vector<int> fields = window_.AllFields();
  fields.insert(fields.begin(), 0);
  for (int field : fields) {
    convert(field, PROP::Xpos, true);
    convert(field, PROP::Ypos, false);
    convert(field, PROP::Width, true);
    convert(field, PROP::Height, false);
  }
}

// A modal window is never minimised: hidden, it would leave its owner shown but deaf.
void WindowView::ApplyWindowState() {
  Qt::WindowStates state = windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
  if (!window_.Prop(0, PROP::Maximize).empty()) state |= Qt::WindowMaximized;
  if (!window_.Prop(0, PROP::Iconize).empty() && !window_.Def().modal) state |= Qt::WindowMinimized;
  if (state != windowState()) setWindowState(state);
}

void WindowView::Resync(int field) {
  if (ControlView* control = Control(field)) control->Sync();
  for (int child : window_.Children(field)) {
    if (ControlView* control = Control(child)) control->Sync();
  }
}

void WindowView::RefreshStates() {
  for (ControlView* control : Controls()) control->ApplyState();
}

void WindowView::PropertyChanged(int field, int prop) {
  if (field == 0) {
    applying_ = true;
    switch (prop) {
      case PROP::Text: setWindowTitle(FromUtf8(window_.Prop(0, PROP::Text))); break;
      case PROP::Icon: {
        std::string icon = window_.Prop(0, PROP::Icon);
        if (icon.empty()) icon = rt::SystemText(PROP::AppIcon);
        setWindowIcon(ArtIcon(icon));
        break;
      }
      case PROP::Wallpaper:
        wallpaper_ = ArtImage(window_.Prop(0, PROP::Wallpaper));
        update();
        break;
      case PROP::Color: update(); break;
      case PROP::Pixels: ConvertUnits(); break;
      case PROP::FontName:
      case PROP::FontSize:
      case PROP::FontStyle:
        ApplyFont();
        for (ControlView* control : Controls()) {
          control->ApplyStyle();
          control->Place();
        }
        ApplyGeometry();
        break;
      case PROP::Xpos:
      case PROP::Ypos:
      case PROP::Width:
      case PROP::Height: ApplyGeometry(); break;
      case PROP::Hide:
        setVisible(window_.Prop(0, PROP::Hide).empty() && !window_.Def().hidden);
        RefreshStates();
        break;
      case PROP::Maximize:
      case PROP::Iconize: ApplyWindowState(); break;
      case PROP::Focus: FocusField(static_cast<int>(window_.PropNumber(0, PROP::Focus))); break;
      default: break;
    }
    applying_ = false;
    return;
  }
  ControlView* control = Control(field);
  if (!control) return;
  if (prop == PROP::Hide || prop == PROP::Disable) {
    RefreshStates();
    control->Sync();
  } else if (IsGeometry(prop)) {
    control->Place();
  } else if (IsStyle(prop)) {
    control->ApplyStyle();
  } else if (IsListStyle(prop)) {
    control->StylesChanged();
  } else if (prop == PROP::Alrt) {
    control->ApplyAlerts();
  } else {
    Resync(field);
    if (prop == PROP::Selected && window_.Control(field).kind == rt::Kind::Sheet) RefreshStates();
  }
}

void WindowView::ListChanged(int field) {
  if (ControlView* control = Control(field)) control->ListChanged();
}

void WindowView::FocusField(int field) {
  if (ControlView* control = Control(field)) control->TakeFocus();
}

// The control whose widget is `widget` or holds it (a spin box's text field, say).
ControlView* WindowView::ControlHolding(const QWidget* widget) const {
  if (!widget) return nullptr;
  for (ControlView* control : Controls()) {
    if (control->Widget() && (control->Widget() == widget || control->Widget()->isAncestorOf(widget))) return control;
  }
  return nullptr;
}

void WindowView::CommitFocusedEdit() {
  if (ControlView* control = ControlHolding(focusWidget())) control->Commit();
}

void WindowView::OnFocusChanged(QWidget* now) {
  if (!now || now->window() != this) return;
  if (const ControlView* control = ControlHolding(now)) {
    if (window_.PropNumber(0, PROP::Focus) != control->Field()) rt::user::Focused(window_, control->Field());
  }
}

void WindowView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const long long colour = window_.Prop(0, PROP::Color).empty() ? -1 : window_.PropNumber(0, PROP::Color);
  if (colour >= 0 && colour < 0x80000000LL)
    painter.fillRect(rect(), QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
  // The wallpaper is tiled from the top left corner, as a brush does, but tile by tile: the
  // raster engine copies an image in one piece, while it fills a brush row by row and hands
  // the rows to its thread pool.
  if (wallpaper_.isNull()) return;
  const QRect area = event->rect();
  const int width = wallpaper_.width(), height = wallpaper_.height();
  for (int y = area.top() - area.top() % height; y <= area.bottom(); y += height)
    for (int x = area.left() - area.left() % width; x <= area.right(); x += width) painter.drawImage(x, y, wallpaper_);
}

void WindowView::closeEvent(QCloseEvent* event) {
  // The program decides: the close box only asks, through the window's procedure.
  event->ignore();
  rt::user::Close(window_);
  WaitLoop::Wake();
}

// Enter and Escape that no control took: the dialog keys.
void WindowView::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if (event->modifiers() & ~Qt::KeypadModifier || (!enter && !escape)) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (enter) {
    const std::string refused = rt::user::PressEnter(window_);
    if (!refused.empty()) OutputDebugStringA(("[screen] " + refused + "\n").c_str());
  } else {
    rt::user::PressEscape(window_);
  }
  WaitLoop::Wake();
}

void WindowView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  PublishWindowRect(window_.Frame(), frameGeometry());
  if (!isVisible()) return;
  if (!applying_) ReportWindowState();
  const int x = ToUnitsX(geometry().x()), y = ToUnitsY(geometry().y());
  if (!ChangedByUser(window_, applying_, PROP::Xpos, x, PROP::Ypos, y)) return;
  rt::user::Moved(window_, x, y);
  WaitLoop::Wake();
}

void WindowView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PublishWindowRect(window_.Frame(), frameGeometry());
  if (!isVisible()) return;
  if (!applying_) ReportWindowState();
  const int width = ToUnitsX(this->width()), height = ToUnitsY(this->height());
  if (!ChangedByUser(window_, applying_, PROP::Width, width, PROP::Height, height)) return;
  rt::user::Resized(window_, width, height);
  WaitLoop::Wake();
}

void WindowView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || applying_) return;
  if (isMinimized() && window_.Def().modal) {
    QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~Qt::WindowMinimized); });
    return;
  }
  ReportWindowState();
}

// The runtime hears of a new state before the place and size that come with it, so that a
// maximised window's size is never taken for the one the user gave it.
void WindowView::ReportWindowState() {
  const bool maximized = isMaximized(), minimized = isMinimized() && !window_.Def().modal;
  const bool wasMaximized = !window_.Prop(0, PROP::Maximize).empty(), wasMinimized = !window_.Prop(0, PROP::Iconize).empty();
  if (minimized && !wasMinimized) rt::user::Minimized(window_);
  else if (maximized && !wasMaximized && !minimized) rt::user::Maximized(window_);
  else if (!maximized && !minimized && (wasMaximized || wasMinimized)) rt::user::Restored(window_);
  else return;
  WaitLoop::Wake();
}

}  // namespace qtscreen
