// The settings dialog's count rules and its round trip through the files.
// Input: 12 bytes of check box states (94 bits), then the size file's bytes, "@@", and
// the count field's text. The count field and the size file are checked against plain
// statements of their rules; OK then writes both files in one step each, and opening
// the dialog again shows exactly what was saved.
#include <cstdint>
#include <string>

#include "decimal.h"
#include "fuzz_support.h"
#include "settings_dialog.h"
#include "settings_paths.h"
#include "text_file.h"

using namespace talvoric;
using namespace talvoric::fuzz;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The count field: its leading digits alone; none or all zeros give 1; more than five
// digits, or a value above 65535, give 65535.
int ExpectedFieldCount(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::size_t i = 0;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::string_view digits = text.substr(0, i);
  if (digits.find_first_not_of('0') == std::string_view::npos) return 1;
  if (digits.size() > 5) return 65535;
  const int n = std::stoi(std::string(digits));
  return n > 65535 ? 65535 : n;
}

// The size file as the dialog reads it: only an all-digit content counts.
int ExpectedSetting(std::string_view fileBytes) {
  const std::string content = BeforeZero(DeliveredBytes(fileBytes));
  for (const char c : content) {
    if (!IsDigit(c)) return 1;
  }
  const std::size_t first = content.find_first_not_of('0');
  if (first == std::string::npos) return 1;  // empty or only zeros
  const std::string significant = content.substr(first);
  if (significant.size() > 5) return 65535;
  const int n = std::stoi(significant);
  return n > 65535 ? 65535 : n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 12) return 0;
  CharBoxStates boxes{};
  for (std::size_t i = 0; i < kCharBoxCount; ++i) boxes[i] = (data[i / 8] >> (i % 8)) & 1u;
  const auto parts = SplitSections(std::string_view(reinterpret_cast<const char*>(data) + 12, size - 12), 2);
  const std::string_view sizeBytes = parts[0];
  const std::string_view field = parts[1];

  FUZZ_CHECK(ParseCountField(field) == ExpectedFieldCount(field));

  const SettingsPaths paths = BuildSettingsPaths((ScratchDir() / "").string());
  WriteRaw(paths.size, sizeBytes);
  const std::optional<int> setting = ReadCountSetting(paths);
  FUZZ_CHECK(setting && *setting == ExpectedSetting(sizeBytes));
  RemoveFile(paths.size);
  FUZZ_CHECK(!ReadCountSetting(paths));

  // OK, then open again: the same boxes, and the saved count's digits.
  WriteRaw(paths.type, sizeBytes);  // some previous set, to be replaced whole
  FUZZ_CHECK(SaveDialogSettings(paths, boxes, field));
  std::string expectedType;
  for (unsigned c = 33; c <= 126; ++c) {
    if (boxes[*CharBoxIndex(static_cast<unsigned char>(c))]) expectedType.push_back(static_cast<char>(c));
  }
  FUZZ_CHECK(ReadRaw(paths.type) == expectedType);
  const std::string count = std::to_string(ExpectedFieldCount(field));
  FUZZ_CHECK(ReadRaw(paths.size) == count);
  const DialogSettings reopened = LoadDialogSettings(paths);
  FUZZ_CHECK(reopened.boxes == boxes);
  FUZZ_CHECK(reopened.countText == count);
  FUZZ_CHECK(ScratchListing().size() == 2);  // the two settings files, no temporary files
  RemoveFile(paths.type);
  RemoveFile(paths.size);
  return 0;
}
