#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/favourites.h"
#include "app/globals.h"
#include "tests/app/answering_screen.h"
#include "tests/support/file_text.h"
#include "tests/support/special_files.h"
#include "textrope/textrope.h"

namespace {

void ListCab(LONG cabNum) {
  CAB_QUEUE->CabNum = cabNum;
  CAB_QUEUE->UserCab = cabNum - 130;
  CAB_QUEUE->Name = "cab " + std::to_string(cabNum);
  CAB_QUEUE.Add(&CAB_QUEUE_ROW::CabNum);
}

std::vector<LONG> FavouriteNumbers() {
  std::vector<LONG> numbers;
  for (std::size_t i = 1; i <= FAV_QUEUE.Records(); ++i) numbers.push_back(FAV_QUEUE.Peek(i).CabNum);
  return numbers;
}

class Favourites : public ::testing::Test {
 protected:
  void SetUp() override { ResetLibrarianState(); }
  void TearDown() override { rt::UseScreen(nullptr); }
  void AddFromList(LONG cabNum) {
    CAB_QUEUE->CabNum = cabNum;
    ASSERT_TRUE(CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum));
    AddCabToFavourites();
  }
  void Load(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    screen.files = {file};
    LoadFavourites(ST);
  }
  app_test::AnsweringScreen& screen = app_test::UseAnsweringScreen();
  Textrope ST;
};

TEST_F(Favourites, LoadTakesEveryListedCabInCabOrderAsOftenAsTheFileNamesIt) {
  for (LONG n : {3, 10}) ListCab(n);
  CAB_QUEUE.Get(2);
  Load("odd.cablist", std::string("\x0A\x03\xFA\x03\x00", 5));
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3, 3, 10})) << "unlisted cabs are skipped, a repeat comes again";
  EXPECT_EQ(CAB_QUEUE->CabNum, 10) << "the current cab row stays";
  EXPECT_EQ(FAV_QUEUE->CabNum, 3) << "the last listed cab of the file is the current favourite";
  // The unit reported a cab the list does not hold: the current row names it, not row 2.
  CAB_QUEUE.Clear();
  CAB_QUEUE->CabNum = 99;
  ASSERT_FALSE(CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum));
  Load("odd.cablist", "\x03");
  EXPECT_EQ(CAB_QUEUE->CabNum, 99) << "a dropped cab file still meets that cab";
  EXPECT_EQ(CAB_QUEUE->UserCab, 0);
}

TEST_F(Favourites, LoadWithoutListOrOfAnEmptyFileGivesNoFavourites) {
  FAV_QUEUE->CabNum = 3;
  FAV_QUEUE.Add();
  Load("some.cablist", "\x03");
  EXPECT_TRUE(FavouriteNumbers().empty()) << "before the list is fetched";
  ListCab(3);
  AddFromList(3);
  Load("empty.cablist", "");
  EXPECT_TRUE(FavouriteNumbers().empty());
  AddFromList(3);
  Load("largest.cablist", std::string(64 * 1024, '\0'));
  EXPECT_TRUE(FavouriteNumbers().empty()) << "64 KiB is still a favourites file";
  EXPECT_TRUE(screen.messages.empty());
}

// The favourites may exist nowhere else: a file that cannot be read leaves them and says why,
// at once, without waiting on a pipe or reading a device.
TEST_F(Favourites, AFileThatCannotBeReadKeepsTheFavouritesAndSaysWhy) {
  namespace fs = std::filesystem;
  const fs::path dir = "unreadable-favourites";
  fs::remove_all(dir);
  fs::create_directories(dir / "folder.cablist");
  test_support::MakeFifo(dir / "fifo.cablist");
  test_support::MakeSocket(dir / "socket.cablist");
  fs::create_symlink("/dev/zero", dir / "zero.cablist");
  test_support::MakeSparseFile(dir / "large.cablist", "\x03\x0A", 1000 * 1000);
  test_support::MakeSparseFile(dir / "just-over.cablist", "\x03", 64 * 1024 + 1);
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"missing.cablist", "The system cannot find the file specified."},
      {"fifo.cablist", "It is a named pipe, not a file."},
      {"zero.cablist", "It is a device, not a file."},
      {"folder.cablist", "It is a folder, not a file."},
      {"socket.cablist", "It is a socket, not a file."},
      {"large.cablist", "It is larger than 64 KiB, too large to be a favourites file."},
      {"just-over.cablist", "It is larger than 64 KiB, too large to be a favourites file."},
  };
  for (LONG n : {3, 10, 140}) {
    ListCab(n);
    AddFromList(n);
  }
  for (const auto& c : cases) {
    screen.messages.clear();
    const std::string path = (dir / c.file).string();
    screen.files = {path};
    LoadFavourites(ST);
    EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3, 10, 140})) << c.file;
    ASSERT_EQ(screen.messages.size(), 1u) << c.file;
    EXPECT_EQ(screen.messages[0].caption, "Load Favourite Cabs");
    EXPECT_EQ(screen.messages[0].text, "The favourites could not be loaded from " + path + ": " + c.reason);
  }
  fs::remove_all(dir);
}

