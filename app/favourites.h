#pragma once
// The favourites: kept in FAV_QUEUE, sorted by cab number, for the life of the process, and
// saved to and loaded from ".cablist" files. Such a file holds one byte per favourite, its cab
// number, in list order, and nothing else; names and user-cab numbers come from the cab list
// on loading. Nothing on the unit changes here.
#include "platform/win/types.h"

class Textrope;

// Adds the current cab row to the favourites unless its cab number is there already, so a cab
// added from the list comes once.
void AddCabToFavourites();

// Asks for a file and replaces the favourites with the cabs it names that the cab list
// holds, in cab-number order (a number the file names twice comes twice). The current cab row
// stays; the current favourite is the last listed cab the file names. A file that cannot be
// read (missing, not a regular file, over 64 KiB, a failed read) keeps the favourites as they
// were and says why; an empty file gives no favourites.
void LoadFavourites(Textrope& ST);
// Asks for a file name and writes the favourites to it. A cab number above 255 does not
// fit the file's one byte: such favourites are left out, and one message names them.
void SaveFavourites(Textrope& ST);
