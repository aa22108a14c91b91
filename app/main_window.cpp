#include "app/main_window.h"

#include <initializer_list>
#include <string>

#include "app/about_window.h"
#include "app/cab_menus.h"
#include "app/cab_upload.h"
#include "app/globals.h"
#include "app/librarian_window.h"
#include "app/main_window_def.h"
#include "app/midi_connection.h"
#include "app/reply_dispatcher.h"
#include "app/sysex_senders.h"
#include "platform/framework/window_resize.h"
#include "platform/midi/mmsystem.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "textrope/textrope.h"
#include "toolkit/message_alerts.h"

namespace {

// The drivers' notifications, in the order they are alerted.
constexpr UINT kMidiNotifications[] = {MM_MOM_OPEN,  MM_MOM_CLOSE, MM_MOM_DONE,     MM_MIM_OPEN,
                                       MM_MIM_CLOSE, MM_MIM_DATA,  MM_MIM_MOREDATA, MM_MIM_LONGDATA,
                                       MM_MIM_ERROR, MM_MIM_LONGERROR};

class MainWindow final : public LibrarianWindow, private ReplyView {
 public:
  MainWindow() : LibrarianWindow("Main") {}

  int Init() override {
    int level = LibrarianWindow::Init();
    if (Opened) resizer_.Resize();
    return level;
  }

  int TakeEvent() override {
    int level = LibrarianWindow::TakeEvent();
    // The drivers' notifications come as the toolkit's alert event; its session events are
    // received and ignored.
    if (EVENT() == KX_EVENT_BASE) {
      if (HandleMidiNotification(static_cast<UINT>(Hookwatch()), LOC_MIDIPacketCount)) {
        DISPLAY(ctl::LOC::MIDIPACKETCOUNT);
      }
      rt::SetProp(ctl::CONNECTBUTTON, PROP::Text, ConnectButtonText());
    }
    return level;
  }

  int TakeWindowEvent() override {
    int level = LibrarianWindow::TakeWindowEvent();
    switch (EVENT()) {
      case EVENT::OpenWindow:
        FillDeviceLists();
        if (GLO::MIDIInDevice != 0) rt::SetProp(ctl::INDEVICELIST, PROP::Selected, GLO::MIDIInDevice);
        if (GLO::MIDIOutDevice != 0) rt::SetProp(ctl::OUTDEVICELIST, PROP::Selected, GLO::MIDIOutDevice);
        DISPLAY();
        break;
      case EVENT::Timer:
        LOC_MIDIPacketCount = static_cast<LONG>(RETURN_QUEUE.Records());
        DISPLAY(ctl::LOC::MIDIPACKETCOUNT);
        ProcessReturnQueue(ST, *this);
        if (GLO::RefreshFlag) {
          POST(EVENT::Accepted, ctl::CAB::NUMBER);
          GLO::RefreshFlag = 0;
        }
        break;
      default:
        break;
    }
    return level;
  }

  int TakeAccepted() override {
    int level = LibrarianWindow::TakeAccepted();
    switch (FIELD()) {
      case ctl::INDEVICELIST:
        GLO::MIDIInDevice = static_cast<BYTE>(CHOICE(ctl::INDEVICELIST));
        break;
      case ctl::OUTDEVICELIST:
        GLO::MIDIOutDevice = static_cast<BYTE>(CHOICE(ctl::OUTDEVICELIST));
        break;
      case ctl::CONNECTBUTTON:
        UPDATE();
        if (GLO::MIDIConnected) {
          DisconnectMidi();
        } else {
          ConnectMidi(Window()->Frame(), CHOICE(ctl::INDEVICELIST), CHOICE(ctl::OUTDEVICELIST));
          POST(EVENT::Accepted, ctl::REFRESHBUTTON);
        }
        break;
      case ctl::CAB::NUMBER:
        GetCabinetNumber(ST);
        GetCabinetXY(ST);
        GetCabinetMode(ST);
        break;
      case ctl::CAB::SWITCH:
        SetCabinetXY(ST);
        GetCabinetNumber(ST);
        GetCabinetMode(ST);
        break;
      case ctl::CAB::SIDE:
        GetCabinetNumber(ST);
        break;
      case ctl::REFRESHBUTTON:
        UPDATE();
        if (midilink::HMIDIOUT != nullptr) {
          CAB_QUEUE.Free();
          LOC_MIDIPacketCount = 0;
          RequestCabList(ST);
          GLO::RefreshFlag = 1;
          DISPLAY();
        }
        break;
      case ctl::CLOSEBUTTON:
        POST(EVENT::CloseWindow);
        break;
      case ctl::ABOUTBUTTON:
        UPDATE();
        AboutWindow();
        Reset();
        break;
      default:
        break;
    }
    return level;
  }

