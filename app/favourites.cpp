#include "app/favourites.h"

#include <string>
#include <vector>

#include "app/globals.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "textrope/textrope.h"

namespace {

constexpr const char* kCabListFilter = "Cabs List (*.cablist)|*.cablist|All Files (*.*)|*.*";

void AddFavouriteFromCurrentCab() {
  FAV_QUEUE_ROW& FQ = FAV_QUEUE.Buffer();
  FQ.CabNum = CAB_QUEUE->CabNum;
  FQ.UserCab = CAB_QUEUE->UserCab;
  FQ.Name = CAB_QUEUE->Name;
  FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
}

std::string Listed(const std::vector<FAV_QUEUE_ROW>& favourites) {
  std::string text;
  for (const auto& f : favourites) text += "\r\n" + std::to_string(f.CabNum) + "  " + f.Name;
  return text;
}

}  // namespace

void AddCabToFavourites() {
  FAV_QUEUE->CabNum = CAB_QUEUE->CabNum;
  if (!FAV_QUEUE.Get(&FAV_QUEUE_ROW::CabNum)) AddFavouriteFromCurrentCab();
  DISPLAY();
}

void LoadFavourites(Textrope& ST) {
  if (!FILEDIALOG("Load Favourite Cabs", GLO::FileName, kCabListFilter,
                  FILEDLG::KeepDir | FILEDLG::LongName | FILEDLG::MustExist)) {
    return;
  }
  ST.Free();
  FAV_QUEUE.Free();
  const std::size_t currentCab = CAB_QUEUE.Pointer();
  const CAB_QUEUE_ROW currentCabRow = CAB_QUEUE.Buffer();
  // An unreadable or empty file leaves ST empty: no favourites.
  ST.LoadFile(GLO::FileName, 0, 0);
  for (unsigned char b : ST.GetValue()) {
    CAB_QUEUE->CabNum = b;
    if (CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum)) AddFavouriteFromCurrentCab();
  }
  if (currentCab != 0) {
    CAB_QUEUE.Get(currentCab);
  } else {
    CAB_QUEUE.Buffer() = currentCabRow;
  }
  DISPLAY();
}

void SaveFavourites(Textrope& ST) {
  if (!FILEDIALOG("Save Favourite Cabs", GLO::FileName, kCabListFilter,
                  FILEDLG::Save | FILEDLG::KeepDir | FILEDLG::LongName | FILEDLG::OverwritePrompt, "cablist")) {
    return;
  }
  ST.Free();
  const std::size_t currentFavourite = FAV_QUEUE.Pointer();
  const FAV_QUEUE_ROW currentFavouriteRow = FAV_QUEUE.Buffer();
  std::vector<FAV_QUEUE_ROW> leftOut;
  for (std::size_t i = 1; i <= FAV_QUEUE.Records(); ++i) {
    FAV_QUEUE.Get(i);
    if (FAV_QUEUE->CabNum > kLargestStorableCab) {
      leftOut.push_back(FAV_QUEUE.Buffer());
      continue;
    }
    ST.AppendBinary(FAV_QUEUE->CabNum, 1);
  }
  ST.SaveFile(GLO::FileName, 0);
  if (currentFavourite != 0) {
    FAV_QUEUE.Get(currentFavourite);
  } else {
    FAV_QUEUE.Buffer() = currentFavouriteRow;
  }
  if (!leftOut.empty()) {
    MESSAGE("A favourites file holds cab numbers up to 255 only, so these favourites were not saved:" +
                Listed(leftOut),
            "Save Favourite Cabs", ICON::Exclamation, BUTTON::OK);
  }
}
