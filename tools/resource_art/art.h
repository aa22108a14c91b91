#pragma once
// The drawings behind the program's icons and wallpaper. Each returns a finished image; the
// icons are square and drawn resolution-independently so any size reads well.
#include <QImage>

namespace art {

QImage CabinetIcon(int size);   // the application: a speaker cabinet
QImage RefreshIcon(int size);   // two chasing arrows
QImage CloseIcon(int size);     // a red cross
QImage AboutIcon(int size);     // an information "i"
QImage OkIcon(int size);        // a plain green tick
QImage BadgeOkIcon(int size);   // a tick on a round green badge
QImage TweedTile();             // a seamless lacquered-tweed weave

}  // namespace art
