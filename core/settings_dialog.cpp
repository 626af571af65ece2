#include "settings_dialog.h"

#include <algorithm>

#include "decimal.h"
#include "text_file.h"

namespace talvoric {
namespace {

static_assert(CharBoxTable.front().id == kFirstCharBoxId && CharBoxTable.front().code == 'A');
static_assert(CharBoxTable.back().id == kLastCharBoxId && CharBoxTable.back().code == '~');
static_assert(CharBoxTable[77].code == ':' && CharBoxTable[77].labelX == 385 &&
              CharBoxTable[77].boxY == 150);

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of digits of the largest count: longer digit runs are above the range.
constexpr std::size_t kMaxCountDigits = 5;

}  // namespace

std::optional<std::size_t> CharBoxIndex(unsigned char code) {
  for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
    if (CharBoxTable[i].code == code) return i;
  }
  return std::nullopt;
}

std::optional<int> ReadCountSetting(const SettingsPaths& paths) {
  const std::optional<std::string> content = ReadTextFile(paths.size);
  if (!content) return std::nullopt;
  const std::string_view text = ContentOf(*content);
  if (!std::all_of(text.begin(), text.end(), IsDigit)) return 1;
  return ClampCount(ParseDecimal(text));
}

DialogSettings LoadDialogSettings(const SettingsPaths& paths) {
  DialogSettings settings;
  // No rule turns an empty set into every character here: an empty or missing type
  // file opens with every box clear.
  if (const std::optional<std::string> type = ReadTextFile(paths.type)) {
    bool flags[128] = {};
    for (const char c : ContentOf(*type)) flags[static_cast<unsigned char>(c) & 0x7Fu] = true;
    for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
      settings.boxes[i] = flags[CharBoxTable[i].code];
    }
  }
  // "1" without a size file; "ERROR!" when memory for the value's digits ran out.
  const std::optional<int> value = ReadCountSetting(paths);
  std::optional<std::string> digits = value ? FormatDecimal(*value) : std::optional<std::string>("1");
  settings.countText = digits ? std::move(*digits) : std::string("ERROR!");
  return settings;
}

int ParseCountField(std::string_view text) {
  text = ContentOf(text);
  const std::size_t digits = static_cast<std::size_t>(
      std::find_if_not(text.begin(), text.end(), IsDigit) - text.begin());
  const std::string_view run = text.substr(0, digits);
  if (run.find_first_not_of('0') == std::string_view::npos) return 1;  // none, or all zeros
  if (digits > kMaxCountDigits) return kMaxCount;                       // leading zeros count
  return std::min(static_cast<int>(ParseDecimal(run)), kMaxCount);
}

std::string CheckedCharacters(const CharBoxStates& boxes) {
  bool flags[128] = {};
  for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
    if (boxes[i]) flags[CharBoxTable[i].code] = true;
  }
  std::string out;
  for (int c = 32; c <= 127; ++c) {
    if (flags[c]) out.push_back(static_cast<char>(c));
  }
  return out;
}

bool SaveDialogSettings(const SettingsPaths& paths, const CharBoxStates& boxes,
                        std::optional<std::string_view> countField) {
  // Emptying the file and then appending one character at a time leaves exactly the
  // checked characters in ascending order; writing that result in one replacement
  // leaves the same bytes without a moment in which the file is half written.
  const bool typeWritten = ReplaceTextFile(paths.type, CheckedCharacters(boxes));
  const int count = countField ? ParseCountField(*countField) : 1;
  const std::optional<std::string> digits = FormatDecimal(count);
  // Without the digits (memory ran out) the size file keeps its previous content.
  const bool sizeWritten = digits && ReplaceTextFile(paths.size, *digits);
  return typeWritten && sizeWritten;
}

}  // namespace talvoric
