// "settings.ini" as the program reads and edits it.
// Rules: the text reads back byte for byte; a value that Set accepts reads back as itself,
// from the edited document and from its text; the preserved numbers read without fault.
#include <cstdint>
#include <string>

#include "app/ini_manager.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/framework/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  // An edit (section, key, value, each ended by a NUL) comes first; the file is the rest.
  const std::string section = input.Text();
  const std::string key = input.Text();
  const std::string value = input.Text();
  const std::string text = input.Rest();

  IniDocument document(text);
  FUZZ_CHECK(document.Text() == text);
  for (const char* preserved : {"GLO:MIDIInDevice", "GLO:MIDIOutDevice", "GLO:SafetyMode", "GLO:UserCabOffset"}) {
    SettingNumber(document.Get("Preserved", preserved).value_or(""));
  }

  const auto before = document.Get(section, key);
  if (document.Set(section, key, value)) {
    FUZZ_CHECK(document.Get(section, key) == value, "value [" + fuzz::Shown(value) + "]");
    FUZZ_CHECK(IniDocument(document.Text()).Get(section, key) == value, "text [" + fuzz::Shown(document.Text()) + "]");
  } else {
    FUZZ_CHECK(document.Text() == text);
    FUZZ_CHECK(document.Get(section, key) == before);
  }
  return 0;
}
