// What a unit may send, from the byte stream to the cab list: the stream parser, the one
// 16384-byte input buffer the librarian queues (a long message fills it and goes on in the
// next), the reply queue, and the replies applied on the timer tick.
// Rules: every tick empties the reply queue; the cab list holds each cab once, in cab order;
// every highlight names a row that exists; the favourites are never touched by a reply.
#include <cstdint>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/reply_dispatcher.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/midi/stream_parser.h"
#include "platform/win/system/debug_output.h"
#include "textrope/textrope.h"

namespace {

class CheckingView final : public ReplyView {
 public:
  void HighlightCab(std::size_t position) override { FUZZ_CHECK(position <= CAB_QUEUE.Records()); }
  void HighlightFavourite(std::size_t position) override { FUZZ_CHECK(position <= FAV_QUEUE.Records()); }
  void ShowCabSide(bool) override {}
  void Display() override {}
};

// The input buffer handed back full or at the end of a message becomes a reply-queue row,
// as the librarian takes it; a message cut by a status byte starts the buffer again.
class InputBuffer {
 public:
  void Take(const midi::InputItem& item) {
    if (item.kind == midi::InputItem::Kind::BrokenSysEx) bytes_.clear();
    if (item.kind != midi::InputItem::Kind::SysEx) return;
    for (BYTE b : item.bytes) {
      bytes_ += static_cast<char>(b);
      if (bytes_.size() == midilink::kInputBufferSize) Return();
    }
    if (item.complete && !bytes_.empty()) Return();
  }

 private:
  void Return() {
    RETURN_QUEUE->DataLen = static_cast<LONG>(bytes_.size());
    RETURN_QUEUE->RawData = bytes_;
    RETURN_QUEUE.Add();
    bytes_.clear();
  }
  std::string bytes_;
};

void CheckCabList() {
  for (std::size_t i = 2; i <= CAB_QUEUE.Records(); ++i) {
    FUZZ_CHECK(CAB_QUEUE.Peek(i - 1).CabNum < CAB_QUEUE.Peek(i).CabNum,
               std::to_string(CAB_QUEUE.Peek(i - 1).CabNum) + " before " + std::to_string(CAB_QUEUE.Peek(i).CabNum));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  win::SetDebugSink([](std::string_view) {});
  ResetLibrarianState();
  fuzz::Input input(data, size);
  GLO::UserCabOffset = static_cast<LONG>(input.Word());
  const std::size_t tickEvery = 1 + input.Below(64);
  const std::string stream = input.Rest();

  for (LONG cab : {1, 140}) {
    FAV_QUEUE->CabNum = cab;
    FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
  }
  midi::StreamParser parser;
  InputBuffer buffer;
  CheckingView view;
  Textrope ST;
  std::vector<midi::InputItem> items;
  for (std::size_t at = 0; at < stream.size(); at += tickEvery) {
    const std::string chunk = stream.substr(at, tickEvery);
    items.clear();
    parser.Feed(std::span(reinterpret_cast<const BYTE*>(chunk.data()), chunk.size()), items);
    for (const auto& item : items) buffer.Take(item);
    ProcessReturnQueue(ST, view);
    FUZZ_CHECK(RETURN_QUEUE.Records() == 0);
    CheckCabList();
    FUZZ_CHECK(FAV_QUEUE.Records() == 2);
  }
  win::SetDebugSink({});
  return 0;
}
