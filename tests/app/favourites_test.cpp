#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/favourites.h"
#include "app/globals.h"
#include "tests/app/answering_screen.h"
#include "tests/support/file_text.h"
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

TEST_F(Favourites, LoadWithoutListOrFileGivesNoFavourites) {
  FAV_QUEUE->CabNum = 3;
  FAV_QUEUE.Add();
  Load("some.cablist", "\x03");
  EXPECT_TRUE(FavouriteNumbers().empty()) << "before the list is fetched";
  ListCab(3);
  for (const char* file : {"empty.cablist", "missing.cablist"}) {
    AddFromList(3);
    screen.files = {file};
    LoadFavourites(ST);
    EXPECT_TRUE(FavouriteNumbers().empty()) << file;
  }
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

}  // namespace
