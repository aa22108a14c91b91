#include "platform/midi/simulator/simulator.h"

namespace midi {

std::vector<std::string> DefaultFactoryCabNames() {
  static const char* const kSizes[] = {"1x8", "1x10", "1x12", "1x15", "2x10", "2x12", "2x15", "4x10", "4x12", "8x10"};
  static const char* const kVoices[] = {"Tweed",  "Amber",   "Slate",  "Copper", "Harbor", "Foundry", "Meadow",
                                        "Ember",  "Granite", "Willow", "Canyon", "Velvet", "Iron"};
  std::vector<std::string> names;
  for (const char* size : kSizes) {
    for (const char* voice : kVoices) names.push_back(std::string(size) + " " + voice);
  }
  return names;
}

}  // namespace midi
