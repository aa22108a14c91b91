// The link object's set-up and its links: Init, AddItem, AddString, SetActive,
// SetControlProperties and the trace switch.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "links/link_controls.h"
#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/rt/error_code.h"
#include "platform/rt/props.h"
#include "platform/win/system/debug_output.h"
#include "platform/win/system/registry.h"
#include "platform/win/system/windows_directory.h"

using namespace links;

namespace {

constexpr size_t kDebugLineLimit = 1023;
constexpr int kAlertSlots = 255;

// Alert slots: an empty slot reads 0.
void AddAlertKey(LONG control, LONG key) {
  for (int slot = 1; slot <= kAlertSlots; ++slot) {
    if (Number(control, PROP::Alrt, slot) == 0) Set(control, PROP::Alrt, key, slot);
    if (Number(control, PROP::Alrt, slot) == key) return;
  }
}

void RemoveAlertKey(LONG control, LONG key) {
  for (int slot = 1; slot <= kAlertSlots; ++slot) {
    if (Number(control, PROP::Alrt, slot) == key) Set(control, PROP::Alrt, 0LL, slot);
    if (Number(control, PROP::Alrt, slot) == 0) return;
  }
}

}  // namespace


LONG vrLinkbrightClass::QueryClassesRoot(const std::string& subKey, std::string& into) {
  RegQueryHandle = static_cast<LONG>(static_cast<ULONG>(reinterpret_cast<std::uintptr_t>(HKEY_CLASSES_ROOT)));
  RegSubkeyName = Fit(subKey, kUrlWidth);
  RegBufferSize = 200;
  std::string value(static_cast<size_t>(RegBufferSize), '\0');
  LONG size = RegBufferSize;
  LONG result = RegQueryValueA(HKEY_CLASSES_ROOT, RegSubkeyName.c_str(), value.data(), &size);
  // Sandboxed browsers and mail programs have commands of 200 characters and more: a value
  // longer than the usual buffer is read again whole, never taken for a missing program.
  for (int retry = 0; result == ERROR_MORE_DATA && size > RegBufferSize && retry < 3; ++retry) {
    RegBufferSize = size;
    value.assign(static_cast<size_t>(size), '\0');
    result = RegQueryValueA(HKEY_CLASSES_ROOT, RegSubkeyName.c_str(), value.data(), &size);
  }
  if (result == ERROR_SUCCESS) into = Clip(std::string(value.c_str(), strnlen(value.c_str(), value.size())));
  return result;
}

void vrLinkbrightClass::Init(std::optional<LONG> UseHandCursor, BYTE pOptions) {
  if (Disable) return;
  ItemQ = std::make_unique<LinkItemQueue>();
  TrackerQ = std::make_unique<LinkTrackerQueue>();
  if (UseHandCursor) HandCursor = *UseHandCursor;

  LinkbrightBrowser.clear();
  LinkbrightEmail.clear();
  QueryClassesRoot(".htm", LinkbrightBrowser);  // the file type of web pages
  std::string pageType = LinkbrightBrowser;
  LinkbrightBrowser.clear();
  if (QueryClassesRoot(pageType + "\\shell\\open\\command", LinkbrightBrowser) != ERROR_SUCCESS) {
    LinkbrightBrowser.clear();
    Debug("No Browser found in the registry.");
  }
  // A quoted program path is the browser itself, without its arguments.
  if (size_t open = LinkbrightBrowser.find('"'); open != std::string::npos) {
    if (size_t close = LinkbrightBrowser.find('"', open + 1); close != std::string::npos) {
      LinkbrightBrowser = LinkbrightBrowser.substr(open, close - open + 1);
    }
  }
  QueryClassesRoot("mailto\\shell\\open\\command", LinkbrightEmail);
  if (LinkbrightEmail.empty()) {
    Debug("No Email program found");
  } else {
    ReplaceSystemDrive(1);
  }
  Inited = 1;
  if ((pOptions & 1) == 0) Set(0, PROP::Buffer, 1LL);
}

