#pragma once
// A message box for a text taller than a box may be (a crash report shown whole): the text in
// a read-only view that scrolls both ways, long lines kept whole, with its scroll bars; the
// buttons beneath it; the whole box inside the screen's available area, and resizable.
#include <QPixmap>
#include <QString>
#include <QStringList>

class QWidget;

namespace qtscreen {

struct LongMessage {
  QString text;
  QString caption;
  QPixmap icon;              // none when null
  QStringList buttons;       // in order, with their "&" mnemonics
  int defaultButton = 0;     // from 0
  int escapeButton = -1;     // what Esc and the close box choose, from 0; -1: they do nothing
};

// The button chosen, from 1.
int ShowLongMessage(const LongMessage& message, QWidget* parent);

}  // namespace qtscreen
