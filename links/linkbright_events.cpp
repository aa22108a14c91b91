// Link events and appearance: TakeEvent, TakeListEvent (mouse tracking over lists and the
// MouseOut a fast pointer never sent), Refresh, ChangeURL and the two hooks.
#include "links/link_controls.h"
#include "links/link_text.h"
#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/rt/error_code.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"

using namespace links;

namespace {

bool IsOneOf(LONG kind, std::initializer_list<LONG> kinds) {
  for (LONG k : kinds) {
    if (kind == k) return true;
  }
  return false;
}

}  // namespace

void vrLinkbrightClass::TakeEvent() {
  if (Disable || !ItemQ) return;
  const int event = EVENT();
  LONG c = FIELD();
  LONG kind = Number(c, PROP::Type);
  if (kind == REGION) {
    if (c > kRegionOffset) c -= kRegionOffset;
    Debug("vrLinkbrightClass.TakeEvent. Region has been evented: " + N(c) + " Event: " + N(event));
  }
  if (IsOneOf(kind, {REGION, ITEM, BUTTON, ENTRY, COMBO, TEXT})) {
    ItemQ->Buffer().Control = c;
    if (ItemQ->Get(&LinkItemRow::Control)) HandleRow(c);
  } else if (kind == LIST) {
    if (event == EVENT::Accepted) {
      DISPLAY();
      Refresh(0);
    }
    const LONG column = Number(c, PROP::Column);
    ItemQ->Buffer().Control = c;
    ItemQ->Buffer().Column = column;
    bool found = ItemQ->Get(&LinkItemRow::Control, &LinkItemRow::Column);
    if (!COMMAND("/LBDebugList").empty()) {
      Debug("UpField: Control: " + N(ItemQ->Buffer().Control) + " = " + N(c) + " Col: " +
            N(ItemQ->Buffer().Column) + "=" + N(column) + " error: " + (found ? "" : "Entry not found") +
            " Event: " + N(event));
    }
    // A right click on a link column opens the list's own menu, never the link.
    if (found && KEYCODE() != KEY::MouseRight) HandleRow(c);
  } else if (c > kRegionOffset) {
    ItemQ->Buffer().Control = c - kRegionOffset;
    if (ItemQ->Get(&LinkItemRow::Control)) HandleRow(c);
  }

  if (event == EVENT::Selected) LastFieldSelected = FIELD();
  if (event == EVENT::Sized) Refresh(0);
  TakeListEvent();
}

void vrLinkbrightClass::HandleRow(LONG eventControl) {
  const int event = EVENT();
  LinkItemRow& row = ItemQ->Buffer();
  const LONG control = row.Control;
  LONG kind = Number(control, PROP::Type);
  if (kind == ENTRY && CheckURLs && row.URL != Text(control, PROP::ScreenText)) {
    Refresh(control);
    ItemQ->Buffer().Control = control;
    ItemQ->Get(&LinkItemRow::Control);
  }
  Debug("In TakeEvent: Ctrl: " + N(eventControl) + "(" + N(row.Control) + "," + N(row.Column) + ") Event: " +
        N(event) + " UseEvent: " + N(row.UseEvent) + " LastSel: " + N(LastFieldSelected));
  if (!row.Active || event == 0) return;

  switch (event) {
    case EVENT::MouseIn:
    case EVENT::MouseMove:
      if (row.Bright > 0 && (kind == STRING || kind == SSTRING) && row.Working == 0 && row.Normal < 1) {
        row.Normal = Number(control, PROP::FontColor);
        ItemQ->Put();
      }
      if (kind != LIST && row.Working == 0) {
        row.Working = 1;
        ItemQ->Put();
        Refresh(control);
      }
      return;
    case EVENT::MouseOut:
      if (kind != LIST) {
        row.Working = 0;
        ItemQ->Put();
        Refresh(control);
      }
      return;
    case EVENT::Accepted:
      if (Number(0, PROP::AcceptAll) == 0 && (row.UseEvent == 0 || row.UseEvent == 1)) RunRow();
      return;
    default:
      if (event != row.UseEvent) return;
      // An entry that runs on the left button takes the first click as a user's choice of
      // the entry; the link runs on a click while it is the chosen control.
      if (row.UseStdAction == 1 && LastFieldSelected != FIELD()) {
        SELECT(control);
      } else {
        RunRow();
      }
  }
}

void vrLinkbrightClass::RunRow() {
  // The link's own row: GetListURL and RefreshURL may read others into the buffer.
  const LinkItemRow link = ItemQ->Buffer();
  const LONG kind = Number(link.Control, PROP::Type);
  std::string target;
  if (kind == ENTRY) {
    target = Text(link.Control, PROP::ScreenText);
  } else if (kind == LIST) {
    if (Number(link.Control, PROP::Column) == link.Column) target = GetListURL(link.Control, N(link.Column));
  } else if (!Clip(link.URL).empty()) {
    target = link.URL;
  } else if (kind == STRING || kind == SSTRING || kind == COMBO) {
    target = Text(link.Control, PROP::ScreenText);
  } else {
    target = Text(link.Control, PROP::Text);
  }
  if (kind != LIST && RefreshURL(link.Control) != 0) target = URLToRun;
  if (!Clip(target).empty()) target = CallForm(target, link.SkypeFunction);
  URLToRun = Fit(target, kUrlWidth);
  Debug("Before Run: Control: " + N(link.Control) + " Col: " + N(link.Column) + " Skype: " +
        N(link.SkypeFunction) + " URL:" + URLToRun);
  if (!URLToRun.empty()) Run(link.Control, 0);
}

