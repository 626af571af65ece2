// The main window "TALVORIC": its class, its creation and its message handler.
#pragma once

#include <windows.h>

namespace talvoric {

inline constexpr const wchar_t* kMainWindowClass = L"MAINWINDOW_MENU";
inline constexpr const wchar_t* kMainWindowTitle = L"TALVORIC";

// Registers the class "MAINWINDOW_MENU" (with the icon, the arrow cursor, the grey
// background and the menu of the same name). False on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the visible main window, 480 x 320 outside. Null on failure.
HWND CreateMainWindow(HINSTANCE instance);

// Creates the start button "生成開始" in the main window.
void CreateStartButton(HWND mainWindow, HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace talvoric
