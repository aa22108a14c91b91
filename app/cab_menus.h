#pragma once
// The right-click menus of the two lists of the main window. The highlighted row (from 1)
// becomes the current row of its queue; with none highlighted (an empty list, a click
// below the rows) the entries that need a row do nothing, while "Clear", "Load" and "Save"
// work as usual.
#include <cstddef>

class Textrope;

void AllCabsMenu(Textrope& ST, std::size_t highlighted);
void FavouritesMenu(Textrope& ST, std::size_t highlighted);