bool vrLinkbrightClass::ReplaceSystemDrive(size_t from) {
  constexpr std::string_view kToken = "%SystemDrive%";
  size_t at = Position(LinkbrightEmail, kToken, from);
  if (at == 0) return true;
  std::string folder(pszBuffer + 1, '\0');
  UINT length = GetWindowsDirectoryA(folder.data(), pszBuffer);
  if (length == 0 || length >= pszBuffer) return false;
  pszPath = folder.substr(0, length);
  size_t colon = pszPath.find(':');
  if (colon == std::string::npos) return true;  // no drive to put in
  LinkbrightEmail = LinkbrightEmail.substr(0, at - 1) + pszPath.substr(0, colon + 1) +
                    LinkbrightEmail.substr(std::min(LinkbrightEmail.size(), at - 1 + kToken.size()));
  return true;
}

namespace {

// A new row for a control: nothing of another row carried over.
LinkItemRow NewRow(LONG control) {
  LinkItemRow row;
  row.Control = control;
  row.Active = 1;
  row.InactiveColor = Number(control, PROP::FontColor);
  return row;
}

}  // namespace

void vrLinkbrightClass::AddItem(LONG LinkbrightControl, std::optional<std::string> LinkbrightURL,
                                std::optional<LONG> NormalColor, std::optional<LONG> BrightColor,
                                std::optional<LONG> Features, LONG UseStdAction) {
  if (Disable || !ItemQ) return;
  LONG c = LinkbrightControl;
  // Each further link column of one list gets its own pair of styles.
  LONG largestStyle = 0;
  bool hasRows = false;
  for (size_t i = 1; i <= ItemQ->Records(); ++i) {
    const LinkItemRow& other = ItemQ->Peek(i);
    if (other.Control != c) continue;
    hasRows = true;
    largestStyle = std::max(largestStyle, other.Style);
  }
  LinkItemRow& row = ItemQ->Buffer();
  row = NewRow(c);
  row.Style = hasRows && largestStyle != 0 ? largestStyle + 2 : 0;
  LBModTempType = Number(c, PROP::Type);

  if (LBModTempType == LIST) {
    if (LinkbrightURL) row.Column = static_cast<LONG>(NumberOf(*LinkbrightURL));
    if (NormalColor && *NormalColor != -1) row.Normal = *NormalColor;
    if (BrightColor && *BrightColor != -1) row.Bright = *BrightColor;
    if (Features) {
      LONG f = *Features < 0 ? -*Features : *Features;
      if (f > row.Style && f > 1) {
        row.Style = f;
      } else if (row.Style == 0 && row.Normal != 0) {
        row.Style = 2;
      }
      if (*Features < 0) row.HandCursor = 1;
    } else if (row.Style == 0 && row.Normal != 0) {
      row.Style = 2;
    }
  } else {
    if (LinkbrightURL) row.URL = Fit(*LinkbrightURL, kUrlWidth);
    if (NormalColor) {
      row.Normal = *NormalColor;
      Set(c, PROP::FontColor, *NormalColor);
    } else if (LBModTempType == STRING || LBModTempType == SSTRING) {
      row.Normal = Number(c, PROP::FontColor);
    }
    if (BrightColor) row.Bright = *BrightColor;
    if (Features) {
      row.Underline = static_cast<BYTE>(*Features & 1);
      row.UseEvent = static_cast<LONG>(static_cast<ULONG>(*Features) >> 1);
      Set(c, PROP::FontStyle, Number(c, PROP::FontStyle) | kUnderline);
    }
    if (LBModTempType == ENTRY && UseStdAction != 0) {
      AddAlertKey(c, UseStdAction);
      row.UseStdAction = UseStdAction;
      Set(c, PROP::Cursor, Clip(HandCursorToUse));
      row.UseEvent = 15;  // AlertKey
    }
  }
  ItemQ->Add(&LinkItemRow::Control, &LinkItemRow::Column);
  Debug("In AddItem: " + N(c) + " URL: " + row.URL + " Norm: " + N(row.Normal) + " Brt: " + N(row.Bright) +
        " InActCol: " + N(row.InactiveColor) + " Style: " + N(row.Style) + " Col: " + N(row.Column) +
        " UnderLine: " + N(row.Underline) + " Event: " + N(row.UseEvent) + " Cur: " + N(row.HandCursor) +
        " NStl: " + N(row.NormalStyle) + N(row.BrightStyle) + " StdA: " + N(row.UseStdAction) +
        " Skype: " + N(row.SkypeFunction));
  SetControlProperties(c, 1);
}

