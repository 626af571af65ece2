// Checking a dialog against its template, twice: the template resource inside the
// program, field by field (styles exactly as stored), and the live dialog the program
// shows (every control in creation order with its class, id, text and rectangle, mapped
// as the dialog manager maps dialog units). Shared by the settings dialog's and the
// About box's scenarios.
#pragma once

#include <string>
#include <vector>

#include "gui_test.h"

namespace guitest {

struct ExpectedControl {
  std::wstring className;  // compared without regard to case
  int id;                  // 65535 for "no id"
  std::wstring text;
  int x, y, width, height;  // dialog units
  unsigned long style;
};

struct ExpectedDialog {
  std::wstring caption;
  int width, height;  // dialog units; the position is 0, 0
  unsigned long style;
  int fontPoints;
  std::wstring fontName;
  std::vector<ExpectedControl> controls;
};

// The template `name` in the module `program` (a path), with language 1033.
void CheckDialogTemplate(const std::wstring& program, const wchar_t* name, const ExpectedDialog& expected);

// The live dialog. The dialog manager adjusts a few styles as it creates the controls:
// it adds DS_3DLOOK and WS_VISIBLE to the dialog, moves an edit control's WS_BORDER to
// WS_EX_CLIENTEDGE, and moves BS_DEFPUSHBUTTON to whichever push button is the default.
void CheckLiveDialog(HWND dialog, const ExpectedDialog& expected, const std::string& what);

}  // namespace guitest
