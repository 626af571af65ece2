#include "status_panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform.h"
#include "settings_paths.h"
#include "test_support.h"

namespace talvoric {
namespace {

using test::TempDir;
using test::WriteBytes;

const std::string kKana = "\x82\xA0";       // HIRAGANA A in code page 932
const std::string kKanaUtf8 = "\xE3\x81\x82";  // the same in UTF-8
const std::string kSep932 = "\x81\x60";
const std::string kSepUtf8 = "\xEF\xBD\x9E";

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string Letters(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<char>('A' + i % 26));
  return out;
}

struct AbbreviateCase {
  const char* what;
  std::string name;
  bool utf8;
  std::string expected;
};

TEST(AbbreviateName, Table) {
  const std::string a36 = Letters(36);
  const std::string a37 = Letters(37);
  const std::vector<AbbreviateCase> cases = {
      {"36 bytes stay whole", a36, false, a36},
      {"37 bytes: 15, separator, 15", a37, false, a37.substr(0, 15) + kSep932 + a37.substr(22)},
      {"worked example", "C:\\Work\\Samples\\Random\\source-file.bin", false,
       "C:\\Work\\Samples" + kSep932 + "source-file.bin"},
      {"two-byte character on bytes 15 and 16 gives a 16-byte head",
       Letters(14) + kKana + Letters(30), false,
       Letters(14) + kKana + kSep932 + Letters(30).substr(15)},
      {"ends in a two-byte character with a start 16 bytes before the end",
       Letters(22) + Repeat(kKana, 8), false, Letters(15) + kSep932 + Repeat(kKana, 8)},
      {"ends in a two-byte character, 16 bytes before the end is a second byte",
       Letters(20) + kKana + "B" + Repeat(kKana, 7), false,
       Letters(15) + kSep932 + "B" + Repeat(kKana, 7)},
      {"one-byte end, fifteenth byte from the end is a second byte: 16-byte tail",
       Letters(22) + Repeat(kKana, 7) + "YZ", false,
       Letters(15) + kSep932 + Repeat(kKana, 7) + "YZ"},
      {"a lone first byte at the very end", Letters(36) + "\x82", false,
       Letters(15) + kSep932 + Letters(36).substr(22) + "\x82"},
      {"a lone first byte at the end after a straddling character",
       Letters(22) + Repeat(kKana, 7) + "Z\x82", false,
       Letters(15) + kSep932 + Repeat(kKana, 7) + "Z\x82"},
      {"half-width katakana is one byte in code page 932", Letters(14) + "\xB1" + kKana + Letters(30),
       false, Letters(14) + "\xB1" + kSep932 + Letters(30).substr(15)},
      {"the name ends at its first zero byte", std::string("ABC\0", 4) + Letters(40), false, "ABC"},
      {"UTF-8: a three-byte character takes the head to 17 bytes", Letters(14) + kKanaUtf8 + Letters(30),
       true, Letters(14) + kKanaUtf8 + kSepUtf8 + Letters(30).substr(15)},
      {"UTF-8: whole characters at the end", Letters(25) + Repeat(kKanaUtf8, 5), true,
       Letters(15) + kSepUtf8 + Letters(25).substr(23) + Repeat(kKanaUtf8, 5)},
      {"UTF-8: never starts on a continuation byte", Letters(23) + Repeat(kKanaUtf8, 5) + "Z", true,
       Letters(15) + kSepUtf8 + Repeat(kKanaUtf8, 5) + "Z"},
      {"UTF-8: a cut-off character at the end", Letters(36) + "\xE3\x81", true,
       Letters(15) + kSepUtf8 + Letters(36).substr(22) + "\xE3\x81"},
  };
  for (const AbbreviateCase& c : cases) {
    const AnsiCharset charset = c.utf8 ? Utf8Charset() : DoubleByteCharset(&IsCp932LeadByte);
    EXPECT_EQ(AbbreviateName(c.name, charset), c.expected) << c.what;
  }
}

// The character starts of a code page 932 name.
std::vector<std::size_t> Starts932(const std::string& s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size(); i += IsCp932LeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1) {
    starts.push_back(i);
  }
  return starts;
}

