#pragma once
// The window toolbar. Toolbar buttons steer browse and form controls, and the program's
// windows have neither, so a toolbar attached to a window shows nothing and handles nothing;
// windows attach one so that they read as every window of the framework does.
class ToolbarClass {};
