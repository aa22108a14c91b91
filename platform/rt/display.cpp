#include "platform/rt/display.h"

#include "platform/rt/error_code.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "platform/rt/thread_state.h"

namespace {
rt::Window* Target() { return rt::TargetWindow(); }
}  // namespace

void DISPLAY(int field) {
  if (auto* w = Target()) w->Display(field);
}

void UPDATE(int field) {
  if (auto* w = Target()) w->Update(field);
}

void SELECT(int field, int choice) {
  rt::Window* w = Target();
  if (w == nullptr || !w->IsField(field)) return;
  // The control the focus comes to hears of it, as when the user moves it there.
  if (w->PropNumber(0, PROP::Focus) != field) rt::detail::PostToWindow(*w, EVENT::Selected, field);
  w->SetProp(0, PROP::Focus, field);
  if (choice != 0) w->SetChoice(field, choice);
}

int CHOICE(int field) {
  rt::Window* w = Target();
  if (w == nullptr) return 0;
  return w->Choice(field == 0 ? FOCUS() : field);
}

int FOCUS() {
  rt::Window* w = Target();
  return w ? static_cast<int>(w->PropNumber(0, PROP::Focus)) : 0;
}

void HIDE(int field) { rt::SetProp(field, PROP::Hide, 1LL); }
void UNHIDE(int field) { rt::SetProp(field, PROP::Hide, 0LL); }

int CREATE(int field, rt::Kind kind, int parent) {
  rt::Window* w = Target();
  const bool created = w != nullptr && w->CreateControl(field, kind, parent);
  rt::SetErrorCode(created ? 0 : ERRORS::ControlNotCreated);
  return created ? field : 0;
}

int MOUSEX() {
  rt::Window* w = Target();
  return w && w->PointerNow().inside ? w->PointerNow().x : -1;
}

int MOUSEY() {
  rt::Window* w = Target();
  return w && w->PointerNow().inside ? w->PointerNow().y : -1;
}

namespace rt {
std::string GetProp(int field, int prop, int index) {
  Window* w = Target();
  return w ? w->Prop(field, prop, index) : std::string();
}
long long GetPropNumber(int field, int prop, int index) {
  Window* w = Target();
  return w ? w->PropNumber(field, prop, index) : 0;
}
void SetProp(int field, int prop, std::string_view value, int index) {
  if (Window* w = Target()) w->SetProp(field, prop, value, index);
}
void SetProp(int field, int prop, long long value, int index) {
  if (Window* w = Target()) w->SetProp(field, prop, value, index);
}
int CellStyle(int field, int row, int column) {
  Window* w = Target();
  return w && row > 0 ? w->CellStyle(field, static_cast<std::size_t>(row), column) : 0;
}
void SetCellStyle(int field, int row, int column, int style) {
  if (Window* w = Target(); w && row > 0) w->SetCellStyle(field, static_cast<std::size_t>(row), column, style);
}
}  // namespace rt
