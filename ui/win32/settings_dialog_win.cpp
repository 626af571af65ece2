#include "settings_dialog_win.h"

#include <new>
#include <optional>
#include <string>

#include "platform.h"
#include "resource_ids.h"
#include "settings_dialog.h"

namespace talvoric {
namespace {

// What the dialog procedure needs, handed over through DialogBoxParamW and kept in the
// dialog's DWLP_USER slot: no state lives in the procedure itself.
struct SettingsDialogData {
  const SettingsPaths* paths;
};

void SetAllBoxes(HWND dialog, WPARAM state) {
  for (const CharBox& box : CharBoxTable) {
    SendMessageW(GetDlgItem(dialog, box.id), BM_SETCHECK, state, 0);
  }
}

void SetCountField(HWND dialog, const std::string& ansi) {
  std::optional<std::u16string> wide;
  try {
    wide = FromAnsi(ansi);
  } catch (const std::bad_alloc&) {
  }
  SetDlgItemTextW(dialog, IDC_COUNT,
                  wide ? reinterpret_cast<const wchar_t*>(wide->c_str()) : L"ERROR!");
}

void OnInitDialog(HWND dialog, const SettingsDialogData& data) {
  SetAllBoxes(dialog, BST_UNCHECKED);
  SetDlgItemTextW(dialog, IDC_COUNT, L"1");
  try {
    const DialogSettings settings = LoadDialogSettings(*data.paths);
    for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
      if (settings.boxes[i]) {
        SendMessageW(GetDlgItem(dialog, CharBoxTable[i].id), BM_SETCHECK, BST_CHECKED, 0);
      }
    }
    SetCountField(dialog, settings.countText);
  } catch (const std::bad_alloc&) {
    SetDlgItemTextW(dialog, IDC_COUNT, L"ERROR!");
  }
}

void OnOk(HWND dialog, const SettingsDialogData& data) {
  CharBoxStates boxes{};
  for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
    boxes[i] = IsDlgButtonChecked(dialog, CharBoxTable[i].id) == BST_CHECKED;
  }
  wchar_t field[kCountFieldBufferUnits] = {};  // at most 127 characters and the terminator
  GetDlgItemTextW(dialog, IDC_COUNT, field, static_cast<int>(kCountFieldBufferUnits));
  try {
    const std::optional<std::string> ansi = ToAnsi(reinterpret_cast<const char16_t*>(field));
    SaveDialogSettings(*data.paths, boxes,
                       ansi ? std::optional<std::string_view>(*ansi) : std::nullopt);
  } catch (const std::bad_alloc&) {
    // Nothing more can be written; the dialog still ends as after OK.
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      OnInitDialog(dialog, *reinterpret_cast<const SettingsDialogData*>(lParam));
      return FALSE;  // no default keyboard focus
    }
    case WM_COMMAND: {
      const auto* data =
          reinterpret_cast<const SettingsDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
      switch (LOWORD(wParam)) {
        case IDOK:
          if (data != nullptr) OnOk(dialog, *data);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDC_ENABLE_ALL:
          SetAllBoxes(dialog, BST_CHECKED);
          return FALSE;
        case IDC_DISABLE_ALL:
          SetAllBoxes(dialog, BST_UNCHECKED);
          return FALSE;
        default:
          return FALSE;
      }
    }
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunSettingsDialog(HWND owner, const SettingsPaths& paths) {
  SettingsDialogData data{&paths};
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  return DialogBoxParamW(instance, TEXT(RES_SETTINGS_BOX), owner, SettingsDialogProc,
                         reinterpret_cast<LPARAM>(&data));
}

}  // namespace talvoric
