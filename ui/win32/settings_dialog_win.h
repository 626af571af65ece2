// The settings dialog ("設定"): the 94 character boxes and the count field.
#pragma once

#include <windows.h>

#include "settings_paths.h"

namespace talvoric {

// Shows the dialog, modal to `owner`, filled from the two settings files. OK writes both
// files from the controls; CANCEL and the close box write nothing. Returns IDOK or
// IDCANCEL; the caller repaints either way.
INT_PTR RunSettingsDialog(HWND owner, const SettingsPaths& paths);

}  // namespace talvoric
