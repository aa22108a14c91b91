#pragma once
// Replies of the unit as they arrive in RETURN_QUEUE, for tests and benchmarks of the
// reply dispatcher.
#include <string>
#include <string_view>

#include "app/globals.h"
#include "app/reply_dispatcher.h"

namespace app_test {

// A cab-list reply: the cab index in two 7-bit bytes, the name, a checksum (never tested).
inline std::string CabListReply(int index, std::string_view name) {
  std::string reply = {'\xF0', '\x00', '\x01', '\x74', '\x03', '\x12', static_cast<char>(index & 0x7F),
                       static_cast<char>((index >> 7) & 0x7F)};
  return reply.append(name).append({'\0', '\xF7'});
}

// Queues a received message of which the driver recorded the first dataLen bytes (all of them
// by default); the rest stands for stale bytes of the shared input buffer.
inline void Arrive(std::string bytes, LONG dataLen = -1) {
  RETURN_QUEUE->DataLen = dataLen < 0 ? static_cast<LONG>(bytes.size()) : dataLen;
  RETURN_QUEUE->RawData = std::move(bytes);
  RETURN_QUEUE.Add();
}

// A window that shows nothing.
class QuietView final : public ReplyView {
 public:
  void HighlightCab(std::size_t) override {}
  void HighlightFavourite(std::size_t) override {}
  void ShowCabSide(bool) override {}
  void Display() override {}
};

}  // namespace app_test
