#include "record_image.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

namespace {

constexpr std::uint32_t kHeaderSize = 56;
constexpr std::uint8_t kProcedureKind = 5;
// kind, size, name offset, rva, then padding to keep the records aligned.
constexpr std::uint32_t kSymbolRecordSize = 16;

class Image {
 public:
  std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint32_t value) {
    U8(value & 0xFF);
    U8(value >> 8 & 0xFF);
  }
  void U32(std::uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
  }
  void Text(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    U8(0);
  }
  void PutU32(std::uint32_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  std::vector<std::uint8_t> Take() {
    if (bytes_.size() > 0xFFFFFFFFu) throw std::runtime_error("debug records above 4 GiB");
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Names are read back at most 255 bytes long; longer ones are cut here rather than there.
std::string Clipped(const std::string& name) { return name.substr(0, 255); }

// Line numbers and module indexes are 16-bit in the line index.
std::uint32_t Short(std::uint32_t value) { return std::min<std::uint32_t>(value, 0xFFFF); }

}  // namespace

std::vector<std::uint8_t> BuildRecordImage(const DebugInfo& info) {
  if (info.modules.size() > 0xFFFF) throw std::runtime_error("more source files than the line index can name");
  Image image;
  for (std::uint32_t i = 0; i < kHeaderSize; ++i) image.U8(0);

  // String pool offsets first, so the symbol records can name them.
  std::map<std::string, std::uint32_t> nameOffsets;
  std::vector<std::string> pool;
  std::uint32_t poolSize = 0;
  for (const auto& procedure : info.procedures) {
    auto [it, added] = nameOffsets.try_emplace(Clipped(procedure.name), poolSize);
    if (added) {
      pool.push_back(it->first);
      poolSize += static_cast<std::uint32_t>(it->first.size()) + 1;
    }
  }

  const std::uint32_t procedureIndex = image.Size();
  for (std::size_t i = 0; i < info.procedures.size(); ++i) {
    image.U32(info.procedures[i].rva);
    image.U32(static_cast<std::uint32_t>(i) * kSymbolRecordSize);
  }
  const std::uint32_t lineIndex = image.Size();
  for (const auto& row : info.lines) {
    image.U32(row.rva);
    image.U16(Short(row.line));
    image.U16(row.module);
  }
  // Module line ranges: the first and last rva of each source file's lines.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges(info.modules.size(), {~0u, 0});
  for (const auto& row : info.lines) {
    ranges[row.module].first = std::min(ranges[row.module].first, row.rva);
    ranges[row.module].second = std::max(ranges[row.module].second, row.rva);
  }
  const std::uint32_t moduleNameOffsets = image.Size();
  std::uint32_t moduleNameSize = 0;
  for (const auto& name : info.modules) {
    image.U32(moduleNameSize);
    moduleNameSize += static_cast<std::uint32_t>(Clipped(name).size()) + 1;
  }
  const std::uint32_t moduleLineRanges = image.Size();
  for (const auto& [first, last] : ranges) {
    image.U32(first == ~0u ? 0 : first);
    image.U32(last);
  }
  const std::uint32_t typeOffsets = image.Size();  // no types are recorded
  const std::uint32_t symbolArea = image.Size();
  for (const auto& procedure : info.procedures) {
    image.U8(kProcedureKind);
    image.U32(procedure.size);
    image.U32(nameOffsets.at(Clipped(procedure.name)));
    image.U32(procedure.rva);
    for (std::uint32_t pad = 13; pad < kSymbolRecordSize; ++pad) image.U8(0);
  }
  const std::uint32_t stringPool = image.Size();
  for (const auto& name : pool) image.Text(name);
  const std::uint32_t moduleNamePool = image.Size();
  for (const auto& name : info.modules) image.Text(Clipped(name));

  const std::uint32_t header[] = {
      0,  // tag, below
      static_cast<std::uint32_t>(info.modules.size()),
      moduleNameOffsets,
      moduleNamePool,
      moduleLineRanges,
      lineIndex,  // the line table is the line index itself
      static_cast<std::uint32_t>(info.lines.size()),
      lineIndex,
      stringPool,
      0,  // type count
      typeOffsets,
      symbolArea,
      static_cast<std::uint32_t>(info.procedures.size()),
      procedureIndex,
  };
  for (std::uint32_t i = 1; i < 14; ++i) image.PutU32(4 * i, header[i]);
  std::vector<std::uint8_t> bytes = image.Take();
  std::memcpy(bytes.data(), "QVDB", 4);
  return bytes;
}

std::vector<std::uint8_t> BuildInlinedCallImage(const DebugInfo& info) {
  constexpr std::uint32_t kInlinedHeaderSize = 20;
  constexpr std::uint32_t kNoParent = 0xFFFFFFFF;
  Image image;
  for (std::uint32_t i = 0; i < kInlinedHeaderSize; ++i) image.U8(0);

  // Only the calls that some code lies in, and those they lie in, numbered anew in their order.
  std::vector<std::uint32_t> number(info.inlinedCalls.size(), kNoParent);
  for (const auto& range : info.inlinedRanges)
    for (std::int64_t at = range.call; at >= 0 && number[static_cast<std::size_t>(at)] == kNoParent;
         at = info.inlinedCalls[static_cast<std::size_t>(at)].parent)
      number[static_cast<std::size_t>(at)] = 0;
  std::vector<const InlinedCall*> kept;
  for (std::size_t i = 0; i < number.size(); ++i) {
    if (number[i] == kNoParent) continue;
    number[i] = static_cast<std::uint32_t>(kept.size());
    kept.push_back(&info.inlinedCalls[i]);
  }

  const std::uint32_t rangeTable = image.Size();
  for (const auto& range : info.inlinedRanges) {
    image.U32(range.rva);
    image.U32(range.end);
    image.U32(number[range.call]);
  }
  // The calls as a tree: each names the call it lies in, so calls shared by many chains are
  // written once.
  std::map<std::string, std::uint32_t> nameOffsets;
  std::vector<std::string> pool;
  std::uint32_t poolSize = 0;
  const std::uint32_t callTable = image.Size();
  for (const InlinedCall* each : kept) {
    const InlinedCall& call = *each;
    auto [it, added] = nameOffsets.try_emplace(Clipped(call.name), poolSize);
    if (added) {
      pool.push_back(it->first);
      poolSize += static_cast<std::uint32_t>(it->first.size()) + 1;
    }
    image.U32(it->second);
    image.U32(call.callLine);
    image.U32(call.callModule);
    image.U32(call.parent < 0 ? kNoParent : number[static_cast<std::size_t>(call.parent)]);
  }
  const std::uint32_t namePool = image.Size();
  for (const auto& name : pool) image.Text(name);

  image.PutU32(4, static_cast<std::uint32_t>(info.inlinedRanges.size()));
  image.PutU32(8, rangeTable);
  image.PutU32(12, callTable);
  image.PutU32(16, namePool);
  std::vector<std::uint8_t> bytes = image.Take();
  std::memcpy(bytes.data(), "QVIC", 4);
  return bytes;
}

std::vector<std::uint8_t> BuildDebugDirectory(std::uint32_t offset, std::uint32_t size) {
  Image entry;
  entry.U32(0);  // Characteristics
  entry.U32(0);  // TimeDateStamp
  entry.U16(0);  // MajorVersion
  entry.U16(0);  // MinorVersion
  std::vector<std::uint8_t> bytes = entry.Take();
  bytes.insert(bytes.end(), {'Q', 'V', 'D', 'B'});  // Type
  Image rest;
  rest.U32(size);    // SizeOfData
  rest.U32(0);       // AddressOfRawData: never loaded
  rest.U32(offset);  // PointerToRawData
  std::vector<std::uint8_t> tail = rest.Take();
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}
