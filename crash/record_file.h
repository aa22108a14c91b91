#pragma once
// A module file opened for bounded reads. Plain system calls only: usable in a signal handler.
#include <cstddef>
#include <cstdint>

namespace crash {

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { Close(); }

  // Opens the file (closing the one held); false when it cannot be read.
  bool Open(const char* path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Reads up to count bytes at offset; the count read (short at the end of the file), or -1.
  long ReadAt(std::uint64_t offset, void* into, std::size_t count) const;
  // True only when all count bytes were read.
  bool ReadExactly(std::uint64_t offset, void* into, std::size_t count) const {
    return ReadAt(offset, into, count) == static_cast<long>(count);
  }

 private:
  int fd_ = -1;
};

// Little-endian numbers of the record layout.
inline std::uint32_t ReadU32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint16_t ReadU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace crash
