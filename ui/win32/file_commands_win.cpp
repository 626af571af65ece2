// The File menu's commands in the window program: the six file choosers (common
// open/save dialogs that keep their filter, pattern and name from one use to the next),
// the overwrite question as a message box, and the output box as the text to save.
#include "file_commands_win.h"

#include <commdlg.h>

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "file_commands.h"
#include "platform.h"
#include "resource_ids.h"
#include "shell_state.h"

namespace talvoric {
namespace {

constexpr DWORD kNameUnits = 260;     // file-name buffer, UTF-16 units
constexpr DWORD kFilterUnits = 260;   // custom-filter buffer, UTF-16 units
constexpr int kOutputUnits = 65536;   // the output box holds at most 65,535 characters

// Filter lists: (description, pattern) pairs, each string zero-terminated, and one more
// zero at the end (the literal's own).
constexpr wchar_t kTextFilter[] = L"Text files {*.txt}\0*.txt\0All files {*.*}\0*.*\0";
constexpr wchar_t kAllFilesFilter[] = L"All files {*.*}\0*.*\0";
// The custom filter a chooser starts with; the dialog writes the pattern in force into
// its second string.
constexpr wchar_t kCustomFilterStart[] = L"Before files\0*.*";

enum class ChooserKind { kOpen, kSave };

// An open chooser accepts only a file that exists. A save chooser must accept a new
// name, its main use, so it asks only for an existing folder: with "file must exist"
// the dialog refuses every name that is not there yet. The commands ask their own
// overwrite question.
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST;

class Win32FileChooser : public FileChooser {
 public:
  void SetUp(HWND owner, const wchar_t* filter, ChooserKind kind) {
    kind_ = kind;
    ZeroMemory(&ofn_, sizeof ofn_);
    ZeroMemory(customFilter_, sizeof customFilter_);
    ZeroMemory(fileName_, sizeof fileName_);
    CopyMemory(customFilter_, kCustomFilterStart, sizeof kCustomFilterStart);
    ofn_.lStructSize = sizeof ofn_;
    ofn_.hwndOwner = owner;
    ofn_.lpstrFilter = filter;
    ofn_.lpstrCustomFilter = customFilter_;
    ofn_.nMaxCustFilter = kFilterUnits;
    ofn_.nFilterIndex = 0;  // the custom filter
    ofn_.lpstrFile = fileName_;
    ofn_.nMaxFile = kNameUnits;
    ofn_.Flags = kind == ChooserKind::kOpen ? kOpenFlags : kSaveFlags;
  }

  std::optional<std::string> ChooseFile() override {
    if (ofn_.lStructSize == 0) return std::nullopt;  // not set up: no window yet
    // The dialog writes the filter index, the pattern and the chosen path back into
    // this record; a cancelled dialog leaves it as it was.
    const BOOL chosen =
        kind_ == ChooserKind::kOpen ? GetOpenFileNameW(&ofn_) : GetSaveFileNameW(&ofn_);
    if (!chosen) return std::nullopt;
    std::u16string path;
    for (DWORD i = 0; i < kNameUnits && fileName_[i] != L'\0'; ++i) {
      path.push_back(static_cast<char16_t>(fileName_[i]));
    }
    return ToAnsi(path);
  }

 private:
  OPENFILENAMEW ofn_{};
  wchar_t customFilter_[kFilterUnits]{};
  wchar_t fileName_[kNameUnits]{};
  ChooserKind kind_ = ChooserKind::kOpen;
};

std::wstring FromUtf8(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
  std::wstring out(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), units);
  }
  return out;
}

// No owner window: the main window stays enabled while the question is open.
class MessageBoxQuestion : public Question {
 public:
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    return MessageBoxW(nullptr, FromUtf8(text).c_str(), FromUtf8(caption).c_str(),
                       MB_ICONWARNING | MB_YESNO) != IDNO;
  }
};

class OutputBoxText : public OutputBox {
 public:
  explicit OutputBoxText(HWND mainWindow) : mainWindow_(mainWindow) {}
  std::optional<std::string> OutputText() override {
    try {
      std::vector<wchar_t> buffer(kOutputUnits, L'\0');
      GetDlgItemTextW(mainWindow_, ID_OUTPUT_BOX, buffer.data(), kOutputUnits);
      std::u16string text;
      for (const wchar_t c : buffer) {
        if (c == L'\0') break;
        text.push_back(static_cast<char16_t>(c));
      }
      return ToAnsi(text);
    } catch (const std::bad_alloc&) {
      return std::nullopt;
    }
  }

 private:
  HWND mainWindow_;
};

// One chooser per command, in the order of the File menu.
enum ChooserIndex { kOpenCharset, kAddCharset, kExcludeCharset, kSelectTarget, kSaveOutput,
                    kSaveCharset, kChooserCount };
Win32FileChooser g_choosers[kChooserCount];

CommandResult Run(HWND mainWindow, int id) {
  const SettingsPaths& paths = Shell().paths;
  MessageBoxQuestion question;
  switch (id) {
    case IDM_OPEN_CHARSET: return OpenCharsetFile(paths, g_choosers[kOpenCharset]);
    case IDM_ADD_CHARSET: return AddCharsetFile(paths, g_choosers[kAddCharset]);
    case IDM_EXCLUDE_CHARSET: return ExcludeCharsetFile(paths, g_choosers[kExcludeCharset]);
    case IDM_SELECT_TARGET: return SelectTargetFile(paths, g_choosers[kSelectTarget]);
    case IDM_RELEASE_TARGET: return ReleaseTargetFile(paths);
    case IDM_SAVE_OUTPUT: {
      OutputBoxText output(mainWindow);
      return SaveOutputFile(g_choosers[kSaveOutput], question, output);
    }
    case IDM_SAVE_CHARSET: return SaveCharsetFile(paths, g_choosers[kSaveCharset], question);
    default: return CommandResult{};
  }
}

}  // namespace
}  // namespace talvoric

void SetUpFileChoosers(HWND mainWindow) {
  using namespace talvoric;
  g_choosers[kOpenCharset].SetUp(mainWindow, kTextFilter, ChooserKind::kOpen);
  g_choosers[kAddCharset].SetUp(mainWindow, kTextFilter, ChooserKind::kOpen);
  g_choosers[kExcludeCharset].SetUp(mainWindow, kTextFilter, ChooserKind::kOpen);
  g_choosers[kSelectTarget].SetUp(mainWindow, kAllFilesFilter, ChooserKind::kOpen);
  g_choosers[kSaveOutput].SetUp(mainWindow, kTextFilter, ChooserKind::kSave);
  g_choosers[kSaveCharset].SetUp(mainWindow, kTextFilter, ChooserKind::kSave);
}

bool RunFileCommand(HWND mainWindow, int id) {
  // Failures stay quiet in the window program; nothing may leave the window procedure.
  try {
    return talvoric::Run(mainWindow, id).repaint;
  } catch (const std::exception&) {
    return false;
  }
}
