#include "platform/qt/make_qt_screen.h"

#include <QApplication>
#include <QThreadPool>

#include "platform/qt/font_warm_up.h"
#include "platform/qt/qt_screen.h"
#include "platform/rt/command.h"

namespace qtscreen {

std::unique_ptr<rt::Screen> MakeQtScreen() {
  std::unique_ptr<QApplication> application;
  std::unique_ptr<FontWarmUp> fonts;
  if (!QApplication::instance()) {
    fonts = std::make_unique<FontWarmUp>();
    // Qt keeps the arguments for its whole life; it is given only the program's name, so
    // the program's own switches never reach Qt's option parser.
    static std::string program = COMMAND("0");
    static char* argv[] = {program.data(), nullptr};
    static int argc = 1;
    application = std::make_unique<QApplication>(argc, argv);
    // The runtime decides when the program ends, not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    // The raster engine hands a fill of many rows to the global thread pool. The windows are
    // small, so the pool's threads gain the drawing nothing, and starting one per core cost a
    // fifth of the first paint.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
  }
  return std::make_unique<QtScreen>(std::move(application), std::move(fonts));
}

}  // namespace qtscreen
