#include "about_dialog.h"

#include "resource_ids.h"

namespace talvoric {
namespace {

// OK (or Enter), Esc and the close box end the box; everything else, the initialisation
// included, is left to the dialog manager.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunAboutDialog(HWND owner) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  DialogBoxParamW(instance, TEXT(RES_ABOUT_BOX), owner, AboutDialogProc, 0);
}

}  // namespace talvoric
