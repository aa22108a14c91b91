// A shared library of the tests' own, bound at run time by its path.
extern "C" int Answer() { return 42; }