void vrLinkbrightClass::AddString(LONG LinkbrightControl, std::optional<std::string> LinkbrightURL,
                                  std::optional<LONG> NormalColor, std::optional<LONG> BrightColor,
                                  std::optional<LONG> NormalStyle, std::optional<LONG> BrightStyle,
                                  std::optional<LONG> /*Reserved*/) {
  if (Disable || !ItemQ) return;
  LONG c = LinkbrightControl;
  LinkItemRow& row = ItemQ->Buffer();
  row = NewRow(c);
  LONG kind = Number(c, PROP::Type);
  if (kind == STRING || kind == SSTRING || kind == PROMPT) {
    row.URL = Fit(LinkbrightURL && !Clip(*LinkbrightURL).empty() ? *LinkbrightURL : Text(c, PROP::ScreenText),
                  kUrlWidth);
    if (NormalColor) {
      row.Normal = *NormalColor;
      Set(c, PROP::FontColor, *NormalColor);
    } else {
      row.Normal = Number(c, PROP::FontColor);
    }
    if (BrightColor) row.Bright = *BrightColor;
    if (NormalStyle) {
      row.NormalStyle = *NormalStyle;
      Set(c, PROP::FontStyle, *NormalStyle);
    } else {
      row.NormalStyle = Number(c, PROP::FontStyle);
    }
    if (BrightStyle) row.BrightStyle = *BrightStyle;
  }
  ItemQ->Add(&LinkItemRow::Control, &LinkItemRow::Column);
  SetControlProperties(c, 1);
}

LONG vrLinkbrightClass::SetActive(LONG LinkbrightControl, BYTE ActiveFlag) {
  if (Disable || !ItemQ) return 0;
  ItemQ->Buffer().Control = LinkbrightControl;
  if (!ItemQ->Get(&LinkItemRow::Control)) return 0;
  if (ItemQ->Buffer().Active != ActiveFlag) {
    ItemQ->Buffer().Active = ActiveFlag;
    ItemQ->Put();
  }
  return 1;
}

