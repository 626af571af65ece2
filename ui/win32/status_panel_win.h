// Drawing the status panel: the background picture and the panel's texts.
#pragma once

#include <windows.h>

namespace talvoric {

// Repaints the whole client area at once (also when called outside WM_PAINT). False when
// the count line's text could not be made: error 00-03 has been shown and the program
// must shut down.
bool PaintStatusPanel(HWND mainWindow);

}  // namespace talvoric
