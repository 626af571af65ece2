// The start button: one run fills the output box and the histogram box, reading the
// settings files as they are at that moment and writing none.
#include <algorithm>
#include <array>

#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

const char* const kSettingsFiles[] = {"establish_type.txt", "establish_size.txt", "establish_xor.txt"};

// The histogram box's text for these counts (only the enabled characters): digits,
// upper case, lower case, then the rest, each ascending; "c:n", a space and a tab
// between entries, CR LF after every third.
std::wstring ExpectedHistogram(const std::array<long, 128>& counts, const std::array<bool, 128>& enabled) {
  std::vector<int> order;
  for (int c = '0'; c <= '9'; ++c) order.push_back(c);
  for (int c = 'A'; c <= 'Z'; ++c) order.push_back(c);
  for (int c = 'a'; c <= 'z'; ++c) order.push_back(c);
  for (int c = 33; c <= 126; ++c) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) order.push_back(c);
  }
  std::wstring text;
  int n = 0;
  for (int c : order) {
    if (!enabled[c]) continue;
    text += static_cast<wchar_t>(c);
    text += L':';
    text += std::to_wstring(counts[c]);
    text += (++n % 3 == 0) ? L"\r\n" : L" \t";
  }
  return text;
}

struct RunResult {
  std::wstring output;
  std::wstring histogram;
};

RunResult PressStart(const App& app) {
  Click(app.Main(), ID_START_BUTTON);
  return {GetText(Item(app.Main(), ID_OUTPUT_BOX)), GetText(Item(app.Main(), ID_HISTOGRAM_BOX))};
}

// Every output character is enabled, and the histogram lists exactly the enabled set
// with the counts of the output.
void CheckRun(const RunResult& run, const std::string& enabledChars, std::size_t length, const std::string& what) {
  std::array<bool, 128> enabled{};
  for (unsigned char c : enabledChars) enabled[c] = true;
  std::array<long, 128> counts{};
  bool allEnabled = true;
  for (wchar_t c : run.output) {
    if (c < 128 && enabled[c]) {
      ++counts[c];
    } else {
      allEnabled = false;
    }
  }
  CHECK_EQ_MSG(run.output.size(), length, what + ": output length");
  CHECK_EQ_MSG(allEnabled, true, what + ": output uses only enabled characters " + Describe(run.output));
  CHECK_EQ_MSG(run.histogram, ExpectedHistogram(counts, enabled), what + ": histogram");
}

std::string AllPrintable() {
  std::string s;
  for (int c = 33; c <= 126; ++c) s += static_cast<char>(c);
  return s;
}

}  // namespace

GUI_SCENARIO(StartWithoutSettingsFiles) {
  App app(ctx, "start-no-files");
  app.Launch();
  const RunResult run = PressStart(app);
  // One character out of all 94, and 94 histogram entries, one of them 1.
  CheckRun(run, AllPrintable(), 1, "no settings files");
  CHECK_EQ(std::count(run.histogram.begin(), run.histogram.end(), L'\t') +
               std::count(run.histogram.begin(), run.histogram.end(), L'\n'),
           94);
  for (const char* name : kSettingsFiles) CHECK_EQ_MSG(app.ReadFile(name), std::nullopt, name);
  ctx.Screenshot(app.Main(), "main-window-after-run");
}

GUI_SCENARIO(StartWithPreparedFiles) {
  App app(ctx, "start-prepared");
  app.WriteFile("target-80.bin", std::string(64, '\x80'));
  app.WriteFile("target-text.txt", "The quick brown fox jumps over the lazy dog.\r\n");
  app.Launch();
  struct Case {
    const char* name;
    std::optional<std::string> type, size;
    const char* target;  // a file of the folder, or null for no target
    std::string enabled;
    std::size_t length;
    const wchar_t* exactOutput;  // null: random
  };
  const Case cases[] = {
      // Bytes 0x80 only: every mixed byte lands on the lowest enabled character.
      {"target of 0x80 bytes", "ACE", "20", "target-80.bin", "ACE", 20, L"AAAAAAAAAAAAAAAAAAAA"},
      {"target of 0x80 bytes, other set", "zy!~", "5", "target-80.bin", "!yz~", 5, L"!!!!!"},
      {"set with a line end, count with leading zeros", "zy0\r\n9x1", "0016", nullptr, "019xyz", 16, nullptr},
      {"text target", "0123456789", "40", "target-text.txt", "0123456789", 40, nullptr},
      {"empty set means all", "", "3", nullptr, AllPrintable(), 3, nullptr},
      {"count above the range", std::nullopt, "70000", nullptr, AllPrintable(), 65535, nullptr},
      {"count below the range", "Q", "0", nullptr, "Q", 1, L"Q"},
  };
  for (const Case& c : cases) {
    for (const char* name : kSettingsFiles) app.RemoveFile(name);
    if (c.type) app.WriteFile("establish_type.txt", *c.type);
    if (c.size) app.WriteFile("establish_size.txt", *c.size);
    if (c.target) app.WriteFile("establish_xor.txt", app.AnsiPathOf(c.target));
    const RunResult run = PressStart(app);
    CheckRun(run, c.enabled, c.length, c.name);
    if (c.exactOutput) CHECK_EQ_MSG(run.output, std::wstring(c.exactOutput), c.name);
    // Nothing is written by a run.
    CHECK_EQ_MSG(app.ReadFile("establish_type.txt"), c.type, c.name);
    CHECK_EQ_MSG(app.ReadFile("establish_size.txt"), c.size, c.name);
  }
}
