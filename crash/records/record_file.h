#pragma once
// A module file opened for bounded reads. Plain system calls only: usable in a signal handler.
// Only a regular file is ever read, and opening never waits: whatever stands at a path (a FIFO,
// a device) is refused, never read and never waited for.
#include <cstddef>
#include <cstdint>

namespace crash {

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { Close(); }

  // Opens the file (closing the one held); false when it cannot be read or is no regular file.
  bool Open(const char* path);
  // Holds a duplicate of a descriptor opened earlier (closing the one held).
  bool OpenDuplicate(int descriptor);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }

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
inline std::uint64_t ReadU64(const unsigned char* p) { return ReadU32(p) | std::uint64_t{ReadU32(p + 4)} << 32; }

// Whether the file's first 64 bytes are the header of a 64-bit little-endian ELF file.
inline bool IsElf64Header(const unsigned char (&header)[64]) {
  return header[0] == 0x7F && header[1] == 'E' && header[2] == 'L' && header[3] == 'F' && header[4] == 2 &&
         header[5] == 1;
}

}  // namespace crash
