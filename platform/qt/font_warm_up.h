#pragma once
// Reading the desktop's font configuration takes several milliseconds, and Qt does it when
// the first text is laid out, on the way to the first window. Started before the
// QApplication, it is read on a thread of its own while Qt and the program start up.
#include <thread>

namespace qtscreen {

class FontWarmUp {
 public:
  FontWarmUp();
  // Waits for the reading to end.
  ~FontWarmUp();

  // Before anything lays out text: two threads reading the configuration at once would each
  // read all of it.
  void Wait();

 private:
  std::thread reader_;
};

}  // namespace qtscreen
