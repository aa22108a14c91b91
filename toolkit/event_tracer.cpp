#include "toolkit/event_tracer.h"

#include <optional>
#include <span>

#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/window.h"
#include "toolkit/alert_state.h"
#include "toolkit/clip.h"
#include "toolkit/debug_output.h"
#include "toolkit/message_alerts.h"
#include "toolkit/stack_check.h"
#include "toolkit/tracing.h"

namespace {

constexpr std::size_t kWindowLimit = 40;
constexpr std::size_t kTextLimit = 255;
constexpr int kPropVScrollPos = 0x7C9E;
constexpr LONG kTrayCallbackLast = KX_EVENT_TRAY_CALLBACK + 100;
constexpr LONG kUserFirst = 1024;
constexpr LONG kUserLast = 4095;

thread_local LONG tLastEvent = 0;

struct EventName {
  LONG event;
  const char* name;
};

// Field events whose name needs nothing from the runtime.
constexpr EventName kFieldEvents[] = {
    {0x01, "Accepted or MouseDown"}, {0x03, "ScrollUp"}, {0x04, "ScrollDown"}, {0x05, "PageUp"},
    {0x06, "PageDown"}, {0x07, "ScrollTop"}, {0x08, "ScrollBottom"}, {0x09, "Locate"}, {0x0A, "MouseUp"},
    {0x0B, "MouseIn"}, {0x0C, "MouseOut"}, {0x0D, "MouseMove"}, {0x11, "Dragging"}, {0x12, "Drag"},
    {0x13, "Drop"}, {0x14, "ScrollDrag"}, {0x16, "Expanding"}, {0x17, "Contracting"}, {0x18, "Expanded"},
    {0x19, "Contracted"}, {0x1A, "Rejected"}, {0x1B, "DroppingDown"}, {0x1C, "DroppedDown"},
    {0x1E, "ColumnResize"}, {0x101, "Selected"}, {0x102, "Selecting"},
    {7780, "Tipquill Message, \"Whats This\" selected"},
};

// Window events and the toolkit's fixed events: the name follows the caller's text.
constexpr EventName kNamedEvents[] = {
    {0x201, " CloseWindow"}, {0x202, " CloseDown"}, {0x203, " OpenWindow"}, {0x204, " OpenFailed"},
    {0x205, " LoseFocus"}, {0x206, " GainFocus"}, {0x208, " Suspend"}, {0x209, " Resume"}, {0x20B, " Timer"},
    {0x20C, " DDErequest"}, {0x20D, " DDEadvise"}, {0x20E, " DDEdata"}, {0x20F, " DDEcommand"},
    {0x210, " DDEpoke"}, {0x211, " DDEclosed"}, {0x220, " Move "}, {0x221, " Size"}, {0x222, " Restore"},
    {0x223, " Maximize"}, {0x224, " Iconize"}, {0x225, " Completed"}, {0x230, " Moved"}, {0x231, " Sized"},
    {0x232, " Restored"}, {0x233, " Maximized"}, {0x234, " Iconized"}, {0x235, " Docked"},
    {0x236, " Undocked"}, {0x240, " BuildFile"}, {0x241, " BuildKey"}, {0x242, " BuildDone"},
    {6781, " Hookwatch Message, HW::WM_TaskbarRestart, Reload icons!"},
    {KX_EVENT_QUERYENDSESSION, " Hookwatch Message, HW::WM_QueryEndSession"},
    {KX_EVENT_ENDSESSION_ABORTED, " Hookwatch Message, HW::WM_EndSession Aborted"},
    {KX_EVENT_ENDSESSION_NOW, " Hookwatch Message, HW::WM_EndSession Now!"},
    {6787, " Hookwatch Message, SERVICE_CONTROL_SHUTDOWN"},
    {6790, " Hookwatch Message, Taskbar load icon"},
    {6792, " Hookwatch Message, Taskbar mouse move"},
    {6793, " Hookwatch Message, Taskbar mouseleft down"},
    {6794, " Hookwatch Message, Taskbar mouseleft up"},
    {6795, " Hookwatch Message, Taskbar double left click"},
    {6796, " Hookwatch Message, Taskbar mouseright down"},
    {6797, " Hookwatch Message, Taskbar mouseright up"},
    {6881, " Hookwatch Message, Comms Transmit Buffer Empty"},
    {6882, " Hookwatch Message, Comms Character(s) Received"},
    {6883, " Hookwatch Message, Comms Handshaking lines changed"},
    {7306, " Hookwatch Message, Taskbar balloon opened"},
    {7307, " Hookwatch Message, Taskbar balloon closed"},
    {7308, " Hookwatch Message, Taskbar balloon timeout, closed"},
};

// Names of the mouse messages 200h-209h for the alerted-message event.
constexpr const char* kMouseMessages[] = {
    "HW::WM_MOUSEMOVE",   "HW::WM_LBUTTONDOWN",   "HW::WM_LBUTTONUP",   "HW::WM_LBUTTONDBLCLK", "HW::WM_RBUTTONDOWN",
    "HW::WM_RBUTTONUP",   "HW::WM_RBUTTONDBLCLK", "HW::WM_MBUTTONDOWN", "HW::WM_MBUTTONUP",     "HW::WM_MBUTTONDBLCLK",
};

const char* NameOf(std::span<const EventName> table, LONG event) {
  for (const auto& [number, name] : table) {
    if (number == event) return name;
  }
  return nullptr;
}

// The runtime's FIELDNAME: the control's equate on the target window.
std::string FieldName(LONG field) {
  rt::Window* window = rt::TargetWindow();
  if (window == nullptr || !window->IsField(field)) return {};
  return "?" + window->Control(field).equate;
}

std::optional<std::string> FieldEventText(std::string_view Text1, LONG event, LONG field) {
  if (const char* name = NameOf(kFieldEvents, event)) return KX_ADDFIELDEQUATE(Text1, name, field);
  switch (event) {
    case 0x02: return KX_ADDFIELDEQUATE(Text1, "NewSelection, Choice()=" + std::to_string(CHOICE()), field);
    case 0x0F: return KX_ADDFIELDEQUATE(Text1, "AlertKey, keycode()=" + std::to_string(KEYCODE()), field);
    case 0x10: return KX_ADDFIELDEQUATE(Text1, "PreAlertKey, keycode()=" + std::to_string(KEYCODE()), field);
    case 0x15: return KX_ADDFIELDEQUATE(Text1, "TabChanging Choice()=" + std::to_string(CHOICE()), field);
    case 0x1D:
      return KX_ADDFIELDEQUATE(
          Text1, "ScrollTrack, field2{prop:vscrollpos}=" + std::to_string(rt::GetPropNumber(field, kPropVScrollPos)),
          field);
    default: return std::nullopt;
  }
}

// The toolkit events that show the message slots, read as they stand: tracing must not
// clear them nor reset the error state, as WinSysEvent and WinWtsEvent would.
std::optional<std::string> SlotEventText(std::string_view Text1, LONG event) {
  const hw::AlertState& slots = hw::ThreadAlerts();
  std::string text(Clip(Text1));
  if (event == KX_EVENT_BASE) {
    LONG message = slots.VHOOKWATCH;
    if (message >= 0x200 && message <= 0x209) {
      return text.append(" Hookwatch Message, Hookwatch()=").append(kMouseMessages[static_cast<std::size_t>(message - 0x200)]);
    }
    return text.append(" Hookwatch Message Hookwatch()=").append(std::to_string(message));
  }
  if (event == KX_EVENT_SYSCOMMAND) {
    return text.append(" Hookwatch Message, HW::WM_SysCommand, WinSysEvent()=").append(std::to_string(slots.VWINSYSEVENT));
  }
  if (event == KX_EVENT_SESSION_CHANGE) {
    return text.append(" Hookwatch Message, HW::WM_WTSSESSION_CHANGE, WinWtsEvent()=")
        .append(std::to_string(slots.VWTSEVENT))
        .append(", WinWtsID()=")
        .append(std::to_string(slots.VWTSID));
  }
  if (event >= KX_EVENT_TRAY_CALLBACK && event <= kTrayCallbackLast) {
    return text.append(" Hookwatch Message, TaskbarCallBack, Hookwatch()=").append(std::to_string(slots.VHOOKWATCH));
  }
  return std::nullopt;
}

std::string ComposeText(std::string_view Text1, LONG event, LONG field) {
  if (auto text = FieldEventText(Text1, event, field)) return *text;
  if (const char* name = NameOf(kNamedEvents, event)) return std::string(Clip(Text1)).append(name);
  if (auto text = SlotEventText(Text1, event)) return *text;
  if (event >= kUserFirst && event <= kUserLast) {
    return std::string(Clip(Text1)).append("EVENT:User ").append(std::to_string(event - kUserFirst));
  }
  return std::string(Text1);
}

}  // namespace

void kx_Debug(std::string_view Window1, LONG Event1, LONG Field1, std::string_view Text1) {
  if (!kx_Tracing()) return;
  std::string window(Window1.substr(0, kWindowLimit));
  std::string text = ComposeText(Text1, Event1, Field1).substr(0, kTextLimit);
  std::string line(Clip(window));
  line.append(" ");
  if (Event1 != 0) line.append(std::to_string(Event1)).append(" ");
  line.append(Clip(text));
  kx_OutputDebugString(line, 1);

  SaveStackHook();
  tLastEvent = Event1;
  TestStackHook();
}

void kx_Debug(std::string_view Text1) { kx_Debug({}, 0, 0, Text1); }

std::string KX_ADDFIELDEQUATE(std::string_view Text1, std::string_view Desc, LONG Field2) {
  std::string text(Clip(Text1));
  text.append(" ").append(Clip(Desc)).append(", Field()=").append(std::to_string(Field2));
  return text.append(" ").append(FieldName(Field2));
}

LONG kx_LastDebugEvent() { return tLastEvent; }
