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
inline constexpr int FontColor = 0x7C0A;
inline constexpr int FontStyle = 0x7C0B;
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
inline constexpr int Cursor = 0x7C18;
inline constexpr int Imm = 0x7C19;
inline constexpr int Alrt = 0x7C1A;        // alerted key of slot `index`
inline constexpr int Touched = 0x7C1B;
inline constexpr int Focus = 0x7C1C;       // window: the field that has the focus
inline constexpr int Visible = 0x7C1D;     // "1" when neither it nor a parent is hidden (read only)
inline constexpr int Enabled = 0x7C1E;     // "1" when neither it nor a parent is disabled (read only)
inline constexpr int Parent = 0x7C1F;      // enclosing control's field (read only)
inline constexpr int Handle = 0x7C96;      // window: its frame handle (read only)
inline constexpr int ClientHandle = 0x7CAB;  // window: its client handle (read only)

// SYSTEM properties
inline constexpr int MessageHook = 0x7A35;
inline constexpr int Target = 0x7A45;          // the current target window (read only here)
inline constexpr int LastChanceHook = 0x7A66;
inline constexpr int AppIcon = 0x7A70;         // the program's icon
inline constexpr int ExeVersion = 0x7CC5;      // the runtime's version times 1000 (read only)
}  // namespace PROP

// Key codes that can be alerted on a control.
namespace KEY {
inline constexpr int MouseLeft = 0x01;
inline constexpr int MouseRight = 0x02;
inline constexpr int MouseCenter = 0x03;
inline constexpr int MouseLeft2 = 0x05;
inline constexpr int MouseRight2 = 0x06;
}  // namespace KEY
