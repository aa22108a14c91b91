#include "app/cab_menus.h"

#include <string>

#include "app/favourites.h"
#include "app/globals.h"
#include "app/main_window_def.h"
#include "app/rename_cab.h"
#include "app/sysex_senders.h"
#include "app/sysex_templates.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/display.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"

namespace {

void RenameCurrentCab(Textrope& ST) {
  if (CAB_QUEUE->UserCab > sysex::RENAME_SLOT_LIMIT) {
    MESSAGE("User cab " + std::to_string(CAB_QUEUE->UserCab) +
                " cannot be renamed from here: the unit's rename message reaches user cabs 1 to " +
                std::to_string(sysex::RENAME_SLOT_LIMIT) + " only.",
            "Rename Cabinet", ICON::Exclamation, BUTTON::OK);
    return;
  }
  if (RenameCab(CAB_QUEUE->Name) != 1) return;
  GLO::CabToSend = CAB_QUEUE->UserCab - 1;
  if (RenameUserCabinet(ST)) POST(EVENT::Accepted, ctl::REFRESHBUTTON);
}

}  // namespace

void AllCabsMenu(Textrope& ST, std::size_t highlighted) {
  const bool haveRow = highlighted != 0 && CAB_QUEUE.Get(highlighted);
  if (haveRow) GLO::CabToSend = CAB_QUEUE->CabNum - 1;
  const bool userCab = haveRow && CAB_QUEUE->UserCab != 0;
  const int choice = POPUP(userCab ? "Select On Axe-FX|Add To Favourites|Rename Cabinet"
                                   : "Select On Axe-FX|Add To Favourites");
  if (!haveRow) return;
  switch (choice) {
    case 1:
      SelectCabOnAxeFX(ST);
      break;
    case 2:
      AddCabToFavourites();
      break;
    case 3:
      RenameCurrentCab(ST);
      break;
    default:
      break;
  }
}

void FavouritesMenu(Textrope& ST, std::size_t highlighted) {
  const bool haveRow = highlighted != 0 && FAV_QUEUE.Get(highlighted);
  if (haveRow) GLO::CabToSend = FAV_QUEUE->CabNum - 1;
  switch (POPUP("Select On Axe-FX|-|Remove From Favourites|Clear Favourites List|-|Load Favourites From File...|"
                "Save Favourites To File...")) {
    case 1:
      if (haveRow) SelectCabOnAxeFX(ST);
      break;
    case 2:
      if (haveRow) {
        FAV_QUEUE.Delete();
        DISPLAY();
      }
      break;
    case 3:
      if (MESSAGE("Clear all cabs from Favourites list?\r\nThis won't affect anything on the Axe-FX.",
                  "Confirm Clear Favourites", ICON::Exclamation, BUTTON::Yes | BUTTON::No, BUTTON::No) == BUTTON::Yes) {
        FAV_QUEUE.Free();
        DISPLAY();
      }
      break;
    case 4:
      LoadFavourites(ST);
      break;
    case 5:
      SaveFavourites(ST);
      break;
    default:
      break;
  }
}
