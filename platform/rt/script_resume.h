#pragma once
// Where another process of the program would carry on the script the screen is playing (the
// crash reporter's presenting process takes over from the process that faulted). The
// scripted screen publishes it after every line; the fault path reads it, so both calls are
// safe there: plain atomics, no lock.
namespace rt {

// The first line whose answer is still waiting (from 1) and the last line read; {0, 0}
// without a script.
struct ScriptResume {
  int answersFrom;
  int after;
};

ScriptResume CurrentScriptResume();
void PublishScriptResume(ScriptResume resume);

}  // namespace rt
