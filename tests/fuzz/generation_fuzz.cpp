// A whole press of the start button from arbitrary settings files and target.
// Input sections, cut at "@@": the character-set file, the size file, the target
// setting, the target file. An empty first or second section, or one that starts
// with 'N', means that file is missing. The target setting's first byte chooses its
// form: 'N' (or nothing) no file, 'E' an empty file, 'T' the target's path, anything
// else the raw bytes as a path. The run must emit exactly the count its size file
// gives, only enabled characters, and counts (in the table and in the histogram text)
// that add up.
#include <array>
#include <cstdint>
#include <string>

#include "decimal.h"
#include "fuzz_support.h"
#include "generation.h"
#include "settings_paths.h"
#include "text_file.h"

using namespace talvoric;
using namespace talvoric::fuzz;

namespace {

bool Present(std::string_view section) { return !section.empty() && section[0] != 'N'; }

void Place(const std::string& path, std::string_view section) {
  if (Present(section)) WriteRaw(path, section);
  else RemoveFile(path);
}

// The count from the size file's delivered bytes, stated apart from the engine.
int ExpectedCount(std::string_view section) {
  if (!Present(section)) return 1;
  const double x = ParseDecimal(DeliveredBytes(section));
  if (x >= 65536.0) return 65535;
  if (!(x >= 1.0)) return 1;
  return static_cast<int>(x);
}

// Which characters may appear: each byte's low seven bits when 33..126, all 94 otherwise.
std::array<bool, 128> ExpectedEnabled(std::string_view section) {
  std::array<bool, 128> on{};
  bool any = false;
  if (Present(section)) {
    for (const char c : BeforeZero(DeliveredBytes(section))) {
      const unsigned k = static_cast<unsigned char>(c) & 0x7Fu;
      if (k >= 33 && k <= 126) on[k] = any = true;
    }
  }
  if (!any) {
    for (unsigned k = 33; k <= 126; ++k) on[k] = true;
  }
  return on;
}

// The histogram's entry order: digits, upper case, lower case, then the rest.
std::string HistogramOrder(const std::array<bool, 128>& enabled) {
  std::string order;
  auto grouped = [](unsigned k) {
    return (k >= 48 && k <= 57) || (k >= 65 && k <= 90) || (k >= 97 && k <= 122);
  };
  for (const auto& [from, to] : {std::pair{48u, 57u}, {65u, 90u}, {97u, 122u}}) {
    for (unsigned k = from; k <= to; ++k) {
      if (enabled[k]) order.push_back(static_cast<char>(k));
    }
  }
  for (unsigned k = 33; k <= 126; ++k) {
    if (enabled[k] && !grouped(k)) order.push_back(static_cast<char>(k));
  }
  return order;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = SplitSections(std::string_view(reinterpret_cast<const char*>(data), size), 4);
  const SettingsPaths paths = BuildSettingsPaths((ScratchDir() / "").string());
  const std::string target = ScratchFile("target.bin");

  Place(paths.type, parts[0]);
  Place(paths.size, parts[1]);
  const char form = parts[2].empty() ? 'N' : parts[2][0];
  if (form == 'N') RemoveFile(paths.xorTarget);
  else if (form == 'E') WriteRaw(paths.xorTarget, "");
  else if (form == 'T') WriteRaw(paths.xorTarget, target);
  else WriteRaw(paths.xorTarget, parts[2]);
  WriteRaw(target, parts[3]);

  RandomGenerator generator;
  generator.Seed(Hash(data, size));
  generator.SeedPending = false;
  const GenerationResult result = RunGeneration(paths, generator, nullptr);

  const int count = ExpectedCount(parts[1]);
  const std::array<bool, 128> enabled = ExpectedEnabled(parts[0]);
  FUZZ_CHECK(result.output.has_value());
  const std::string& out = *result.output;
  FUZZ_CHECK(out.size() == static_cast<std::size_t>(count));

  std::array<std::uint32_t, 128> seen{};
  for (const char c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    FUZZ_CHECK(u < 128 && enabled[u]);
    ++seen[u];
  }
  std::uint64_t total = 0;
  for (unsigned k = 0; k < 128; ++k) {
    FUZZ_CHECK((result.table[k].enabled != 0) == enabled[k]);
    FUZZ_CHECK(result.table[k].count == seen[k]);
    total += result.table[k].count;
  }
  FUZZ_CHECK(total == static_cast<std::uint64_t>(count));

  // The histogram: "c:n" per enabled character in group order, a space and a tab after
  // each entry but CR LF after every third, and numbers that add up to the count.
  const std::string order = HistogramOrder(enabled);
  const std::string histogram = BuildHistogramText(result.table);
  std::uint64_t listed = 0;
  std::size_t entries = 0;
  std::size_t i = 0;
  while (i < histogram.size()) {
    FUZZ_CHECK(entries < order.size() && i + 2 < histogram.size());
    FUZZ_CHECK(histogram[i] == order[entries] && histogram[i + 1] == ':');
    const unsigned char ch = static_cast<unsigned char>(histogram[i]);
    std::size_t j = i + 2;
    std::uint64_t n = 0;
    while (j < histogram.size() && histogram[j] >= '0' && histogram[j] <= '9') {
      n = n * 10 + static_cast<unsigned>(histogram[j++] - '0');
    }
    FUZZ_CHECK(j > i + 2 && n == seen[ch]);
    FUZZ_CHECK(j == i + 3 || histogram[i + 2] != '0');  // no leading zeros
    listed += n;
    ++entries;
    FUZZ_CHECK(std::string_view(histogram).substr(j, 2) == (entries % 3 == 0 ? "\r\n" : " \t"));
    i = j + 2;
  }
  FUZZ_CHECK(entries == order.size() && listed == static_cast<std::uint64_t>(count));
  return 0;
}
