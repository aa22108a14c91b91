// A stand-in for a browser or mail program in tests: records the arguments it was started
// with, each followed by a NUL byte, into the file named by its first argument. The file
// appears whole (written beside it, then renamed), so a test that sees it reads all of it.
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string temporary = std::string(argv[1]) + ".part";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) return 1;
  for (int i = 2; i < argc; ++i) std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, out);
  if (std::fclose(out) != 0) return 1;
  return std::rename(temporary.c_str(), argv[1]) == 0 ? 0 : 1;
}
