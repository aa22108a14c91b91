#include "toolkit/message_names.h"

#include <algorithm>
#include <iterator>

#include "toolkit/error_state.h"
#include "toolkit/toolkit_lock.h"

namespace hw {
std::vector<WM_QRow> WM_Q;
}

namespace {

constexpr size_t kNameLimit = 25;

struct NamedMessage {
  const char* name;
  LONG number;
};

// In order of number; 0x100 has two names.
constexpr NamedMessage kMessages[] = {
      {"HW::WM_NULL", 0x000},
      {"HW::WM_CREATE", 0x001},
      {"HW::WM_DESTROY", 0x002},
      {"HW::WM_MOVE", 0x003},
      {"HW::WM_SIZE", 0x005},
      {"HW::WM_ACTIVATE", 0x006},
      {"HW::WM_SETFOCUS", 0x007},
      {"HW::WM_KILLFOCUS", 0x008},
      {"HW::WM_ENABLE", 0x00A},
      {"HW::WM_SETREDRAW", 0x00B},
      {"HW::WM_SETTEXT", 0x00C},
      {"HW::WM_GETTEXT", 0x00D},
      {"HW::WM_GETTEXTLENGTH", 0x00E},
      {"HW::WM_PAINT", 0x00F},
      {"HW::WM_CLOSE", 0x010},
      {"HW::WM_QUERYENDSESSION", 0x011},
      {"HW::WM_QUIT", 0x012},
      {"HW::WM_QUERYOPEN", 0x013},
      {"HW::WM_ERASEBKGND", 0x014},
      {"HW::WM_SYSCOLORCHANGE", 0x015},
      {"HW::WM_ENDSESSION", 0x016},
      {"HW::WM_SYSTEMERROR", 0x017},
      {"HW::WM_SHOWWINDOW", 0x018},
      {"HW::WM_CTLCOLOR", 0x019},
      {"HW::WM_WININICHANGE", 0x01A},
      {"HW::WM_DEVMODECHANGE", 0x01B},
      {"HW::WM_ACTIVATEAPP", 0x01C},
      {"HW::WM_FONTCHANGE", 0x01D},
      {"HW::WM_TIMECHANGE", 0x01E},
      {"HW::WM_CANCELMODE", 0x01F},
      {"HW::WM_SETCURSOR", 0x020},
      {"HW::WM_MOUSEACTIVATE", 0x021},
      {"HW::WM_CHILDACTIVATE", 0x022},
      {"HW::WM_QUEUESYNC", 0x023},
      {"HW::WM_GETMINMAXINFO", 0x024},
      {"HW::WM_ICONERASEBKGND", 0x027},
      {"HW::WM_NEXTDLGCTL", 0x028},
      {"HW::WM_SPOOLERSTATUS", 0x02A},
      {"HW::WM_DRAWITEM", 0x02B},
      {"HW::WM_MEASUREITEM", 0x02C},
      {"HW::WM_DELETEITEM", 0x02D},
      {"HW::WM_VKEYTOITEM", 0x02E},
      {"HW::WM_CHARTOITEM", 0x02F},
      {"HW::WM_SETFONT", 0x030},
      {"HW::WM_GETFONT", 0x031},
      {"HW::WM_QUERYDRAGICON", 0x037},
      {"HW::WM_COMPAREITEM", 0x039},
      {"HW::WM_COMPACTING", 0x041},
      {"HW::WM_COMMNOTIFY", 0x044},
      {"HW::WM_WINDOWPOSCHANGING", 0x046},
      {"HW::WM_WINDOWPOSCHANGED", 0x047},
      {"HW::WM_POWER", 0x048},
      {"HW::WM_NOTIFY", 0x04E},
      {"HW::WM_INPUTLANGCHANGEREQUEST", 0x050},
      {"HW::WM_INPUTLANGCHANGE", 0x051},
      {"HW::WM_TCARD", 0x052},
      {"HW::WM_HELP", 0x053},
      {"HW::WM_USERCHANGED", 0x054},
      {"HW::WM_NOTIFYFORMAT", 0x055},
      {"HW::WM_CONTEXTMENU", 0x07B},
      {"HW::WM_STYLECHANGING", 0x07C},
      {"HW::WM_STYLECHANGED", 0x07D},
      {"HW::WM_DISPLAYCHANGE", 0x07E},
      {"HW::WM_GETICON", 0x07F},
      {"HW::WM_SETICON", 0x080},
      {"HW::WM_NCCREATE", 0x081},
      {"HW::WM_NCDESTROY", 0x082},
      {"HW::WM_NCCALCSIZE", 0x083},
      {"HW::WM_NCHITTEST", 0x084},
      {"HW::WM_NCPAINT", 0x085},
      {"HW::WM_NCACTIVATE", 0x086},
      {"HW::WM_GETDLGCODE", 0x087},
      {"HW::WM_SYNCPAINT", 0x088},
      {"HW::WM_NCMOUSEMOVE", 0x0A0},
      {"HW::WM_NCLBUTTONDOWN", 0x0A1},
      {"HW::WM_NCLBUTTONUP", 0x0A2},
      {"HW::WM_NCLBUTTONDBLCLK", 0x0A3},
      {"HW::WM_NCRBUTTONDOWN", 0x0A4},
      {"HW::WM_NCRBUTTONUP", 0x0A5},
      {"HW::WM_NCRBUTTONDBLCLK", 0x0A6},
      {"HW::WM_NCMBUTTONDOWN", 0x0A7},
      {"HW::WM_NCMBUTTONUP", 0x0A8},
      {"HW::WM_NCMBUTTONDBLCLK", 0x0A9},
      {"HW::WM_KEYDOWN", 0x100},
      {"HW::WM_KEYFIRST", 0x100},
      {"HW::WM_KEYUP", 0x101},
      {"HW::WM_CHAR", 0x102},
      {"HW::WM_DEADCHAR", 0x103},
      {"HW::WM_SYSKEYDOWN", 0x104},
      {"HW::WM_SYSKEYUP", 0x105},
      {"HW::WM_SYSCHAR", 0x106},
      {"HW::WM_SYSDEADCHAR", 0x107},
      {"HW::WM_KEYLAST", 0x108},
      {"HW::WM_INITDIALOG", 0x110},
      {"HW::WM_COMMAND", 0x111},
      {"HW::WM_SYSCOMMAND", 0x112},
      {"HW::WM_TIMER", 0x113},
      {"HW::WM_HSCROLL", 0x114},
      {"HW::WM_VSCROLL", 0x115},
      {"HW::WM_INITMENU", 0x116},
      {"HW::WM_INITMENUPOPUP", 0x117},
      {"HW::WM_MENUSELECT", 0x11F},
      {"HW::WM_MENUCHAR", 0x120},
      {"HW::WM_ENTERIDLE", 0x121},
      {"HW::WM_UNINITMENUPOPUP", 0x125},
      {"HW::WM_CTLCOLORMSGBOX", 0x132},
      {"HW::WM_CTLCOLOREDIT", 0x133},
      {"HW::WM_CTLCOLORLISTBOX", 0x134},
      {"HW::WM_CTLCOLORBTN", 0x135},
      {"HW::WM_CTLCOLORDLG", 0x136},
      {"HW::WM_CTLCOLORSCROLLBAR", 0x137},
      {"HW::WM_CTLCOLORSTATIC", 0x138},
      {"HW::WM_MOUSEMOVE", 0x200},
      {"HW::WM_LBUTTONDOWN", 0x201},
      {"HW::WM_LBUTTONUP", 0x202},
      {"HW::WM_LBUTTONDBLCLK", 0x203},
      {"HW::WM_RBUTTONDOWN", 0x204},
      {"HW::WM_RBUTTONUP", 0x205},
      {"HW::WM_RBUTTONDBLCLK", 0x206},
      {"HW::WM_MBUTTONDOWN", 0x207},
      {"HW::WM_MBUTTONUP", 0x208},
      {"HW::WM_MBUTTONDBLCLK", 0x209},
      {"HW::WM_MOUSEWHEEL", 0x20A},
      {"HW::WM_PARENTNOTIFY", 0x210},
      {"HW::WM_ENTERMENULOOP", 0x211},
      {"HW::WM_EXITMENULOOP", 0x212},
      {"HW::WM_NEXTMENU", 0x213},
      {"HW::WM_SIZING", 0x214},
      {"HW::WM_CAPTURECHANGED", 0x215},
      {"HW::WM_MOVING", 0x216},
      {"HW::WM_POWERBROADCAST", 0x218},
      {"HW::WM_DEVICECHANGE", 0x219},
      {"HW::WM_MDICREATE", 0x220},
      {"HW::WM_MDIDESTROY", 0x221},
      {"HW::WM_MDIACTIVATE", 0x222},
      {"HW::WM_MDIRESTORE", 0x223},
      {"HW::WM_MDINEXT", 0x224},
      {"HW::WM_MDIMAXIMIZE", 0x225},
      {"HW::WM_MDITILE", 0x226},
      {"HW::WM_MDICASCADE", 0x227},
      {"HW::WM_MDIICONARRANGE", 0x228},
      {"HW::WM_MDIGETACTIVE", 0x229},
      {"HW::WM_MDISETMENU", 0x230},
      {"HW::WM_ENTERSIZEMOVE", 0x231},
      {"HW::WM_EXITSIZEMOVE", 0x232},
      {"HW::WM_DROPFILES", 0x233},
      {"HW::WM_NCMOUSEHOVER", 0x2A0},
      {"HW::WM_MOUSEHOVER", 0x2A1},
      {"HW::WM_NCMOUSELEAVE", 0x2A2},
      {"HW::WM_MOUSELEAVE", 0x2A3},
      {"HW::WM_WTSSESSION_CHANGE", 0x2B1},
      {"HW::WM_TABLET_FIRST", 0x2C0},
      {"HW::WM_TABLET_LAST", 0x2DF},
      {"HW::WM_CUT", 0x300},
      {"HW::WM_COPY", 0x301},
      {"HW::WM_PASTE", 0x302},
      {"HW::WM_CLEAR", 0x303},
      {"HW::WM_UNDO", 0x304},
      {"HW::WM_RENDERFORMAT", 0x305},
      {"HW::WM_RENDERALLFORMATS", 0x306},
      {"HW::WM_DESTROYCLIPBOARD", 0x307},
      {"HW::WM_DRAWCLIPBOARD", 0x308},
      {"HW::WM_PAINTCLIPBOARD", 0x309},
      {"HW::WM_VSCROLLCLIPBOARD", 0x30A},
      {"HW::WM_SIZECLIPBOARD", 0x30B},
      {"HW::WM_ASKCBFORMATNAME", 0x30C},
      {"HW::WM_CHANGECBCHAIN", 0x30D},
      {"HW::WM_HSCROLLCLIPBOARD", 0x30E},
      {"HW::WM_QUERYNEWPALETTE", 0x30F},
      {"HW::WM_PALETTEISCHANGING", 0x310},
      {"HW::WM_PALETTECHANGED", 0x311},
      {"HW::WM_HOTKEY", 0x312},
      {"HW::WM_PRINT", 0x317},
      {"HW::WM_PRINTCLIENT", 0x318},
      {"HW::WM_THEMECHANGED", 0x31A},
      {"HW::WM_HANDHELDFIRST", 0x358},
      {"HW::WM_HANDHELDLAST", 0x35F},
      {"HW::WM_AFXFIRST", 0x360},
      {"HW::WM_AFXLAST", 0x37F},
      {"HW::WM_PENWINFIRST", 0x380},
      {"HW::WM_PENWINLAST", 0x38F},
      {"HW::WM_COALESCE_FIRST", 0x390},
      {"HW::WM_COALESCE_LAST", 0x39F},
};

void SortByNumber() {
  std::stable_sort(hw::WM_Q.begin(), hw::WM_Q.end(), [](const auto& a, const auto& b) { return a.M < b.M; });
}

// Built for a look-up without touching the error state: the look-up runs inside other
// toolkit procedures, whose errors must keep their own procedure name.
void BuildQuietly() {
  for (const auto& message : kMessages) {
    hw::WM_Q.push_back(hw::WM_QRow{std::string(message.name).substr(0, kNameLimit), message.number});
  }
  SortByNumber();
}

}  // namespace

void kx_AddQ(std::string_view T, LONG M) {
  kx_ErrorReset("kx_AddQ");
  ToolkitLockHold hold;
  hw::WM_Q.push_back(hw::WM_QRow{std::string(T.substr(0, kNameLimit)), M});
}

void kx_BuildWMQ() {
  kx_ErrorReset("kx_BuildWMQ");
  ToolkitLockHold hold;
  hw::WM_Q.clear();
  for (const auto& message : kMessages) kx_AddQ(message.name, message.number);
  SortByNumber();
}

std::optional<std::string> kx_MessageName(LONG message) {
  ToolkitLockHold hold;
  if (hw::WM_Q.empty()) BuildQuietly();
  auto it = std::lower_bound(hw::WM_Q.begin(), hw::WM_Q.end(), message,
                             [](const hw::WM_QRow& row, LONG number) { return row.M < number; });
  if (it == hw::WM_Q.end() || it->M != message) return std::nullopt;
  return it->T;
}