  int TakeNewSelection() override {
    int level = LibrarianWindow::TakeNewSelection();
    // A right click only moves the highlight for its menu: opening a menu must not change the
    // unit's sound. The menu's own "Select On Axe-FX" sends.
    if (KEYCODE() == KEY::MouseRight) return level;
    switch (FIELD()) {
      case ctl::ALLCABLIST:
        if (CAB_QUEUE.Get(static_cast<std::size_t>(CHOICE(ctl::ALLCABLIST)))) {
          GLO::CabToSend = CAB_QUEUE->CabNum - 1;
          SelectCabOnAxeFX(ST);
        }
        break;
      case ctl::FAVCABLIST:
        if (FAV_QUEUE.Get(static_cast<std::size_t>(CHOICE(ctl::FAVCABLIST)))) {
          GLO::CabToSend = FAV_QUEUE->CabNum - 1;
          SelectCabOnAxeFX(ST);
        }
        break;
      default:
        break;
    }
    return level;
  }

  int TakeFieldEvent() override {
    int level = LibrarianWindow::TakeFieldEvent();
    if (EVENT() == EVENT::Drop && FIELD() == ctl::SHEET1) {
      if (UploadDroppedCab(ST, DROPID())) POST(EVENT::Accepted, ctl::REFRESHBUTTON);
    } else if (EVENT() == EVENT::AlertKey && KEYCODE() == KEY::MouseRight) {
      if (FIELD() == ctl::ALLCABLIST) AllCabsMenu(ST, static_cast<std::size_t>(CHOICE(ctl::ALLCABLIST)));
      if (FIELD() == ctl::FAVCABLIST) FavouritesMenu(ST, static_cast<std::size_t>(CHOICE(ctl::FAVCABLIST)));
    }
    return level;
  }

 private:
  const rt::WindowDef& Definition() const override { return def_; }

  // The drivers' notifications are alerted here, and the resizer measures the designed
  // window, before the saved geometry is restored.
  void Opening() override {
    for (UINT message : kMidiNotifications) WinAlert(message, std::nullopt, 6);
    SetAnchors();
    AddItem(resizer_);
  }

  // ReplyView
  void HighlightCab(std::size_t position) override {
    rt::SetProp(ctl::ALLCABLIST, PROP::Selected, static_cast<long long>(position));
  }
  void HighlightFavourite(std::size_t position) override {
    rt::SetProp(ctl::FAVCABLIST, PROP::Selected, static_cast<long long>(position));
  }
  void ShowCabSide(bool show) override {
    if (show) {
      UNHIDE(ctl::CAB::SIDE);
    } else {
      HIDE(ctl::CAB::SIDE);
      DISPLAY(ctl::CAB::SIDE);
    }
  }
  void Display() override { DISPLAY(); }

  void SetAnchors() {
    using namespace Resize;
    resizer_.Init(*Window());
    resizer_.SetStrategy(ctl::MIDIDEVICEGROUP, FixLeft | FixTop, ConstantRight | LockHeight);
    for (int field : {ctl::MINIINPROMPT, ctl::INDEVICELIST, ctl::MIDIOUTPROMPT, ctl::OUTDEVICELIST, ctl::CAB::NUMBER,
                      ctl::CAB::SWITCH, ctl::CAB::SIDE, ctl::OFFSETGROUP}) {
      resizer_.SetStrategy(field, FixLeft | FixTop, LockWidth | LockHeight);
    }
    for (int field : {ctl::CONNECTBUTTON, ctl::REFRESHBUTTON})
      resizer_.SetStrategy(field, FixRight | FixTop, LockWidth | LockHeight);
    resizer_.SetStrategy(ctl::SHEET1, FixLeft | FixTop, ConstantRight | ConstantBottom);
    for (int field : {ctl::GLO::SAFETYMODE, ctl::ABOUTBUTTON})
      resizer_.SetStrategy(field, FixLeft | FixBottom, LockWidth | LockHeight);
    for (int field : {ctl::LOC::MIDIPACKETCOUNT, ctl::CLOSEBUTTON})
      resizer_.SetStrategy(field, FixRight | FixBottom, LockWidth | LockHeight);
  }

  Textrope ST;
  LONG LOC_MIDIPacketCount = 0;
  WindowResizeClass resizer_;
  rt::WindowDef def_ = MainWindowDef(LOC_MIDIPacketCount);
};

}  // namespace

void Main() {
  MainWindow ThisWindow;
  ThisWindow.Run();
}
