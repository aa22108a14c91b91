#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/favourites.h"
#include "app/globals.h"
#include "tests/app/answering_screen.h"
#include "textrope/textrope.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ListCab(LONG cabNum, LONG userCab, const std::string& name) {
  CAB_QUEUE->CabNum = cabNum;
  CAB_QUEUE->UserCab = userCab;
  CAB_QUEUE->Name = name;
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
  app_test::AnsweringScreen& screen = app_test::UseAnsweringScreen();
  Textrope ST;
};

TEST_F(Favourites, LoadTakesEveryListedByteInFileOrder) {
  for (LONG n : {3, 10}) ListCab(n, 0, "c");
  std::ofstream("odd.cablist", std::ios::binary) << std::string("\x0A\x03\xFA\x03\x00", 5);
  screen.files = {"odd.cablist"};
  LoadFavourites(ST);
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3, 3, 10})) << "unlisted cabs are skipped, repeats kept";
}

TEST_F(Favourites, LoadWithoutListOrFileGivesNoFavourites) {
  std::ofstream("some.cablist", std::ios::binary) << "\x03";
  std::ofstream("empty.cablist", std::ios::binary) << "";
  ListCab(3, 0, "c");
  FAV_QUEUE->CabNum = 3;
  FAV_QUEUE.Add();
  struct {
    const char* file;
    bool listFetched;
  } cases[] = {{"some.cablist", false}, {"empty.cablist", true}, {"missing.cablist", true}};
  for (const auto& c : cases) {
    if (!c.listFetched) CAB_QUEUE.Free();
    if (c.listFetched && CAB_QUEUE.Records() == 0) ListCab(3, 0, "c");
    FAV_QUEUE->CabNum = 3;
    FAV_QUEUE.Add();
    screen.files = {c.file};
    LoadFavourites(ST);
    EXPECT_EQ(FAV_QUEUE.Records(), 0u) << c.file;
  }
}

TEST_F(Favourites, CancelledDialogsChangeNothing) {
  ListCab(3, 0, "c");
  AddFromList(3);
  screen.files = {std::nullopt, std::nullopt};
  LoadFavourites(ST);
  SaveFavourites(ST);
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{3}));
  EXPECT_FALSE(std::filesystem::exists(GLO::FileName.empty() ? "x" : GLO::FileName));
}

TEST_F(Favourites, CabsAboveTheFileRangeAreLeftOutAndNamed) {
  for (LONG n : {255, 256, 300}) ListCab(n, n - 130, "cab " + std::to_string(n));
  for (LONG n : {255, 256, 300}) AddFromList(n);
  screen.files = {"wide.cablist"};
  SaveFavourites(ST);
  EXPECT_EQ(ReadFile("wide.cablist"), "\xFF");
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_NE(screen.messages[0].text.find("256  cab 256"), std::string::npos);
  EXPECT_NE(screen.messages[0].text.find("300  cab 300"), std::string::npos);
  EXPECT_EQ(FavouriteNumbers(), (std::vector<LONG>{255, 256, 300})) << "the list itself keeps them";
}

}  // namespace
