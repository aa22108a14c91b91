// The baseline of the start-up measurement (bench/startup.py): a bare Qt window of the main
// window's size, with nothing else to do before its first paint.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(609, 388);
  window.show();
  return application.exec();
}
