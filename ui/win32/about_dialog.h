// The About box ("バージョン情報").
#pragma once

#include <windows.h>

namespace talvoric {

// Shows the About box, modal to `owner`, until OK, Esc or its close box ends it.
void RunAboutDialog(HWND owner);

}  // namespace talvoric
