#pragma once
// The control kinds the program's windows use. Inside the screen only.
#include <QButtonGroup>
#include <vector>

#include "platform/qt/control_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeView;

namespace qtscreen {

class EtchedGroup;
class ListModel;

// Buttons and choices (button_views.cpp).
class ButtonView final : public ControlView {
 public:
  ButtonView(WindowView& view, int field);
  void Sync() override;

 private:
  QPushButton* button_;
};

class CheckView final : public ControlView {
 public:
  CheckView(WindowView& view, int field);
  void Sync() override;

 private:
  QCheckBox* box_;
};

// An option frames its radios (with its text as the title when it has one) and keeps them
// exclusive; the radios stand beside it in the window, where their positions put them.
class OptionView final : public ControlView {
 public:
  OptionView(WindowView& view, int field);
  void Sync() override;
  QButtonGroup& Radios() { return radios_; }

 private:
  EtchedGroup* frame_;
  QButtonGroup radios_;
};

class RadioView final : public ControlView {
 public:
  RadioView(WindowView& view, int field);
  void Sync() override;

 private:
  int Position() const;  // among its option's radios, from 1
  QRadioButton* radio_;
};

// Texts and values (text_views.cpp).
class PromptView final : public ControlView {
 public:
  PromptView(WindowView& view, int field);
  void Sync() override;

 private:
  QLabel* label_;
};

class StringView final : public ControlView {
 public:
  StringView(WindowView& view, int field);
  void Sync() override;

 private:
  QLabel* label_;
};

class EntryView final : public ControlView {
 public:
  EntryView(WindowView& view, int field);
  void Sync() override;
  void Commit() override;
  void TakeFocus() override;

 private:
  QLineEdit* edit_;
};

// A text box of several lines (text_box_view.cpp).
class TextView final : public ControlView {
 public:
  TextView(WindowView& view, int field);
  void Sync() override;
  void Commit() override;

 private:
  QPlainTextEdit* edit_;
};

class SpinView final : public ControlView {
 public:
  SpinView(WindowView& view, int field);
  void Sync() override;
  void Commit() override;

 private:
  QSpinBox* spin_;
};

class GroupView final : public ControlView {
 public:
  GroupView(WindowView& view, int field);
  void Sync() override;

 private:
  EtchedGroup* group_;
};

class BoxView final : public ControlView {
 public:
  BoxView(WindowView& view, int field);
};

class ImageView final : public ControlView {
 public:
  ImageView(WindowView& view, int field);
  void Sync() override;

 private:
  QLabel* label_;
};

// A mouse area: nothing to see, but it has a place, a cursor and can be hidden.
class RegionView final : public ControlView {
 public:
  RegionView(WindowView& view, int field);
};

// Lists (list_views.cpp).
class ListView final : public ControlView {
 public:
  ListView(WindowView& view, int field);
  ~ListView() override;
  QWidget* MouseWidget() const override;
  void Sync() override;
  void ListChanged() override;
  void StylesChanged() override;
  bool ListPartAt(QPoint inWindow, rt::Pointer& at) const override;

 private:
  void ApplyColumns();
  // The user dragged a header: the runtime moves the column, and the header shows the
  // runtime's order again (the format is the one order of the columns).
  void ColumnDragged(int fromVisual, int toVisual);
  QTreeView* tree_;
  ListModel* model_;
};

class DropListView final : public ControlView {
 public:
  DropListView(WindowView& view, int field);
  void Sync() override;
  void ListChanged() override;

 private:
  QComboBox* combo_;
};

// Sheets and their tabs (sheet_views.cpp). The sheet draws the tab bar and the page frame;
// the tabs' controls stand above it in the window and show while their tab is chosen.
class SheetView final : public ControlView {
 public:
  SheetView(WindowView& view, int field);
  void Sync() override;

 private:
  void ChosenByUser(int index);
  // The first control of the tab at `index` that can take the focus, shown; null when none.
  QWidget* FirstFocusable(int index) const;

  QTabWidget* tabs_;
};

class TabView final : public ControlView {
 public:
  TabView(WindowView& view, int field);
  void Sync() override;
};

}  // namespace qtscreen
