#pragma once
// The two queues of a link object: one row per link (a control, or one column of a list),
// and the remembered format texts of list columns.
#include <string>

#include "platform/rt/queue.h"
#include "platform/win/types.h"

struct LinkItemRow {
  LONG Control = 0;
  std::string URL;          // up to 4096 characters; blank: the control's own text
  LONG Normal = 0;          // link colour
  LONG Bright = 0;          // hover colour
  LONG InactiveColor = 0;
  LONG Style = 0;           // list links: style of the normal cell, Style + 1 the hover style
  LONG Column = 0;          // list links: the column; 0 for other controls
  BYTE Underline = 0;
  LONG UseEvent = 0;        // the event that runs the link (0 or 1: Accepted)
  LONG Working = 0;         // 1 while hovered; list links: the row under the mouse
  BYTE HandCursor = 0;      // list links: the hand cursor over the column
  LONG NormalStyle = 0;
  LONG BrightStyle = 0;
  BYTE Active = 1;          // 0: shown inactive and never run
  LONG UseStdAction = 0;    // entry links: the alert key that runs the link
  LONG SkypeFunction = 0;   // 0 a plain URL; 1 call, 2 chat, 3 add, 4 voicemail, 5 user info
};

struct LinkTrackerRow {
  LONG Control = 0;
  std::string OldFormatCol;  // a column's format text, up to 255 characters: its identity
  LONG ColumnNo = 0;         // its position when recorded
};

using LinkItemQueue = rt::Queue<LinkItemRow>;
using LinkTrackerQueue = rt::Queue<LinkTrackerRow>;
