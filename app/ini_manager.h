#pragma once
// The program's settings object: the framework's INI file plus the four values the
// librarian keeps from one run to the next, in section "Preserved".
#include "platform/framework/ini_class.h"

class INIMGR : public INIClass {
 public:
  using INIClass::Fetch;
  using INIClass::Update;

  // Reads the preserved values (absent or unreadable ones read as 0, but an absent safety
  // switch reads as on), then the parent's.
  void Fetch() override;
  // The parent's, then writes the preserved values.
  void Update() override;
};

// The text of a setting as the number a BYTE or LONG variable takes from it: anything that
// is not a whole decimal number within 64 bits reads as 0, and a number too large for the
// variable keeps its low bits, as assigning it would (300 in a BYTE is 44).
long long SettingNumber(std::string_view text);