TEST_F(Favourites, AddingTwiceAndCancelledDialogsChangeNothing) {
  ListCab(3);
  AddFromList(3);
  AddFromList(3);
  screen.files = {std::nullopt, std::nullopt};
  LoadFavourites(ST);
  SaveFavourites(ST);
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3}));
  EXPECT_EQ(screen.fileRequests.size(), 2u);
  EXPECT_TRUE(GLO::FileName.empty());
}

TEST_F(Favourites, CabsAboveTheFileRangeAreLeftOutAndNamed) {
  for (LONG n : {255, 256, 300}) {
    ListCab(n);
    AddFromList(n);
  }
  screen.files = {"wide.cablist"};
  SaveFavourites(ST);
  EXPECT_EQ(test_support::FileText("wide.cablist"), "\xFF");
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_NE(screen.messages[0].text.find("\r\n256  cab 256\r\n300  cab 300"), std::string::npos);
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{255, 256, 300})) << "the list itself keeps them";
}

TEST_F(Favourites, AFailedSaveIsSaidWithItsReason) {
  std::filesystem::create_directory("a-folder.cablist");
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"missing-folder/favs.cablist", "The system cannot find the file specified."},
      {"a-folder.cablist", "Access is denied."},
  };
  ListCab(3);
  AddFromList(3);
  for (const auto& c : cases) {
    screen.messages.clear();
    screen.files = {c.file};
    SaveFavourites(ST);
    ASSERT_EQ(screen.messages.size(), 1u) << c.file;
    EXPECT_EQ(screen.messages[0].caption, "Save Favourite Cabs");
    EXPECT_EQ(screen.messages[0].text, std::string("The favourites could not be saved to ") + c.file + ": " + c.reason);
    EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3}));
  }
}

// A save follows the settings file's rules: what the user keeps or what is not a file stays
// as it was and the message says why; through a link to a file that file is updated.
TEST_F(Favourites, ASaveLeavesWhatItMustNotReplaceAndWritesThroughALink) {
  namespace fs = std::filesystem;
  const fs::path dir = "save-targets";
  fs::remove_all(dir);
  fs::create_directories(dir);
  test_support::WriteFileText(dir / "kept.cablist", "\x0A");
  fs::permissions(dir / "kept.cablist", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  test_support::MakeFifo(dir / "fifo.cablist");
  fs::create_symlink("nowhere.cablist", dir / "dangling.cablist");
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"kept.cablist", "It is read-only, so it was left as it is."},
      {"fifo.cablist", "It is a named pipe, not a file."},
      {"dangling.cablist", "It is a link to a file that does not exist."},
  };
  ListCab(3);
  AddFromList(3);
  for (const auto& c : cases) {
    screen.messages.clear();
    const std::string path = (dir / c.file).string();
    screen.files = {path};
    SaveFavourites(ST);
    ASSERT_EQ(screen.messages.size(), 1u) << c.file;
    EXPECT_EQ(screen.messages[0].text, "The favourites could not be saved to " + path + ": " + c.reason);
  }
  EXPECT_EQ(test_support::FileText(dir / "kept.cablist"), "\x0A");
  EXPECT_EQ(fs::status(dir / "kept.cablist").permissions() & fs::perms::all, fs::perms(0444));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo.cablist"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.cablist"));
  EXPECT_FALSE(fs::exists(dir / "nowhere.cablist"));

  test_support::WriteFileText(dir / "real.cablist", "\x0A");
  fs::create_symlink("real.cablist", dir / "link.cablist");
  screen.messages.clear();
  screen.files = {(dir / "link.cablist").string()};
  SaveFavourites(ST);
  EXPECT_TRUE(screen.messages.empty());
  EXPECT_TRUE(fs::is_symlink(dir / "link.cablist"));
  EXPECT_EQ(test_support::FileText(dir / "real.cablist"), "\x03");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 5) << "nothing left beside the files";
  fs::permissions(dir / "kept.cablist", fs::perms::owner_write, fs::perm_options::add);
  fs::remove_all(dir);
}

}  // namespace
