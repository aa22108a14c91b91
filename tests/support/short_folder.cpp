#include "tests/support/short_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace test_support {

ShortFolder::ShortFolder() {
  // /tmp itself rather than TMPDIR, which may be as deep as the checkout.
  std::string name = "/tmp/bw.XXXXXX";
  if (mkdtemp(name.data()) == nullptr) ADD_FAILURE() << "cannot make a folder like " << name;
  path_ = name;
}

ShortFolder::~ShortFolder() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  // A test may have made parts of it read-only to provoke a failure.
  for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

}  // namespace test_support
