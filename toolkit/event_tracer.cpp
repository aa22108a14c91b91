#include "toolkit/event_tracer.h"

#include <array>
#include <optional>
#include <utility>

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
constexpr LONG kTipquillEvent = 7780;
constexpr LONG kTrayCallbackFirst = 6280;
constexpr LONG kTrayCallbackLast = 6380;
constexpr LONG kUserFirst = 1024;
constexpr LONG kUserLast = 4095;

thread_local LONG tLastEvent = 0;

using EventName = std::pair<LONG, const char*>;

// Field events whose name needs nothing from the runtime.
constexpr std::array kFieldEvents = {
    EventName{0x01, "Accepted or MouseDown"}, EventName{0x03, "ScrollUp"}, EventName{0x04, "ScrollDown"},
    EventName{0x05, "PageUp"}, EventName{0x06, "PageDown"}, EventName{0x07, "ScrollTop"},
    EventName{0x08, "ScrollBottom"}, EventName{0x09, "Locate"}, EventName{0x0A, "MouseUp"},
    EventName{0x0B, "MouseIn"}, EventName{0x0C, "MouseOut"}, EventName{0x0D, "MouseMove"},
    EventName{0x11, "Dragging"}, EventName{0x12, "Drag"}, EventName{0x13, "Drop"},
    EventName{0x14, "ScrollDrag"}, EventName{0x16, "Expanding"}, EventName{0x17, "Contracting"},
    EventName{0x18, "Expanded"}, EventName{0x19, "Contracted"}, EventName{0x1A, "Rejected"},
    EventName{0x1B, "DroppingDown"}, EventName{0x1C, "DroppedDown"}, EventName{0x1E, "ColumnResize"},
    EventName{0x101, "Selected"}, EventName{0x102, "Selecting"},
    EventName{kTipquillEvent, "Tipquill Message, \"Whats This\" selected"},
};

// Window events and the toolkit's fixed events: the name follows the caller's text.
constexpr std::array kNamedEvents = {
    EventName{0x201, " CloseWindow"}, EventName{0x202, " CloseDown"}, EventName{0x203, " OpenWindow"},
    EventName{0x204, " OpenFailed"}, EventName{0x205, " LoseFocus"}, EventName{0x206, " GainFocus"},
    EventName{0x208, " Suspend"}, EventName{0x209, " Resume"}, EventName{0x20B, " Timer"},
    EventName{0x20C, " DDErequest"}, EventName{0x20D, " DDEadvise"}, EventName{0x20E, " DDEdata"},
    EventName{0x20F, " DDEcommand"}, EventName{0x210, " DDEpoke"}, EventName{0x211, " DDEclosed"},
    EventName{0x220, " Move "}, EventName{0x221, " Size"}, EventName{0x222, " Restore"},
    EventName{0x223, " Maximize"}, EventName{0x224, " Iconize"}, EventName{0x225, " Completed"},
    EventName{0x230, " Moved"}, EventName{0x231, " Sized"}, EventName{0x232, " Restored"},
    EventName{0x233, " Maximized"}, EventName{0x234, " Iconized"}, EventName{0x235, " Docked"},
    EventName{0x236, " Undocked"}, EventName{0x240, " BuildFile"}, EventName{0x241, " BuildKey"},
    EventName{0x242, " BuildDone"},
    EventName{6781, " Hookwatch Message, HW::WM_TaskbarRestart, Reload icons!"},
    EventName{6783, " Hookwatch Message, HW::WM_QueryEndSession"},
    EventName{6784, " Hookwatch Message, HW::WM_EndSession Aborted"},
    EventName{6785, " Hookwatch Message, HW::WM_EndSession Now!"},
    EventName{6787, " Hookwatch Message, SERVICE_CONTROL_SHUTDOWN"},
    EventName{6790, " Hookwatch Message, Taskbar load icon"},
    EventName{6792, " Hookwatch Message, Taskbar mouse move"},
    EventName{6793, " Hookwatch Message, Taskbar mouseleft down"},
    EventName{6794, " Hookwatch Message, Taskbar mouseleft up"},
    EventName{6795, " Hookwatch Message, Taskbar double left click"},
    EventName{6796, " Hookwatch Message, Taskbar mouseright down"},
    EventName{6797, " Hookwatch Message, Taskbar mouseright up"},
    EventName{6881, " Hookwatch Message, Comms Transmit Buffer Empty"},
    EventName{6882, " Hookwatch Message, Comms Character(s) Received"},
    EventName{6883, " Hookwatch Message, Comms Handshaking lines changed"},
    EventName{7306, " Hookwatch Message, Taskbar balloon opened"},
    EventName{7307, " Hookwatch Message, Taskbar balloon closed"},
    EventName{7308, " Hookwatch Message, Taskbar balloon timeout, closed"},
};

// Names of the mouse messages 200h-209h for the alerted-message event.
constexpr std::array<const char*, 10> kMouseMessages = {
    "HW::WM_MOUSEMOVE",   "HW::WM_LBUTTONDOWN", "HW::WM_LBUTTONUP",   "HW::WM_LBUTTONDBLCLK", "HW::WM_RBUTTONDOWN",
    "HW::WM_RBUTTONUP",   "HW::WM_RBUTTONDBLCLK", "HW::WM_MBUTTONDOWN", "HW::WM_MBUTTONUP",     "HW::WM_MBUTTONDBLCLK",
};

template <std::size_t N>
const char* NameOf(const std::array<EventName, N>& table, LONG event) {
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
  if (event >= kTrayCallbackFirst && event <= kTrayCallbackLast) {
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
