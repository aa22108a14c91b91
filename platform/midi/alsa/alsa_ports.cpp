// Open ALSA raw MIDI ports: input polled with a wake-up descriptor, output written in chunks.
#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/midi/alsa/alsa_backend.h"
#include "platform/midi/alsa/alsa_quiet.h"
#include "platform/midi/alsa/chunked_writer.h"

namespace midi {

namespace {

MMRESULT OpenError(int err) {
  switch (-err) {
    case EBUSY: return MMSYSERR_ALLOCATED;
    case ENOENT:
    case ENODEV:
    case ENXIO: return MMSYSERR_NODRIVER;
    case ENOMEM: return MMSYSERR_NOMEM;
    default: return MMSYSERR_ERROR;
  }
}

// The port's poll descriptors, with room for one more at the end.
std::vector<pollfd> Descriptors(snd_rawmidi_t* port, short events) {
  int count = snd_rawmidi_poll_descriptors_count(port);
  std::vector<pollfd> fds(static_cast<size_t>(std::max(count, 0)) + 1);
  int filled = snd_rawmidi_poll_descriptors(port, fds.data(), static_cast<unsigned>(count));
  fds.resize(static_cast<size_t>(std::max(filled, 0)) + 1);
  for (size_t i = 0; i + 1 < fds.size(); ++i) fds[i].events = events;
  return fds;
}

class AlsaInput : public InputPort {
 public:
  AlsaInput(snd_rawmidi_t* port, int wake) : port_(port), wake_(wake) {}
  ~AlsaInput() override {
    snd_rawmidi_close(port_);
    close(wake_);
  }

  bool Receive(const Sink& sink, std::chrono::milliseconds timeout) override {
    std::vector<pollfd> fds = Descriptors(port_, POLLIN);
    fds.back() = {wake_, POLLIN, 0};
    int ready = poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
    if (ready < 0) return errno == EINTR;
    if (ready == 0) return true;
    if (fds.back().revents & POLLIN) {
      eventfd_t ignored;
      eventfd_read(wake_, &ignored);
    }
    unsigned short revents = 0;
    snd_rawmidi_poll_descriptors_revents(port_, fds.data(), static_cast<unsigned>(fds.size() - 1), &revents);
    if (revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
    if (!(revents & POLLIN)) return true;
    BYTE buffer[4096];
    for (;;) {
      ssize_t count = snd_rawmidi_read(port_, buffer, sizeof buffer);
      if (count == -EAGAIN || count == 0) return true;
      if (count < 0) return false;
      handing_ = true;
      sink(std::span<const BYTE>(buffer, static_cast<size_t>(count)));
      handing_ = false;
    }
  }

  void Wake() override { eventfd_write(wake_, 1); }

  // Bytes still inside the kernel are not seen here; only bytes on their way to the sink.
  bool Pending() override { return handing_; }

 private:
  snd_rawmidi_t* port_;
  int wake_;
  std::atomic<bool> handing_{false};
};

class AlsaOutput : public OutputPort, private RawOutput {
 public:
  explicit AlsaOutput(snd_rawmidi_t* port) : port_(port) {}
  ~AlsaOutput() override { snd_rawmidi_close(port_); }

  bool Send(std::span<const BYTE> bytes) override { return WriteInChunks(*this, bytes); }

 private:
  long Write(std::span<const BYTE> bytes) override {
    ssize_t written = snd_rawmidi_write(port_, bytes.data(), bytes.size());
    if (written == -EAGAIN) return 0;
    return static_cast<long>(written);
  }

  bool WaitWritable(std::chrono::milliseconds timeout) override {
    std::vector<pollfd> fds = Descriptors(port_, POLLOUT);
    fds.pop_back();
    if (poll(fds.data(), fds.size(), static_cast<int>(timeout.count())) <= 0) return false;
    unsigned short revents = 0;
    snd_rawmidi_poll_descriptors_revents(port_, fds.data(), static_cast<unsigned>(fds.size()), &revents);
    return (revents & POLLOUT) && !(revents & (POLLERR | POLLHUP | POLLNVAL));
  }

  bool Drain() override { return snd_rawmidi_drain(port_) == 0; }

  snd_rawmidi_t* port_;
};

}  // namespace

Opened<InputPort> OpenRawMidiInput(const std::string& name) {
  SilenceAlsa();
  snd_rawmidi_t* port = nullptr;
  int err = snd_rawmidi_open(&port, nullptr, name.c_str(), SND_RAWMIDI_NONBLOCK);
  if (err < 0) return {nullptr, OpenError(err)};
  int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake < 0) {
    snd_rawmidi_close(port);
    return {nullptr, MMSYSERR_NOMEM};
  }
  return {std::make_unique<AlsaInput>(port, wake), MMSYSERR_NOERROR};
}

Opened<OutputPort> OpenRawMidiOutput(const std::string& name) {
  SilenceAlsa();
  snd_rawmidi_t* port = nullptr;
  int err = snd_rawmidi_open(nullptr, &port, name.c_str(), SND_RAWMIDI_NONBLOCK);
  if (err < 0) return {nullptr, OpenError(err)};
  return {std::make_unique<AlsaOutput>(port), MMSYSERR_NOERROR};
}

}  // namespace midi
