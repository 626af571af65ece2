// The window program's process-wide state. Everything here is touched only on the
// user-interface thread, and every setting is read from its file when needed: this holds
// where the files are, not what they say.
#pragma once

#include <windows.h>

#include "generation.h"
#include "settings_paths.h"

namespace talvoric {

struct ShellState {
  bool firstMessage = true;     // cleared by the first-message initialisation
  SettingsPaths paths;          // built at the first message, before the creation message
  HBITMAP background = nullptr;  // "APPRICATION_BACKGROUND", from creation until shutdown
  RandomGenerator generator;    // seeded from the clock at the first run
  CharTable table{};            // the last run's flags and counts, for the histogram
};

ShellState& Shell();

}  // namespace talvoric
