#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generation.h"

namespace talvoric {
namespace {

CharTable With(const std::vector<std::pair<char, unsigned>>& entries) {
  CharTable table;
  for (const auto& [c, n] : entries) {
    table[static_cast<unsigned char>(c)].enabled = 1;
    table[static_cast<unsigned char>(c)].count = n;
  }
  return table;
}

TEST(Histogram, WorkedExamples) {
  struct Case {
    CharTable table;
    std::string text;
  };
  const std::vector<Case> cases = {
      {With({{'0', 3}, {'1', 0}, {'7', 12}, {'A', 5}, {'z', 1}, {'#', 4}}),
       "0:3 \t1:0 \t7:12\r\nA:5 \tz:1 \t#:4\r\n"},
      {With({{'0', 3}, {'1', 0}, {'7', 12}, {'A', 5}, {'z', 1}, {'#', 4}, {'a', 2}}),
       "0:3 \t1:0 \t7:12\r\nA:5 \ta:2 \tz:1\r\n#:4 \t"},
      {With({{'!', 1}, {'A', 2}}), "A:2 \t!:1 \t"},
      {With({{'q', 65535}}), "q:65535 \t"},
      {With({{'a', 1}, {'b', 2}, {'c', 0}}), "a:1 \tb:2 \tc:0\r\n"},
      {With({}), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildHistogramText(c.table), c.text);
}

TEST(Histogram, AllNinetyFourEntriesMakeThirtyOneLinesAndATilde) {
  CharTable table;
  for (int k = 33; k <= 126; ++k) table[k].enabled = 1;
  const std::string text = BuildHistogramText(table);
  int lines = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) lines += text[i] == '\r' && text[i + 1] == '\n';
  EXPECT_EQ(lines, 31);
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), "~:0 \t");
  EXPECT_EQ(text.substr(0, 4), "0:0 ");
}

}  // namespace
}  // namespace talvoric
