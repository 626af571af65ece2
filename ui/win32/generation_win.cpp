#include "generation_win.h"

#include <new>
#include <string>
#include <string_view>

#include "platform.h"
#include "resource_ids.h"
#include "shell_state.h"
#include "text_file.h"

namespace talvoric {
namespace {

// "ERROR!" first; then the text, each byte becoming the UTF-16 unit of the same value
// (the texts are ASCII). Without memory for the wide form the box keeps "ERROR!".
void ShowInBox(HWND mainWindow, int boxId, std::string_view bytes) {
  const HWND box = GetDlgItem(mainWindow, boxId);
  SetWindowTextW(box, L"ERROR!");
  try {
    std::wstring wide(bytes.size(), L'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    SetWindowTextW(box, wide.c_str());
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void RunGeneration(HWND mainWindow) {
  ShellState& shell = Shell();
  GenerationResult result = RunGeneration(shell.paths, shell.generator, &ClockSeconds);
  shell.table = result.table;
  if (result.output) {
    ShowInBox(mainWindow, ID_OUTPUT_BOX, ContentOf(*result.output));
  } else {
    SetWindowTextW(GetDlgItem(mainWindow, ID_OUTPUT_BOX), L"ERROR!");
  }
}

void ShowHistogram(HWND mainWindow) {
  std::string text;
  try {
    text = BuildHistogramText(Shell().table);
  } catch (const std::bad_alloc&) {
    SetWindowTextW(GetDlgItem(mainWindow, ID_HISTOGRAM_BOX), L"ERROR!");
    return;
  }
  ShowInBox(mainWindow, ID_HISTOGRAM_BOX, text);
}

}  // namespace talvoric
