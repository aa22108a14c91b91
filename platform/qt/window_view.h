#pragma once
// A runtime window as a top-level Qt widget: caption, icon, font, tiled wallpaper, size in
// dialog units, centring, resizing, and one ControlView per control. The user's moves,
// resizes, focus changes and the close box go back to the runtime through rt::user.
#include <QImage>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/qt/dialog_units.h"
#include "platform/rt/window.h"

namespace qtscreen {

class PointerTracker;

class WindowView : public QWidget {
  Q_OBJECT

 public:
  // A modal window belongs to `owner`, the window that opened it: a dialog to the window
  // manager, kept above its owner, without a minimise button.
  explicit WindowView(rt::Window& window, QWidget* owner = nullptr);
  ~WindowView() override;

  rt::Window& Runtime() const { return window_; }
  const DialogUnits& Units() const { return units_; }
  ControlView* Control(int field) const;
  // Every control view, in stacking order (defined fields, then created ones).
  std::vector<ControlView*> Controls() const;
  // Positions and sizes in the window's units (dialog units, or pixels for a window whose
  // Pixels property is on) to pixels.
  QRect ToPixels(long long x, long long y, long long width, long long height) const;

  // The program created a control while the window is open.
  void ControlCreated(int field);
  // A point of the window, in pixels, in the window's units.
  QPoint ToUnits(QPoint pixels) const { return {ToUnitsX(pixels.x()), ToUnitsY(pixels.y())}; }
  void PropertyChanged(int field, int prop);
  void ListChanged(int field);
  // Shows the field and the controls inside it as the runtime holds them.
  void Resync(int field);
  // The focused control gives the runtime what the user typed into it and did not yet give.
  void CommitFocusedEdit();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetUp(ControlView& control);
  // Tab goes through the controls as the screen shows them, not as they were declared.
  void FocusInScreenOrder();
  void ApplyFont();
  void ApplyGeometry();
  void PlaceClient(QPoint topLeft);
  void ApplyWindowState();
  void ReportWindowState();
  void ConvertUnits();
  void RefreshStates();
  void FocusField(int field);
  ControlView* ControlHolding(const QWidget* widget) const;
  void OnFocusChanged(QWidget* now);
  int ToUnitsX(int pixels) const;
  int ToUnitsY(int pixels) const;
  bool Pixels() const;

  rt::Window& window_;
  DialogUnits units_;
  QImage wallpaper_;
  std::map<int, std::unique_ptr<ControlView>> controls_;  // by field; kinds not drawn have none
  std::unique_ptr<PointerTracker> pointer_;
  bool applying_ = false;  // geometry set from the runtime, not by the user
  bool pixels_ = false;    // the unit the geometry properties hold now
};

}  // namespace qtscreen
