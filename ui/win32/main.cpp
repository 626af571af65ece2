// The window program's entry: find the folder, register the class, create the window
// and the start button, then run the message loop until the quit request.
#include <windows.h>

#include "error_box.h"
#include "main_window.h"
#include "settings_paths.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace talvoric;
  if (!FindModuleDirectory()) return 1;  // no window, no message
  if (!RegisterMainWindowClass(instance)) {
    ShowShellError(ShellError::RegisterClassFailed);
    return 1;
  }
  const HWND mainWindow = CreateMainWindow(instance);
  if (mainWindow == nullptr) {
    ShowShellError(ShellError::CreateWindowFailed);
    return 1;
  }
  CreateStartButton(mainWindow, instance);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) != 0) {  // an error result (-1) goes on too
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
