// Character sets: the sort, the exclude marking and the merge, checked against plain
// statements, then the open, add and exclude commands on real files.
// Input sections, cut at "@@": the character-set file's bytes, a chosen file's bytes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "file_commands.h"
#include "fuzz_support.h"
#include "settings_paths.h"
#include "text_file.h"

using namespace talvoric;
using namespace talvoric::fuzz;

namespace {

using FixedChooser = NamedFileChooser;

// Each distinct byte before the first zero, in signed order: 0x80..0xFF, then 0x01..0x7F.
std::string SortedSet(std::string_view bytes) {
  std::array<bool, 256> present{};
  for (const char c : bytes.substr(0, bytes.find('\0'))) present[static_cast<unsigned char>(c)] = true;
  std::string out;
  for (int v = -128; v <= 127; ++v) {
    const unsigned char b = static_cast<unsigned char>(static_cast<signed char>(v));
    if (b != 0 && present[b]) out.push_back(static_cast<char>(b));
  }
  return out;
}

void CheckSorted(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    FUZZ_CHECK(s[i] != '\0');
    if (i > 0) FUZZ_CHECK(static_cast<signed char>(s[i - 1]) < static_cast<signed char>(s[i]));
  }
}

std::string Without(std::string set, std::string_view exclusion) {
  exclusion = exclusion.substr(0, exclusion.find('\0'));
  std::erase_if(set, [&](char c) { return c == 127 || exclusion.find(c) != std::string_view::npos; });
  return set;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = SplitSections(std::string_view(reinterpret_cast<const char*>(data), size), 2);
  const std::string_view typeBytes = parts[0];
  const std::string_view chosenBytes = parts[1];

  const std::string sorted = SortUnique(typeBytes);
  CheckSorted(sorted);
  FUZZ_CHECK(sorted == SortedSet(typeBytes));

  const std::string excluded = ExcludedCharacterSet(typeBytes, chosenBytes);
  CheckSorted(excluded);
  FUZZ_CHECK(excluded.find('\x7f') == std::string::npos);
  FUZZ_CHECK(excluded == Without(SortedSet(typeBytes), chosenBytes));

  // The merge as the file would see it: "a+" drops one final 0x1A, the addition goes
  // in by the writing rules, and the file is read back by the reading rules.
  auto mergeOf = [&](std::string_view addition) {
    std::string appended(typeBytes);
    if (!appended.empty() && appended.back() == '\x1a') appended.pop_back();
    appended += StoredBytes(addition);
    return SortedSet(DeliveredBytes(appended));
  };
  const std::string merged = MergedCharacterSet(typeBytes, chosenBytes);
  CheckSorted(merged);
  FUZZ_CHECK(merged == mergeOf(chosenBytes));

  // The commands on real files: each leaves the set sorted, once each, as stored bytes.
  const SettingsPaths paths = BuildSettingsPaths((ScratchDir() / "").string());
  const std::string chosen = ScratchFile("chosen.txt");
  WriteRaw(chosen, chosenBytes);
  FixedChooser chooser(chosen);
  const std::string chosenContent = DeliveredBytes(chosenBytes);

  WriteRaw(paths.type, typeBytes);
  FUZZ_CHECK(OpenCharsetFile(paths, chooser).status == CommandStatus::kDone);
  FUZZ_CHECK(ReadRaw(paths.type) == StoredBytes(SortedSet(chosenContent)));

  WriteRaw(paths.type, typeBytes);
  FUZZ_CHECK(AddCharsetFile(paths, chooser).status == CommandStatus::kDone);
  FUZZ_CHECK(ReadRaw(paths.type) == StoredBytes(mergeOf(chosenContent)));

  WriteRaw(paths.type, typeBytes);
  FUZZ_CHECK(ExcludeCharsetFile(paths, chooser).status == CommandStatus::kDone);
  const std::string left = Without(SortedSet(DeliveredBytes(typeBytes)), chosenContent);
  FUZZ_CHECK(ReadRaw(paths.type) == StoredBytes(left));
  FUZZ_CHECK(ScratchListing().size() == 2);  // no temporary files left behind
  return 0;
}
