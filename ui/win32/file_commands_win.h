// The File menu's commands (open, add and exclude character-set files, select and
// release the target file, save the output and the character set), as the main
// window sees them.
#pragma once

#include <windows.h>

// Prepares the file choosers with the main window as their owner. Called once while the
// main window handles its creation message.
void SetUpFileChoosers(HWND mainWindow);

// Runs the File command `id` (1000..1600). Returns whether the status panel must be
// repainted at once because a setting changed.
bool RunFileCommand(HWND mainWindow, int id);
