#pragma once
// A fresh folder under /tmp with a short name ("/tmp/bw.XXXXXX"), removed with everything in
// it when the object goes. Tests build their own paths here, so a path never grows with the
// depth of the checkout: the program's fixed-size path texts and the desktop's handler
// commands then see the same lengths wherever the project lies.
#include <filesystem>

namespace test_support {

class ShortFolder {
 public:
  ShortFolder();
  ~ShortFolder();
  ShortFolder(const ShortFolder&) = delete;
  ShortFolder& operator=(const ShortFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
