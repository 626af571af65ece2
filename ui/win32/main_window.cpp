// The main window's handler reads as a table: one small function per message. A handler
// returns the message id the dispatch goes on with; a different id re-runs the dispatch
// within the same call (close becomes destroy, a repainting command becomes paint), and
// the id it ends with is what the default window procedure receives.
#include "main_window.h"

#include <clocale>
#include <locale>
#include <new>
#include <stdexcept>

#include "about_dialog.h"
#include "file_commands_win.h"
#include "generation_win.h"
#include "resource_ids.h"
#include "settings_dialog_win.h"
#include "shell_state.h"
#include "status_panel_win.h"

namespace talvoric {
namespace {

constexpr DWORD kMainWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kMainWindowWidth = 480;
constexpr int kMainWindowHeight = 320;
// Multi-line, read-only, scrolling vertically; no border.
constexpr DWORD kBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;

struct ChildControl {
  const wchar_t* className;
  int id;
  const wchar_t* text;
  int x, y, width, height;
  DWORD style;
};
constexpr ChildControl kOutputBox{L"EDIT", ID_OUTPUT_BOX, nullptr, 10, 20, 220, 110, kBoxStyle};
constexpr ChildControl kHistogramBox{L"EDIT", ID_HISTOGRAM_BOX, nullptr, 10, 155, 220, 105,
                                     kBoxStyle};
constexpr ChildControl kStartButton{L"BUTTON", ID_START_BUTTON, L"生成開始", 250, 220, 205, 25,
                                    WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON};

HWND CreateChild(HWND parent, HINSTANCE instance, const ChildControl& c) {
  return CreateWindowExW(0, c.className, c.text, c.style, c.x, c.y, c.width, c.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
}

// Runs once, on whatever message arrives first (before the creation message).
void RunFirstMessageInitialisation() {
  ShellState& shell = Shell();
  shell.paths = BuildSettingsPaths();
  std::setlocale(LC_ALL, "japanese");
  try {
    std::locale::global(std::locale("japanese"));
  } catch (const std::runtime_error&) {
    // The C++ library knows no such locale here; the runtime's own locale is set above.
  }
  shell.firstMessage = false;
}

UINT OnCreate(HWND window, WPARAM, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  Shell().background = LoadBitmapW(create->hInstance, TEXT(RES_BACKGROUND));
  CreateChild(window, create->hInstance, kOutputBox);
  CreateChild(window, create->hInstance, kHistogramBox);
  SetUpFileChoosers(window);
  return WM_CREATE;
}

UINT OnPaint(HWND window, WPARAM, LPARAM) {
  return PaintStatusPanel(window) ? WM_PAINT : WM_DESTROY;  // error 00-03 shuts down
}

UINT OnCommand(HWND window, WPARAM wParam, LPARAM) {
  const int id = LOWORD(wParam);  // the notification code and the sender are not looked at
  switch (id) {
    case IDM_OPEN_CHARSET:
    case IDM_ADD_CHARSET:
    case IDM_EXCLUDE_CHARSET:
    case IDM_SELECT_TARGET:
    case IDM_RELEASE_TARGET:
    case IDM_SAVE_OUTPUT:
    case IDM_SAVE_CHARSET:
      return RunFileCommand(window, id) ? WM_PAINT : WM_COMMAND;
    case IDM_EXIT:
      return WM_DESTROY;
    case IDM_SETTINGS:
      RunSettingsDialog(window, Shell().paths);
      return WM_PAINT;  // whatever the dialog's result
    case IDM_ABOUT:
      RunAboutDialog(window);
      return WM_COMMAND;
    case ID_START_BUTTON:
      RunGeneration(window);
      ShowHistogram(window);
      return WM_COMMAND;
    default:
      return WM_COMMAND;
  }
}

UINT OnClose(HWND, WPARAM, LPARAM) { return WM_DESTROY; }

// The window itself stays until the program ends after the message loop.
UINT OnDestroy(HWND, WPARAM, LPARAM) {
  ShellState& shell = Shell();
  if (shell.background != nullptr) {
    DeleteObject(shell.background);
    shell.background = nullptr;
  }
  PostQuitMessage(0);
  return WM_DESTROY;
}

UINT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (;;) {
    UINT next = message;
    switch (message) {
      case WM_CREATE: next = OnCreate(window, wParam, lParam); break;
      case WM_PAINT: next = OnPaint(window, wParam, lParam); break;
      case WM_COMMAND: next = OnCommand(window, wParam, lParam); break;
      case WM_CLOSE: next = OnClose(window, wParam, lParam); break;
      case WM_DESTROY: next = OnDestroy(window, wParam, lParam); break;
      default: break;
    }
    if (next == message) return message;
    message = next;
  }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, TEXT(RES_MAIN_ICON));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_GRAYTEXT + 1));
  wc.lpszMenuName = TEXT(RES_MAIN_MENU);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  return CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, kMainWindowStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                         instance, nullptr);
}

void CreateStartButton(HWND mainWindow, HINSTANCE instance) {
  CreateChild(mainWindow, instance, kStartButton);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  UINT last = message;
  try {
    if (Shell().firstMessage) RunFirstMessageInitialisation();
    last = Dispatch(window, message, wParam, lParam);
  } catch (const std::exception&) {
    // Out of memory part-way through a command: it is dropped; the window lives on.
    // No exception may cross the system's frames.
  }
  return DefWindowProcW(window, last, wParam, lParam);
}

}  // namespace talvoric