TEST(AbbreviateName, MixedNamesKeepWholeCharactersOnBothSides) {
  // Every mixture of one- and two-byte characters from 37 to 60 bytes: the head is
  // the 15-byte rule, the tail starts on a character start, reaches the end, and
  // covers 15 or 16 bytes.
  const AnsiCharset charset = DoubleByteCharset(&IsCp932LeadByte);
  for (unsigned pattern = 0; pattern < 4096; pattern += 7) {
    std::string name;
    for (int i = 0; name.size() < 37 + pattern % 24; ++i) {
      name += ((pattern >> (i % 12)) & 1u) ? kKana : std::string(1, static_cast<char>('a' + i % 26));
    }
    const std::string out = AbbreviateName(name, charset);
    const std::size_t sep = out.find(kSep932, 15);
    ASSERT_NE(sep, std::string::npos) << name;
    ASSERT_TRUE(sep == 15 || sep == 16) << name;
    EXPECT_EQ(out.substr(0, sep), name.substr(0, sep));
    const std::string tail = out.substr(sep + 2);
    ASSERT_GE(tail.size(), 15u) << name;
    ASSERT_LE(tail.size(), 16u) << name;
    EXPECT_EQ(name.substr(name.size() - tail.size()), tail);
    const std::vector<std::size_t> starts = Starts932(name);
    EXPECT_NE(std::find(starts.begin(), starts.end(), name.size() - tail.size()), starts.end()) << name;
    EXPECT_GE(out.size(), 32u);
    EXPECT_LE(out.size(), 34u);
  }
}

TEST(AbbreviateName, JapaneseNameInTheSystemCodePageStaysReadable) {
  // Whatever the ANSI code page (UTF-8 here, 932 under Wine), a shortened Japanese name
  // converts back to whole characters: a head of the name, the tilde, a tail of it.
  const std::u16string name =
      u"C:\\\u30C7\u30FC\u30BF\\\u4E71\u6570\u306E\u5143\u306B\u306A\u308B\u30D5"
      u"\u30A1\u30A4\u30EB\u3067\u3059\u3088\u3002\u9577\u3044\u540D\u524D.bin";
  const std::optional<std::string> ansi = ToAnsi(name);
  ASSERT_TRUE(ansi.has_value());
  ASSERT_GT(ansi->size(), kLongestWholeName);
  const std::optional<std::u16string> back = FromAnsi(AbbreviateName(*ansi));
  ASSERT_TRUE(back.has_value());
  std::size_t sep = back->find(u'\uFF5E');
  if (sep == std::u16string::npos) sep = back->find(u'\u301C');  // the same code in 932
  ASSERT_NE(sep, std::u16string::npos);
  const std::u16string head = back->substr(0, sep);
  const std::u16string tail = back->substr(sep + 1);
  EXPECT_EQ(name.substr(0, head.size()), head);
  ASSERT_LE(tail.size(), name.size());
  EXPECT_EQ(name.substr(name.size() - tail.size()), tail);
  EXPECT_GE(head.size(), 6u);
  EXPECT_GE(tail.size(), 6u);
}

class StatusPanelTest : public ::testing::Test {
 protected:
  TempDir dir;
  SettingsPaths paths = BuildSettingsPaths(dir.Dir());

  std::vector<std::string> Summary() { return SummaryLines(LoadDisplayFlags(paths)); }
};

std::string Texts(const StatusPanel& panel) {
  // Each item as "x,y:text", the labels in UTF-16 compared separately.
  std::string out;
  for (const PanelText& item : panel.items) {
    out += std::to_string(item.x) + "," + std::to_string(item.y) + ":" +
           (item.isAnsi ? item.ansi : std::string("label")) + "\n";
  }
  return out;
}

TEST_F(StatusPanelTest, NoSettingsFilesShowsDefaultsAtTheirPlaces) {
  const StatusPanel panel = BuildStatusPanel(paths);
  EXPECT_FALSE(panel.countTextFailed);
  EXPECT_EQ(Texts(panel),
            "10,5:label\n10,140:label\n250,5:label\n250,20:NONE.\n250,50:label\n"
            "250,65:0123456789\n250,80:ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
            "250,95:abcdefghijklmnopqrstuvwxyz\n"
            "250,110:!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\n250,140:label\n250,155:1\n");
  const std::vector<std::u16string_view> labels = {kOutputLabel, kHistogramLabel, kTargetLabel,
                                                   kCharsetLabel, kCountLabel};
  std::vector<std::u16string_view> drawn;
  std::vector<std::u16string> keep;
  keep.reserve(panel.items.size());
  for (const PanelText& item : panel.items) {
    if (!item.isAnsi) drawn.push_back(keep.emplace_back(PanelTextWide(item)));
  }
  EXPECT_EQ(drawn, labels);
  EXPECT_EQ(std::u16string(kCharsetLabel), u"\u751F\u6210\u5BFE\u8C61\u6587\u5B57\u7A2E");
}

