// Every way of closing the program ends it with exit code 0 and writes nothing.
#include <cstdio>

#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

// The screen point of the caption's close box, found by asking the window itself.
std::optional<POINT> CloseBoxPoint(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  for (int y = r.top + 2; y < r.top + 40; y += 2) {
    for (int x = r.right - 2; x > r.right - 80; x -= 2) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &hit);
      if (hit == HTCLOSE) return POINT{x - 3, y + 3};
    }
  }
  return std::nullopt;
}

void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input[0], sizeof(INPUT));
  Sleep(100);
  SendInput(1, &input[1], sizeof(INPUT));
}

// Brings the window to the front and waits until its thread has it as the active
// window, so that keys and clicks land there.
void Activate(HWND window) {
  SetForegroundWindow(window);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  WaitUntil([&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) && info.hwndActive == window;
  }, "main window active");
}

void PressAltF4() {
  INPUT input[4] = {};
  const WORD keys[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
  for (int i = 0; i < 4; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wVk = keys[i];
    input[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input[i], sizeof(INPUT));
    Sleep(30);
  }
}

}  // namespace

GUI_SCENARIO(ExitByCloseBoxAltF4AndExitCommand) {
  for (const char* way : {"close box", "Alt+F4", "exit command", "system menu close"}) {
    App app(ctx, std::string("exit-") + (way[0] == 'c' ? "close" : way[0] == 'A' ? "altf4" : way[0] == 'e' ? "command" : "sysmenu"));
    app.Launch();
    const std::string w = way;
    std::printf("  %s\n", way);
    std::fflush(stdout);
    if (w == "close box") {
      const auto p = CloseBoxPoint(app.Main());
      REQUIRE(p.has_value());
      Activate(app.Main());
      ClickAt(*p);
    } else if (w == "Alt+F4") {
      Activate(app.Main());
      PressAltF4();
    } else if (w == "exit command") {
      app.PostCommand(IDM_EXIT);
    } else {
      PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    CHECK_EQ_MSG(app.WaitForExit(), 0ul, way);
    for (const char* name : {"establish_type.txt", "establish_size.txt", "establish_xor.txt"}) {
      CHECK_EQ_MSG(app.ReadFile(name), std::nullopt, std::string(way) + " " + name);
    }
  }
}
