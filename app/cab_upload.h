#pragma once
// A cab file dropped on the main window's sheet goes, unchanged, into the user slot of the
// current cab row, after checks and (with safety mode on) the user's consent.
#include <string_view>

class Textrope;

// True when the file was sent; the caller then fetches the list again.
bool UploadDroppedCab(Textrope& ST, std::string_view path);
