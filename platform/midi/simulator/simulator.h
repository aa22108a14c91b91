#pragma once
// A stand-in of the processor: its cab table, its two cab blocks and the answers it
// gives to each system-exclusive message, with faults that tests can switch on.
#include <chrono>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/midi/byte_pipe.h"
#include "platform/midi/stream_parser.h"

namespace midi {

// One state (X or Y) of a cab block: the cab of each side (0-based cab index) and the mode.
struct CabBlockState {
  int leftCab = 0;
  int rightCab = 0;
  int mode = 0;  // 2: both sides in use
};

struct CabBlock {
  CabBlockState x;
  CabBlockState y;
  int xy = 0;  // 0: X, 1: Y
};

struct SimulatorFaults {
  bool silent = false;                    // nothing is answered
  std::chrono::milliseconds delay{0};     // every answer arrives this much later
  size_t splitInto = 0;                   // answers arrive in pieces of at most this many bytes
  size_t truncateTo = 0;                  // answers are cut to their first bytes (no F7h)
  int forceError = -1;                    // every sound message is answered by this error status
};

class Simulator {
 public:
  static constexpr BYTE kCab1 = 0x6C;
  static constexpr BYTE kCab2 = 0x6D;
  static constexpr BYTE kLeftCab = 0x00;
  static constexpr BYTE kRightCab = 0x02;
  static constexpr BYTE kCabMode = 0x0C;
  static constexpr int kDefaultUserCabs = 100;

  // The default unit: 130 factory cabs, then 100 user slots.
  Simulator();
  // The default unit, no faults, nothing received. Connections and the log stay.
  void Reset();

  // Factory cabs first, then user slots; a cab's index is its 0-based position. Names are
  // cut to 31 characters.
  void SetCabs(std::vector<std::string> factory, std::vector<std::string> user);
  int FactoryCabCount();
  int CabCount();
  std::string CabName(int index);
  CabBlock Block(BYTE id);
  void SetBlock(BYTE id, const CabBlock& block);

  void SetFaults(const SimulatorFaults& faults);
  // Bytes sent to the program as they are (garbage, broken or long messages).
  void Inject(std::vector<BYTE> bytes);
  // Every message received, in order (system-exclusive and short).
  std::vector<std::vector<BYTE>> Received();
  void ClearReceived();
  // Appends each received message as a line of upper-case hex bytes; empty: no log.
  void SetLogPath(std::string path);

  // The wire: bytes from the program, and where answers go (nullptr: nowhere).
  void Receive(std::span<const BYTE> bytes);
  // False when another input is connected already.
  bool ConnectProgramInput(BytePipe* toProgram);
  void DisconnectProgramInput(BytePipe* toProgram);
  // The unit has one MIDI input: false when the program's output is connected already.
  bool ClaimProgramOutput();
  void ReleaseProgramOutput();

 private:
  void ResetLocked();
  void HandleLocked(const std::vector<BYTE>& message);
  std::vector<std::vector<BYTE>> AnswerLocked(const std::vector<BYTE>& message);
  std::vector<BYTE> BlockParameter(const std::vector<BYTE>& message);
  std::vector<BYTE> CabXY(const std::vector<BYTE>& message);
  std::vector<BYTE> Rename(const std::vector<BYTE>& message);
  std::vector<BYTE> CabFileStart(const std::vector<BYTE>& message);
  std::vector<BYTE> CabFileData(const std::vector<BYTE>& message);
  std::vector<BYTE> CabFileEnd();
  CabBlock& BlockLocked(BYTE id) { return blocks_[id == kCab2 ? 1 : 0]; }
  CabBlockState& ActiveState(BYTE block);
  void SendLocked(std::vector<BYTE> bytes);
  void LogLocked(const std::vector<BYTE>& message);

  std::mutex lock_;
  std::vector<std::string> cabs_;
  int factoryCabs_ = 0;
  CabBlock blocks_[2];
  BYTE lastBlock_ = kCab1;
  BYTE lastSide_ = kLeftCab;
  // A cab file on its way in: from its start message until its closing message.
  struct CabUpload {
    bool receiving = false;
    int cab = -1;  // the slot it goes into, chosen when it started
    size_t dataMessages = 0;
    std::string name;
  };
  CabUpload upload_;
  SimulatorFaults faults_;
  std::vector<std::vector<BYTE>> received_;
  std::string logPath_;
  StreamParser parser_;
  std::vector<BYTE> incoming_;
  BytePipe* toProgram_ = nullptr;
  bool outputClaimed_ = false;
};

// Names of the default unit's factory cabs (plausible names of our own).
std::vector<std::string> DefaultFactoryCabNames();

}  // namespace midi
