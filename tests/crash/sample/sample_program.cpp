// A small program whose debug records the tests read back: a few procedures in a namespace,
// a class with members, and a static function, each on known lines.
#include <cstdio>
#include <cstdlib>

namespace sample {

int Square(int value) {
  return value * value;
}

struct Counter {
  int total = 0;
  void Add(int amount) {
    total += amount;
  }
  ~Counter() {
    std::printf("%d\n", total);
  }
};

int SumOfSquares(int count) {
  Counter counter;
  for (int i = 1; i <= count; ++i) counter.Add(Square(i));
  return counter.total;
}

}  // namespace sample

static int Halve(int value) {
  return value / 2;
}

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 3;
  return Halve(sample::SumOfSquares(count)) & 0x7F;
}