void vrLinkbrightClass::SetControlProperties(LONG LinkbrightControl, std::optional<LONG> CreateRegion) {
  if (Disable || !ItemQ) return;
  LONG c = LinkbrightControl;
  bool create = CreateRegion.value_or(0) != 0;
  LBModTempType = Number(c, PROP::Type);
  Debug("vrLinkbrightClass.SetControlProperties. Top  LinkbrightControl: " + N(c) + " CreateRegion: " +
        N(CreateRegion.value_or(0)) + " Type: " + N(LBModTempType));
  LinkItemRow& row = ItemQ->Buffer();
  const std::string hand = Clip(HandCursorToUse);
  switch (LBModTempType) {
    case ITEM:
    case BUTTON:
      return;
    case ENTRY:
    case COMBO:
    case TEXT:
      if (row.Active) {
        Set(c, PROP::FontColor, row.Normal);
        if (row.Underline) Set(c, PROP::FontStyle, Number(c, PROP::FontStyle) | kUnderline);
        if (row.UseStdAction != 0) {
          Set(c, PROP::Cursor, hand);
          AddAlertKey(c, row.UseStdAction);
        }
      } else {
        Set(c, PROP::FontColor, row.InactiveColor);
        Set(c, PROP::FontStyle, Number(c, PROP::FontStyle) & ~kUnderline);
        if (row.UseStdAction != 0) {
          Set(c, PROP::Cursor, "");
          RemoveAlertKey(c, row.UseStdAction);
        }
      }
      return;
    case REGION:
      if (create) {
        Set(c, PROP::Cursor, hand);
        Set(c, PROP::Imm, 1LL);
      } else if (!row.Active) {
        Set(c, PROP::Cursor, "");
        Set(c, PROP::Disable, 1LL);
        regionsMadeInactive_.insert(c);
      } else {
        if (Text(c, PROP::Cursor) != hand) Set(c, PROP::Cursor, hand);
        // Active again: the region takes clicks again, unless it was disabled by its owner.
        if (regionsMadeInactive_.erase(c) != 0) Set(c, PROP::Disable, 0LL);
      }
      return;
    case LIST:
      if (row.Normal != 0) {
        Set(c, PROP::StyleFontStyle, kUnderline, row.Style);
        Set(c, PROP::StyleFontColor, row.Normal, row.Style);
        Set(c, PROP::ColumnStyle, row.Style, row.Column);
        if (row.Bright != 0) {
          Set(c, PROP::StyleFontStyle, kUnderline, row.Style + 1);
          Set(c, PROP::StyleFontColor, row.Bright, row.Style + 1);
        }
      }
      return;
    default:
      break;
  }

  // Strings, prompts and every other kind: a companion region catches the mouse.
  const LONG r = c + kRegionOffset;
  if (create) {
    if (LBModTempType == STRING || LBModTempType == SSTRING || LBModTempType == PROMPT) {
      ItemQ->Sort(&LinkItemRow::Control, &LinkItemRow::Column);
      ItemQ->Buffer().Control = c;
      bool found = ItemQ->Get(&LinkItemRow::Control);
      if (!found) {
        Debug("vrLinkbrightClass.SetControlProperties: Error loading from queue. LinkbrightControl: " + N(c) +
              " Items: " + N(static_cast<long long>(ItemQ->Records())) + " Error: " + N(ERRORCODE()) +
              " Entry not found");
      }
      if (found && row.Active) {
        if (row.Underline) Set(c, PROP::FontStyle, Number(c, PROP::FontStyle) | kUnderline);
        if (row.NormalStyle != 0) Set(c, PROP::FontStyle, row.NormalStyle);
      } else {
        Set(c, PROP::FontStyle, kNormalWeight);
      }
    }
    CREATE(r, rt::Kind::Region, Number(c, PROP::Parent));
    Debug("vrLinkbrightClass.SetControlProperties: Create region for LinkbrightControl: " + N(c) +
          "+2800 Error After create: " + N(ERRORCODE()));
    Set(r, PROP::Cursor, hand);
    Set(r, PROP::Imm, 1LL);
  } else if (!row.Active) {
    Set(r, PROP::Cursor, "");
    Set(r, PROP::Disable, 1LL);
    Debug("vrLinkbrightClass.SetControlProperties:  Control is inactive. ");
  } else if (Text(r, PROP::Cursor) != hand || (Number(r, PROP::Disable) != 0 && Number(c, PROP::Disable) == 0)) {
    // A region still disabled tells a link that was inactive too: with a blank hand cursor
    // (the platform's default) the cursor alone never shows it.
    Set(r, PROP::Cursor, hand);
    Set(r, PROP::Disable, Number(c, PROP::Disable));
    Debug("vrLinkbrightClass.SetControlProperties:  Control is re-activated. ");
  }

  const LONG parent = Number(c, PROP::Parent);
  Debug("vrLinkbrightClass.SetControlProperties: Set control properties. Disabled: " + N(Number(c, PROP::Disable)) +
        " Active: " + N(row.Active) + " Working: " + N(row.Working) + " Hidden: " + N(Number(c, PROP::Hide)) +
        " Position: " + N(Number(c, PROP::Xpos)) + ";" + N(Number(c, PROP::Ypos)) + ";" + N(Number(c, PROP::Width)) +
        ";" + N(Number(c, PROP::Height)) + " ParentControl: " + N(parent) +
        " Disabled: " + N(Number(parent, PROP::Disable)));
  if (Number(c, PROP::Disable) != 0) {
    // a disabled control keeps its look
  } else if (parent != 0 && Number(parent, PROP::Disable) != 0) {
    Set(c, PROP::FontColor, Text(parent, PROP::FontColor));
  } else if (!row.Active) {
    // The parent's look, or the window's: an inactive link reads as plain text.
    Set(c, PROP::FontColor, Text(parent, PROP::FontColor));
    Set(c, PROP::FontStyle, Text(parent, PROP::FontStyle));
  } else {
    // A style of 0 was never given: the control keeps its own (and its underline).
    Set(c, PROP::FontColor, row.Working == 1 ? row.Bright : row.Normal);
    LONG style = row.Working == 1 ? row.BrightStyle : row.NormalStyle;
    if (style != 0) Set(c, PROP::FontStyle, style);
  }
  for (int prop : {PROP::Xpos, PROP::Ypos, PROP::Width, PROP::Height, PROP::Hide}) Set(r, prop, Text(c, prop));
}

void vrLinkbrightClass::Debug(const std::string& DebugString) {
  if (Disable) return;
  if (!DebugSet) {
    DebugOn = !COMMAND("/LBDebug").empty();
    DebugSet = 1;
  }
  if (!DebugOn) return;
  std::string line = "Linkbright: " + Clip(DebugString);
  if (line.size() > kDebugLineLimit) line.resize(kDebugLineLimit);
  OutputDebugStringA(line.c_str());
}
