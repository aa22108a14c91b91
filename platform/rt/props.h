#pragma once
// Property numbers of windows (field 0), controls (their field number) and the runtime
// itself (SYSTEM). Properties nobody here gives a meaning to are still kept and handed to
// the screen, so that a layer above may use its own.
namespace PROP {
inline constexpr int Text = 0x7C01;        // caption of a window or control
inline constexpr int Hide = 0x7C02;        // "1" hidden
inline constexpr int Disable = 0x7C03;     // "1" disabled
inline constexpr int Xpos = 0x7C04;        // position and size, dialog units (pixels when
inline constexpr int Ypos = 0x7C05;        // the window's Pixels is "1")
inline constexpr int Width = 0x7C06;
inline constexpr int Height = 0x7C07;
inline constexpr int FontName = 0x7C08;
inline constexpr int FontSize = 0x7C09;
inline constexpr int FontColor = 0x7C0A;  // 0xBBGGRR; -1 the screen's default (until set: as defined)
inline constexpr int FontStyle = 0x7C0B;  // FONT:: bits; 0 the window's (until set: as defined)
inline constexpr int Color = 0x7C0C;       // background colour
inline constexpr int Icon = 0x7C0D;
inline constexpr int Format = 0x7C0E;      // list column format
inline constexpr int Selected = 0x7C0F;    // highlighted row, chosen radio, chosen tab (from 1)
inline constexpr int Type = 0x7C10;        // the control's kind number (read only)
inline constexpr int ScreenText = 0x7C11;  // what the control shows as its value
inline constexpr int Timer = 0x7C12;       // window timer in hundredths; 0 stops it
inline constexpr int Maximize = 0x7C13;    // "1" while maximized
inline constexpr int Iconize = 0x7C14;     // "1" while minimized
inline constexpr int Pixels = 0x7C15;      // window: positions in pixels
inline constexpr int Wallpaper = 0x7C16;
inline constexpr int Items = 0x7C17;       // rows of a list (read only)
inline constexpr int Cursor = 0x7C18;     // a CURSOR:: name; blank: the default arrow
inline constexpr int Imm = 0x7C19;        // "1": the control posts MouseIn, MouseMove, MouseOut
inline constexpr int Alrt = 0x7C1A;        // alerted key of slot `index` (1 to 255; 0 empty)
inline constexpr int Touched = 0x7C1B;
inline constexpr int Focus = 0x7C1C;       // window: the field that has the focus
inline constexpr int Visible = 0x7C1D;     // "1" when neither it nor a parent is hidden (read only)
inline constexpr int Enabled = 0x7C1E;     // "1" when neither it nor a parent is disabled (read only)
inline constexpr int Parent = 0x7C1F;      // enclosing control's field (read only)
inline constexpr int Buffer = 0x7C20;      // window: kept for the program; this screen draws at once
inline constexpr int AcceptAll = 0x7C21;   // window: "1" during a pass that accepts every field (kept for the program)

// Lists. Columns are numbered by their position now (the user may have moved them); styles
// by their number in the list's style table.
inline constexpr int Column = 0x7C40;          // the column of the latest mouse event on the list
inline constexpr int MouseMoveRow = 0x7C41;    // row under the pointer (0: none) (read only)
inline constexpr int MouseMoveField = 0x7C42;  // column under the pointer (0: none) (read only)
inline constexpr int MouseMoveZone = 0x7C43;   // LISTZONE:: part under the pointer (read only)
inline constexpr int ColumnExists = 0x7C44;    // "1" when column `index` exists (read only)
inline constexpr int ColumnFormat = 0x7C45;    // format text of column `index` (read only)
inline constexpr int ColumnStyle = 0x7C46;     // default style of column `index` (0: none)
inline constexpr int StyleFontStyle = 0x7C47;  // font style of style `index`
inline constexpr int StyleFontColor = 0x7C48;  // text colour of style `index` (0xBBGGRR)
// A cell's style is set and read through rt::SetCellStyle / rt::CellStyle (row and column);
// the screen hears of a change as this property, `index` the column.
inline constexpr int CellStyle = 0x7C49;
inline constexpr int Handle = 0x7C96;      // window: its frame handle (read only)
inline constexpr int ClientHandle = 0x7CAB;  // window: its client handle (read only)

// SYSTEM properties
inline constexpr int MessageHook = 0x7A35;
inline constexpr int Target = 0x7A45;          // the current target window (read only here)
inline constexpr int LastChanceHook = 0x7A66;
inline constexpr int AppIcon = 0x7A70;         // the program's icon
inline constexpr int ExeVersion = 0x7CC5;      // the runtime's version times 1000 (read only)
}  // namespace PROP

// What part of a list the pointer is over. Cells and their icons count as the cell.
namespace LISTZONE {
inline constexpr int Nowhere = -1;  // off the list, or below its rows
inline constexpr int Field = 0;     // a cell
inline constexpr int Right = 1;     // the right edge of a column, where it is resized
inline constexpr int Header = 2;    // a column's header
inline constexpr int Icon = 5;      // a cell's icon
}  // namespace LISTZONE

// Cursor names for the Cursor property. Blank is the default arrow.
namespace CURSOR {
inline constexpr const char* Arrow = "";
inline constexpr const char* Hand = "hand";
inline constexpr const char* IBeam = "ibeam";
inline constexpr const char* Wait = "wait";
inline constexpr const char* Cross = "cross";
}  // namespace CURSOR

// Font style bits (FontStyle): the weight (400 normal, 700 bold) in the low bits.
namespace FONT {
inline constexpr int Normal = 400;
inline constexpr int Bold = 700;
inline constexpr int Italic = 0x1000;
inline constexpr int Underline = 0x2000;
inline constexpr int StrikeOut = 0x4000;
}  // namespace FONT

// Key codes that can be alerted on a control.
namespace KEY {
inline constexpr int MouseLeft = 0x01;
inline constexpr int MouseRight = 0x02;
inline constexpr int MouseCenter = 0x03;
inline constexpr int MouseLeft2 = 0x05;
inline constexpr int MouseRight2 = 0x06;
}  // namespace KEY
