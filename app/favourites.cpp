#include "app/favourites.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/picked_file.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "textrope/textrope.h"

namespace {

constexpr const char* kCabListFilter = "Cabs List (*.cablist)|*.cablist|All Files (*.*)|*.*";
// One byte a favourite: a real file holds at most a few hundred.
constexpr std::int64_t kLargestFavouritesFile = 64 * 1024;
// The largest cab number a favourites file can hold.
constexpr LONG kLargestStorableCab = 255;

void AddFavouriteFromCurrentCab() {
  FAV_QUEUE_ROW& FQ = FAV_QUEUE.Buffer();
  FQ.CabNum = CAB_QUEUE->CabNum;
  FQ.UserCab = CAB_QUEUE->UserCab;
  FQ.Name = CAB_QUEUE->Name;
  FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
}

// A queue's current row, put back once the queue has been walked: the same position and
// the buffer as it was, which after a failed look-up holds a row the queue does not.
template <typename Row>
class CurrentRow {
 public:
  explicit CurrentRow(rt::Queue<Row>& queue) : queue_(queue), position_(queue.Pointer()), row_(queue.Buffer()) {}
  void PutBack() {
    if (position_ != 0) queue_.Get(position_);
    queue_.Buffer() = row_;
  }

 private:
  rt::Queue<Row>& queue_;
  std::size_t position_;
  Row row_;
};

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
  // The favourites may be the user's only copy, so a file that cannot be read leaves them.
  const PickedFile picked = LoadPickedFile(ST, GLO::FileName, kLargestFavouritesFile);
  if (picked.outcome != PickedOutcome::Loaded) {
    const std::string reason = picked.outcome == PickedOutcome::TooLarge
                                   ? "It is larger than 64 KiB, too large to be a favourites file."
                                   : picked.reason;
    MESSAGE("The favourites could not be loaded from " + GLO::FileName + ": " + reason, "Load Favourite Cabs",
            ICON::Exclamation, BUTTON::OK);
    return;
  }
  FAV_QUEUE.Free();
  CurrentRow currentCab(CAB_QUEUE);
  // A file names only the 256 numbers a byte can hold, so counting them first keeps a large
  // wrong file picked through "All Files" to one pass; a number the file names twice loads
  // twice, as the file says, and the rows come in cab-number order.
  const std::string file = ST.GetValue();
  std::array<std::size_t, 256> timesNamed{};
  for (unsigned char b : file) ++timesNamed[b];
  std::array<bool, 256> listed{};
  for (std::size_t number = 0; number < timesNamed.size(); ++number) {
    if (timesNamed[number] == 0) continue;
    CAB_QUEUE->CabNum = static_cast<LONG>(number);
    if (!CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum)) continue;
    listed[number] = true;
    for (std::size_t n = 0; n < timesNamed[number]; ++n) AddFavouriteFromCurrentCab();
  }
  // As when the file is read byte by byte, the favourite it names last is the current row.
  auto last = std::find_if(file.rbegin(), file.rend(), [&](char b) { return listed[static_cast<unsigned char>(b)]; });
  if (last != file.rend()) {
    FAV_QUEUE->CabNum = static_cast<unsigned char>(*last);
    FAV_QUEUE.Get(&FAV_QUEUE_ROW::CabNum);
  }
  currentCab.PutBack();
  DISPLAY();
}

void SaveFavourites(Textrope& ST) {
  if (!FILEDIALOG("Save Favourite Cabs", GLO::FileName, kCabListFilter,
                  FILEDLG::Save | FILEDLG::KeepDir | FILEDLG::LongName | FILEDLG::OverwritePrompt, "cablist")) {
    return;
  }
  ST.Free();
  CurrentRow currentFavourite(FAV_QUEUE);
  std::vector<FAV_QUEUE_ROW> leftOut;
  for (std::size_t i = 1; i <= FAV_QUEUE.Records(); ++i) {
    FAV_QUEUE.Get(i);
    if (FAV_QUEUE->CabNum > kLargestStorableCab) {
      leftOut.push_back(FAV_QUEUE.Buffer());
      continue;
    }
    ST.AppendBinary(FAV_QUEUE->CabNum, 1);
  }
  // The file is the only place favourites outlive the program, so a failed write is said.
  bool saved = ST.SaveFile(GLO::FileName, 0) != 0;
  currentFavourite.PutBack();
  if (!saved) {
    MESSAGE("The favourites could not be saved to " + GLO::FileName + ": " + FailureReason(ST), "Save Favourite Cabs",
            ICON::Exclamation, BUTTON::OK);
    return;
  }
  if (!leftOut.empty()) {
    MESSAGE("A favourites file holds cab numbers up to 255 only, so these favourites were not saved:" +
                Listed(leftOut),
            "Save Favourite Cabs", ICON::Exclamation, BUTTON::OK);
  }
}
