// Placeholder until the File commands are wired in: every command does nothing.
#include "file_commands_win.h"

void SetUpFileChoosers(HWND) {}

bool RunFileCommand(HWND, int) { return false; }
