#include "status_panel_win.h"

#include <new>
#include <string>

#include "error_box.h"
#include "shell_state.h"
#include "status_panel.h"

namespace talvoric {
namespace {

constexpr int kBackgroundWidth = 480;
constexpr int kBackgroundHeight = 320;

// Only draws: the picture, then each text whole with its top-left corner at its position.
void DrawStatusPanel(HDC dc, HBITMAP background, const StatusPanel& panel) {
  if (HDC memory = CreateCompatibleDC(dc)) {
    const HGDIOBJ old = SelectObject(memory, background);
    BitBlt(dc, 0, 0, kBackgroundWidth, kBackgroundHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  for (const PanelText& item : panel.items) {
    std::u16string text;
    try {
      text = PanelTextWide(item);
    } catch (const std::bad_alloc&) {
      text.clear();  // an item whose text cannot be made is drawn empty
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    TextOutW(dc, item.x, item.y, wide, lstrlenW(wide));
  }
}

}  // namespace

bool PaintStatusPanel(HWND mainWindow) {
  // Whole client area, erased: the paint covers the window also right after a command.
  InvalidateRect(mainWindow, nullptr, TRUE);
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(mainWindow, &ps);
  StatusPanel panel;
  try {
    panel = BuildStatusPanel(Shell().paths);
  } catch (const std::bad_alloc&) {
    panel.items.clear();  // nothing to draw beyond the picture
  }
  if (dc != nullptr) DrawStatusPanel(dc, Shell().background, panel);
  EndPaint(mainWindow, &ps);
  if (panel.countTextFailed) {
    ShowShellError(ShellError::OutOfMemory);
    return false;
  }
  return true;
}

}  // namespace talvoric
