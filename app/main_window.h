#pragma once
// The main window: device lists, connection, cab block radios, user-cab offset, the two cab
// lists and the timer that applies the unit's replies. Runs until the window closes.
void Main();
