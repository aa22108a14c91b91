#include "platform/rt/display.h"

#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"

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
void DISABLE(int field) { rt::SetProp(field, PROP::Disable, 1LL); }
void ENABLE(int field) { rt::SetProp(field, PROP::Disable, 0LL); }

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
}  // namespace rt
