#include "platform/qt/make_qt_screen.h"

#include <QApplication>

#include "platform/qt/qt_screen.h"
#include "platform/rt/command.h"

namespace qtscreen {

std::unique_ptr<rt::Screen> MakeQtScreen() {
  std::unique_ptr<QApplication> application;
  if (!QApplication::instance()) {
    // Qt keeps the arguments for its whole life; it is given only the program's name, so
    // the program's own switches never reach Qt's option parser.
    static std::string program = COMMAND("0");
    static char* argv[] = {program.data(), nullptr};
    static int argc = 1;
    application = std::make_unique<QApplication>(argc, argv);
    // The runtime decides when the program ends, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
  }
  return std::make_unique<QtScreen>(std::move(application));
}

}  // namespace qtscreen
