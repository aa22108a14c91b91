#pragma once
// The modal window with the program's name, version and notices.
void AboutWindow();
