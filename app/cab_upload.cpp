#include "app/cab_upload.h"

#include <cstdint>
#include <string>

#include "app/cab_file_check.h"
#include "app/globals.h"
#include "app/midi_output.h"
#include "app/picked_file.h"
#include "platform/rt/dialogs.h"
#include "textrope/textrope.h"
#include "toolkit/clip.h"

namespace {

constexpr const char* kUploadErrorCaption = "Error Uploading Cab";
// A real cab file is about 11 KB; anything much larger would hold the port for hours.
constexpr std::int64_t kLargestCabFile = 1 << 20;

void Refuse(std::string_view text) { MESSAGE(text, kUploadErrorCaption, ICON::Asterisk, BUTTON::OK); }

}  // namespace

bool UploadDroppedCab(Textrope& ST, std::string_view path) {
  if (CAB_QUEUE->UserCab == 0) {
    Refuse("You cannot upload a cab into Factory slot!  Only into a user slot");
    return false;
  }
  const PickedFile file = LoadPickedFile(ST, std::string(path), kLargestCabFile);
  if (file.outcome == PickedOutcome::NotAFile) {
    Refuse("Cannot upload " + std::string(path) + ": " + file.reason);
    return false;
  }
  switch (JudgeCabFile(file.outcome == PickedOutcome::Loaded, ST.value)) {
    case CabFileVerdict::Invalid:
      Refuse("Invalid CAB File Detected!");
      return false;
    case CabFileVerdict::HardCodedSlot:
      Refuse("This cab file has a hard coded cabinet slot.  Cannot upload to currently selected slot.  Sorry!");
      return false;
    case CabFileVerdict::Sendable:
      break;
  }
  if (GLO::SafetyMode) {
    const std::string question = "Are you sure you want to over write the cab named:\r\n" +
                                 std::string(Clip(CAB_QUEUE->Name)) + "\r\nin slot " +
                                 std::to_string(CAB_QUEUE->UserCab) + " with this Cab File?";
    if (MESSAGE(question, "Cab Upload Confirmation", ICON::Exclamation, BUTTON::Yes | BUTTON::No, BUTTON::No) !=
        BUTTON::Yes) {
      return false;
    }
  }
  SendToMidiOutput(ST.value);
  return true;
}
