#include "error_box.h"

#include <windows.h>

namespace talvoric {

void ShowShellError(ShellError error) {
  // ASCII colon after the label; each second line ends in the half-width full stop U+FF61.
  const wchar_t* text = L"";
  switch (error) {
    case ShellError::RegisterClassFailed:
      text = L"エラーコード:00-01\nウィンドウクラスの作成に失敗しました\uFF61";
      break;
    case ShellError::CreateWindowFailed:
      text = L"エラーコード:00-02\nメインウィンドウの生成に失敗しました\uFF61";
      break;
    case ShellError::OutOfMemory:
      text = L"エラーコード:00-03\nメモリの確保に失敗しました\uFF61";
      break;
  }
  MessageBoxW(nullptr, text, L"ERROR!!", MB_ICONWARNING | MB_OK);
}

}  // namespace talvoric
