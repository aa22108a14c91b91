#include "platform/midi/simulator/simulator.h"

#include <algorithm>
#include <cstdio>

namespace midi {

namespace {
constexpr size_t kMaxNameLength = 31;
// A message from the program that never ends is dropped past this size.
constexpr size_t kMaxIncoming = 1 << 20;

std::string CleanName(std::string name) {
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  // Bytes above 7Fh would end a system-exclusive message early.
  for (char& c : name) {
    if (static_cast<unsigned char>(c) > 0x7F) c = '?';
  }
  return name;
}
}  // namespace

Simulator::Simulator() { ResetLocked(); }

void Simulator::Reset() {
  std::lock_guard guard(lock_);
  ResetLocked();
}

void Simulator::ResetLocked() {
  cabs_ = DefaultFactoryCabNames();
  factoryCabs_ = static_cast<int>(cabs_.size());
  cabs_.resize(cabs_.size() + kDefaultUserCabs, "Empty");
  // Factory cabs on every side; Cab 1 in its two-sided mode, Cab 2 one-sided.
  blocks_[0] = CabBlock{{0, 1, 2}, {2, 3, 2}, 0};
  blocks_[1] = CabBlock{{4, 5, 0}, {6, 7, 0}, 0};
  lastBlock_ = kCab1;
  lastSide_ = kLeftCab;
  upload_ = CabUpload{};
  faults_ = SimulatorFaults{};
  received_.clear();
  parser_.Reset();
  incoming_.clear();
}

void Simulator::SetCabs(std::vector<std::string> factory, std::vector<std::string> user) {
  std::lock_guard guard(lock_);
  factoryCabs_ = static_cast<int>(factory.size());
  cabs_.clear();
  upload_ = CabUpload{};  // its slot may be gone
  for (auto& name : factory) cabs_.push_back(CleanName(std::move(name)));
  for (auto& name : user) cabs_.push_back(CleanName(std::move(name)));
}

int Simulator::FactoryCabCount() {
  std::lock_guard guard(lock_);
  return factoryCabs_;
}

int Simulator::CabCount() {
  std::lock_guard guard(lock_);
  return static_cast<int>(cabs_.size());
}

std::string Simulator::CabName(int index) {
  std::lock_guard guard(lock_);
  return index >= 0 && index < static_cast<int>(cabs_.size()) ? cabs_[index] : std::string();
}

CabBlock Simulator::Block(BYTE id) {
  std::lock_guard guard(lock_);
  return BlockLocked(id);
}

void Simulator::SetBlock(BYTE id, const CabBlock& block) {
  std::lock_guard guard(lock_);
  BlockLocked(id) = block;
}

void Simulator::SetFaults(const SimulatorFaults& faults) {
  std::lock_guard guard(lock_);
  faults_ = faults;
}

void Simulator::Inject(std::vector<BYTE> bytes) {
  std::lock_guard guard(lock_);
  if (toProgram_) toProgram_->Push(std::move(bytes));
}

std::vector<std::vector<BYTE>> Simulator::Received() {
  std::lock_guard guard(lock_);
  return received_;
}

void Simulator::ClearReceived() {
  std::lock_guard guard(lock_);
  received_.clear();
}

void Simulator::SetLogPath(std::string path) {
  std::lock_guard guard(lock_);
  logPath_ = std::move(path);
}

bool Simulator::ConnectProgramInput(BytePipe* toProgram) {
  std::lock_guard guard(lock_);
  if (toProgram_) return false;
  toProgram_ = toProgram;
  return true;
}

void Simulator::DisconnectProgramInput(BytePipe* toProgram) {
  std::lock_guard guard(lock_);
  if (toProgram_ == toProgram) toProgram_ = nullptr;
}

bool Simulator::ClaimProgramOutput() {
  std::lock_guard guard(lock_);
  if (outputClaimed_) return false;
  outputClaimed_ = true;
  return true;
}

void Simulator::ReleaseProgramOutput() {
  std::lock_guard guard(lock_);
  outputClaimed_ = false;
}

void Simulator::Receive(std::span<const BYTE> bytes) {
  std::lock_guard guard(lock_);
  std::vector<InputItem> items;
  parser_.Feed(bytes, items);
  for (auto& item : items) {
    switch (item.kind) {
      case InputItem::Kind::SysEx:
        incoming_.insert(incoming_.end(), item.bytes.begin(), item.bytes.end());
        if (incoming_.size() > kMaxIncoming) {
          incoming_.clear();
          parser_.Reset();
        } else if (item.complete) {
          HandleLocked(incoming_);
          incoming_.clear();
        }
        break;
      case InputItem::Kind::BrokenSysEx:
        incoming_.clear();
        break;
      case InputItem::Kind::Data: {
        std::vector<BYTE> message{static_cast<BYTE>(item.message)};
        int extra = DataBytesAfter(message[0]);
        for (int i = 1; i <= extra; ++i) message.push_back(static_cast<BYTE>(item.message >> (8 * i)));
        received_.push_back(message);
        LogLocked(message);
        break;
      }
      case InputItem::Kind::Error:
        break;
    }
  }
}

void Simulator::HandleLocked(const std::vector<BYTE>& message) {
  received_.push_back(message);
  LogLocked(message);
  if (faults_.silent) return;
  for (auto& answer : AnswerLocked(message)) SendLocked(std::move(answer));
}

void Simulator::SendLocked(std::vector<BYTE> bytes) {
  if (!toProgram_) return;
  if (faults_.truncateTo > 0 && bytes.size() > faults_.truncateTo) bytes.resize(faults_.truncateTo);
  auto due = BytePipe::Clock::now() + faults_.delay;
  size_t piece = faults_.splitInto > 0 ? faults_.splitInto : bytes.size();
  for (size_t at = 0; at < bytes.size(); at += piece) {
    size_t end = std::min(bytes.size(), at + piece);
    toProgram_->Push(std::vector<BYTE>(bytes.begin() + at, bytes.begin() + end), due);
  }
}

void Simulator::LogLocked(const std::vector<BYTE>& message) {
  if (logPath_.empty()) return;
  std::FILE* file = std::fopen(logPath_.c_str(), "a");
  if (!file) return;
  for (size_t i = 0; i < message.size(); ++i) std::fprintf(file, i ? " %02X" : "%02X", message[i]);
  std::fputc('\n', file);
  std::fclose(file);
}

}  // namespace midi
