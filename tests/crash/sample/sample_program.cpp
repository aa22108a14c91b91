// A small program whose debug records the tests read back: a few procedures in a namespace,
// a class with members, a static function, and two calls inlined one in the other even in an
// unoptimised build.
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

[[gnu::always_inline]] inline int Twice(int value) {
  return value * 2;  // Twice's line
}

[[gnu::always_inline]] inline int Quadruple(int value) {
  return Twice(Twice(value));  // Quadruple's call
}

int SumOfSquares(int count) {
  Counter counter;
  for (int i = 1; i <= count; ++i) counter.Add(Square(i));
  return counter.total + Quadruple(count) - 4 * count;  // SumOfSquares's call
}

}  // namespace sample

static int Halve(int value) {
  return value / 2;
}

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 3;
  return Halve(sample::SumOfSquares(count)) & 0x7F;
}
