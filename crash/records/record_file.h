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

// A stretch of a record file (one section), read only within its bounds: whatever offsets a
// damaged section holds, nothing before or after it is read.
class RecordSpan {
 public:
  // Holds a duplicate of the file's descriptor and the stretch; false when it cannot be
  // duplicated (nothing is held then).
  bool Use(const RecordFile& file, std::uint64_t offset, std::uint64_t size);
  void Forget();
  bool IsOpen() const { return file_.IsOpen(); }
  std::uint64_t Size() const { return size_; }

  // True only when all count bytes at `at` lie in the stretch and were read.
  bool Read(std::uint64_t at, void* into, std::size_t count) const;
  // The NUL-ended name at `at`, at most N - 1 characters (the rest cut), always NUL-ended.
  template <std::size_t N>
  bool ReadName(std::uint64_t at, char (&name)[N]) const {
    return ReadName(at, name, N - 1);
  }

 private:
  bool ReadName(std::uint64_t at, char* name, std::size_t limit) const;

  RecordFile file_;
  std::uint64_t offset_ = 0, size_ = 0;
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
