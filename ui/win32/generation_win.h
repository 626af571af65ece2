// The start button: one generation run shown in the two boxes of the main window.
#pragma once

#include <windows.h>

namespace talvoric {

// Runs the generation with the settings files as they are now and puts the characters
// into the output box ("ERROR!" first, so it stays when they cannot be shown).
void RunGeneration(HWND mainWindow);

// Puts the histogram of the last run into the histogram box, "ERROR!" first.
void ShowHistogram(HWND mainWindow);

}  // namespace talvoric