void vrLinkbrightClass::TakeListEvent() {
  if (Disable || !ItemQ) return;
  if (EVENT() != HandCursor) return;
  const LONG x = MOUSEX();
  const LONG y = MOUSEY();
  bool found = false;
  LONG toReset = 0;
  const std::string hand = Clip(HandCursorToUse);
  for (size_t i = 1; i <= ItemQ->Records(); ++i) {
    if (!ItemQ->Get(i)) continue;
    LinkItemRow& row = ItemQ->Buffer();
    const LONG kind = Number(row.Control, PROP::Type);
    if (kind != LIST) {
      if (row.Working == 0) continue;
      // A pointer that left fast sent no MouseOut: send it now.
      LONG hit = IsOneOf(kind, {ITEM, BUTTON, ENTRY, COMBO, TEXT, REGION}) ? row.Control : row.Control + kRegionOffset;
      LONG left = Number(hit, PROP::Xpos), top = Number(hit, PROP::Ypos);
      LONG width = Number(hit, PROP::Width), height = Number(hit, PROP::Height);
      if (x < left || x > left + width || y < top || y > top + height) POST(EVENT::MouseOut, hit);
      continue;
    }
    const LONG column = Number(row.Control, PROP::MouseMoveField);
    const LONG zone = Number(row.Control, PROP::MouseMoveZone);
    if (column == row.Column && (zone == LISTZONE::Field || zone == LISTZONE::Icon) && row.HandCursor) {
      if (Text(row.Control, PROP::Cursor) != hand) Set(row.Control, PROP::Cursor, hand);
      found = true;
    } else if (!Text(row.Control, PROP::Cursor).empty()) {
      toReset = row.Control;
    }
    if (row.Style == 0) continue;
    const LONG left = Number(row.Control, PROP::Xpos);
    const LONG width = Number(row.Control, PROP::Width);
    const LONG under = Number(row.Control, PROP::MouseMoveRow);
    if (column != row.Column || x >= left + width || x <= left) {
      if (row.Working != 0) {
        SetStyle(row.Control, row.Working, row.Column, row.Style);
        row.Working = 0;
        ItemQ->Put();
      }
    } else if (under != row.Working) {
      SetStyle(row.Control, row.Working, row.Column, row.Style);
      row.Working = under;
      SetStyle(row.Control, under, row.Column, row.Style + 1);
      ItemQ->Put();
    }
  }
  if (!found && toReset != 0) Set(toReset, PROP::Cursor, "");
}

void vrLinkbrightClass::Refresh(LONG LinkbrightControl) {
  if (Disable || !ItemQ) return;
  auto handle = [this] {
    LinkItemRow& row = ItemQ->Buffer();
    const LONG kind = Number(row.Control, PROP::Type);
    if (IsOneOf(kind, {ITEM, BUTTON, LIST, COMBO, TEXT})) return;
    if (kind == ENTRY) row.URL = Fit(Text(row.Control, PROP::ScreenText), kUrlWidth);
    if (CheckURLs) {
      Debug("Checking: Ctrl: " + N(row.Control) + " Skype: " + N(row.SkypeFunction) + " URL: " + row.URL);
      row.Active = RegCheck(row.URL, row.SkypeFunction) != 0 ? 1 : 0;
      if (!row.Active) Debug("Failed Reg Check on: " + row.URL);
      ItemQ->Put();
    }
    SetControlProperties(ItemQ->Buffer().Control);
  };
  if (LinkbrightControl == 0) {
    for (size_t i = 1; i <= ItemQ->Records(); ++i) {
      if (ItemQ->Get(i)) handle();
    }
    return;
  }
  DISPLAY(LinkbrightControl);
  ItemQ->Buffer().Control = LinkbrightControl;
  if (ItemQ->Get(&LinkItemRow::Control)) handle();
}

void vrLinkbrightClass::ChangeURL(LONG LinkbrightControl, std::optional<std::string> URLLink) {
  if (Disable || !ItemQ) return;
  if (Number(LinkbrightControl, PROP::Type) == LIST) return;
  ItemQ->Sort(&LinkItemRow::Control, &LinkItemRow::Column);
  ItemQ->Buffer().Control = LinkbrightControl;
  if (!ItemQ->Get(&LinkItemRow::Control)) return;
  LinkItemRow& row = ItemQ->Buffer();
  if (URLLink && !Clip(*URLLink).empty()) {
    if (*URLLink != Clip(row.URL)) {
      row.URL = Fit(*URLLink, kUrlWidth);
      ItemQ->Put();
      Refresh(LinkbrightControl);
    }
  } else if (!row.URL.empty()) {
    row.URL.clear();
    ItemQ->Put();
    Refresh(LinkbrightControl);
  }
}

void vrLinkbrightClass::SetStyle(LONG /*LinkbrightControl*/, LONG /*ListRow*/, LONG /*ListColumn*/, LONG /*Style*/) {
  // Drawn by a derived class (for example through the list's cell styles).
}

LONG vrLinkbrightClass::RefreshURL(LONG /*LinkbrightControl*/) { return 0; }
