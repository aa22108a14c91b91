#include "app/reply_dispatcher.h"

#include <string>
#include <variant>

#include "app/globals.h"
#include "app/sysex_reply.h"
#include "app/sysex_templates.h"
#include "app/user_cab.h"
#include "textrope/textrope.h"
#include "toolkit/debug_output.h"

namespace {

struct ApplyReply {
  ReplyView& view;

  // The device's current cab becomes the current row of both queues. For a cab the list does
  // not hold, the buffers name that cab as a factory cab without a name, so an upload dropped
  // now is refused rather than aimed at a cab we cannot name.
  void operator()(const sysex::CabNumberReply& reply) const {
    CAB_QUEUE.Clear();
    CAB_QUEUE->CabNum = reply.CabNum;
    view.HighlightCab(CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum) ? CAB_QUEUE.Pointer() : 0);
    FAV_QUEUE.Clear();
    FAV_QUEUE->CabNum = reply.CabNum;
    view.HighlightFavourite(FAV_QUEUE.Get(&FAV_QUEUE_ROW::CabNum) ? FAV_QUEUE.Pointer() : 0);
  }

  void operator()(const sysex::CabModeReply& reply) const {
    if (reply.Mode == sysex::CAB_MODE_TWO_SIDED) {
      view.ShowCabSide(true);
    } else {
      CAB::Side = 0;
      view.ShowCabSide(false);
    }
  }

  void operator()(const sysex::CabXYReply& reply) const {
    // One pair of radios serves both blocks.
    if (reply.Block == sysex::BLOCK_CAB1 || reply.Block == sysex::BLOCK_CAB2) CAB::Switch = reply.State;
    view.Display();
  }

  // A cab listed already (a unit repeating itself, or replies to an earlier Refresh still
  // waiting) is replaced, so the list holds each cab once, in cab order.
  void operator()(const sysex::CabListReply& reply) const {
    CAB_QUEUE->CabNum = reply.CabNum;
    const bool listed = CAB_QUEUE.Get(&CAB_QUEUE_ROW::CabNum);
    CAB_QUEUE_ROW& CQ = CAB_QUEUE.Buffer();
    CQ.NumLSB = reply.NumLSB;
    CQ.NumMSB = reply.NumMSB;
    CQ.CabNum = reply.CabNum;
    CQ.UserCab = UserCabOf(CQ.CabNum, GLO::UserCabOffset);
    CQ.Name = reply.Name;
    CQ.RawData = reply.RawHex;
    if (listed) {
      CAB_QUEUE.Put();
    } else {
      CAB_QUEUE.Add(&CAB_QUEUE_ROW::CabNum);
    }
  }

  void operator()(const sysex::StatusReply& reply) const {
    if (reply.Error == 0) return;
    kx_OutputDebugString("[Boxwright] SYSEX ERROR Command: " + std::to_string(reply.Command) +
                             ", Error: " + std::to_string(reply.Error),
                         1);
  }
};

}  // namespace

void ProcessReturnQueue(Textrope& ST, ReplyView& view) {
  const std::size_t pending = RETURN_QUEUE.Records();
  for (std::size_t position = 1; position <= pending; ++position) {
    RETURN_QUEUE.Get(position);
    const RETURN_QUEUE_ROW& RQ = RETURN_QUEUE.Buffer();
    if (auto reply = sysex::DecodeReply(ST, RQ.RawData, RQ.DataLen)) std::visit(ApplyReply{view}, *reply);
  }
  // Nothing arrives while the tick runs, so the rows handled are the first `pending`;
  // taking them off from the last keeps the work linear in the number of replies.
  for (std::size_t position = pending; position >= 1; --position) {
    RETURN_QUEUE.Get(position);
    RETURN_QUEUE.Delete();
  }
}