TEST_F(StatusPanelTest, DisplayRuleOfTheTypeFile) {
  struct Case {
    std::string content;
    std::vector<std::string> lines;
  };
  const std::string others = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
  const std::vector<Case> cases = {
      {"7", {"7"}},
      {"aZ", {"Z", "a"}},
      {"\n", {}},
      {"\x80", {}},
      {"   ", {}},
      {"\xC1", {"A"}},
      {"~0a!A", {"0", "A", "a", "!~"}},
      {"", {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", others}},
      {std::string("\0b", 2), {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
                               others}},
  };
  for (const Case& c : cases) {
    WriteBytes(paths.type, c.content);
    EXPECT_EQ(Summary(), c.lines) << "type file: " << c.content;
  }
}

TEST_F(StatusPanelTest, SummaryLinesTakeOnlyTheLinesDrawn) {
  WriteBytes(paths.type, "aZ");
  std::vector<std::pair<int, std::string>> lines;
  for (const PanelText& item : BuildStatusPanel(paths).items) {
    if (item.part == PanelPart::SummaryLine) lines.emplace_back(item.y, item.ansi);
  }
  EXPECT_EQ(lines, (std::vector<std::pair<int, std::string>>{{65, "Z"}, {80, "a"}}));
}

TEST_F(StatusPanelTest, CountLineFromTheSizeFile) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", "1"},         {"-3", "1"},        {"abc", "1"},     {"", "1"},
      {"0042", "0042"},   {"65535", "65535"}, {"65536", "65536"}, {"70000", "65536"},
      {"1.5", "1.5"},     {"1e5", "1e5"},     {"3000000000", "65536"},
      {"16\r\n", "16\n"},
  };
  EXPECT_EQ(CountLine(paths), "1");  // no size file
  for (const auto& [content, shown] : cases) {
    WriteBytes(paths.size, content);
    EXPECT_EQ(CountLine(paths), shown) << "size file: " << content;
  }
}

TEST_F(StatusPanelTest, TargetLineFollowsTheTargetFile) {
  EXPECT_EQ(TargetLine(paths), "NONE.");  // no xor file
  WriteBytes(paths.xorTarget, "");
  EXPECT_EQ(TargetLine(paths), "NONE.");

  const std::string target = dir.File("target.bin");
  WriteBytes(paths.xorTarget, target);
  EXPECT_EQ(TargetLine(paths), "NONE.");  // named but missing
  WriteBytes(target, "xyz");
  EXPECT_EQ(TargetLine(paths), AbbreviateName(target));
  std::filesystem::remove(target);
  EXPECT_EQ(TargetLine(paths), "NONE.");  // deleted after it was chosen
  WriteBytes(target, "");
  EXPECT_EQ(TargetLine(paths), AbbreviateName(target));  // back, and empty counts

  WriteBytes(paths.xorTarget, dir.Dir());  // a folder is not readable
  EXPECT_EQ(TargetLine(paths), "NONE.");
}

TEST_F(StatusPanelTest, TargetOfTwoGibibytesShowsNone) {
  const std::string target = dir.File("big.bin");
  WriteBytes(paths.xorTarget, target);
  WriteBytes(target, "");
  std::error_code ec;
  std::filesystem::resize_file(target, (std::uintmax_t{1} << 31) - 1, ec);
  if (ec) GTEST_SKIP() << "no room for a sparse file: " << ec.message();
  EXPECT_EQ(TargetLine(paths), AbbreviateName(target));
  std::filesystem::resize_file(target, std::uintmax_t{1} << 31, ec);
  ASSERT_FALSE(ec);
  EXPECT_EQ(TargetLine(paths), "NONE.");
}

TEST(PanelText, EachKindConvertsByItsOwnRule) {
  const PanelText label{PanelPart::CountLabel, 250, 140, false, "", std::u16string(kCountLabel)};
  const PanelText computed{PanelPart::CountLine, 250, 155, true, "0042", u""};
  EXPECT_EQ(PanelTextWide(label), kCountLabel);
  EXPECT_EQ(PanelTextWide(computed), u"0042");
  EXPECT_EQ(PanelTextAnsi(computed), "0042");
  EXPECT_EQ(PanelTextAnsi(label), ToAnsi(kCountLabel).value());
}

}  // namespace
}  // namespace talvoric
