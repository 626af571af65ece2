#include "generation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "text_file.h"

namespace talvoric {
namespace {

using test::TempDir;
using test::WriteBytes;

unsigned FixedClock() { return 1u; }

std::vector<int> Codes(const std::string& s) {
  std::vector<int> out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}

CharTable TableOf(const std::string& set) {
  CharTable table;
  LoadCharTableFromContent(table, set);
  return table;
}

TEST(Generator, FirstDrawsAfterSeedOne) {
  RandomGenerator g;
  g.Seed(1);
  std::vector<int> draws;
  for (int i = 0; i < 5; ++i) draws.push_back(g.Draw());
  EXPECT_EQ(draws, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(Generator, SeedOneVectorMixedBytesAndTwoRuns) {
  RandomGenerator g;
  g.Seed(1);
  g.SeedPending = false;
  const std::optional<std::string> bytes = MakeRandomBytes(g, nullptr, " ", 16);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(Codes(*bytes), (std::vector<int>{0x5D, 0x37, 0x33, 0x27, 0x53, 0x1A, 0x32, 0x40, 0x3C,
                                             0x79, 0x2C, 0x62, 0x2B, 0x49, 0x26, 0x11}));
  std::string first = *bytes;
  CharTable table = TableOf("");
  SelectCharacters(table, first);
  EXPECT_EQ(first, "~W,SHb6vTo=AlW}0");

  std::string second = *MakeRandomBytes(g, nullptr, " ", 16);
  table = TableOf("");
  SelectCharacters(table, second);
  EXPECT_EQ(Codes(second), (std::vector<int>{43, 86, 95, 86, 116, 100, 37, 95, 59, 109, 43, 61, 108,
                                             44, 79, 109}));
}

TEST(Generator, SeedPendingUsesTheClockOnceThenContinues) {
  RandomGenerator fromClock;
  const std::string a = *MakeRandomBytes(fromClock, &FixedClock, " ", 16);
  EXPECT_FALSE(fromClock.SeedPending);
  const std::string b = *MakeRandomBytes(fromClock, &FixedClock, " ", 16);

  RandomGenerator seeded;
  seeded.Seed(1);
  seeded.SeedPending = false;
  EXPECT_EQ(a, *MakeRandomBytes(seeded, nullptr, " ", 16));
  EXPECT_EQ(b, *MakeRandomBytes(seeded, nullptr, " ", 16));
}

TEST(Generator, InvalidArgumentsGiveNoneButStillSeedAndDrawNothing) {
  RandomGenerator g;
  EXPECT_FALSE(MakeRandomBytes(g, &FixedClock, "", 5).has_value());
  EXPECT_FALSE(g.SeedPending);
  EXPECT_EQ(g.State(), 1u);
  EXPECT_FALSE(MakeRandomBytes(g, &FixedClock, " ", 0).has_value());
  EXPECT_EQ(g.State(), 1u);
}

TEST(Generator, MixedBytesStayBelow128ForMixingUpTo127AndAbove127For128) {
  RandomGenerator g;
  g.Seed(12345);
  g.SeedPending = false;
  for (int m : {1, 0x20, 0x7F}) {
    const std::string bytes = *MakeRandomBytes(g, nullptr, std::string(1, static_cast<char>(m)), 4096);
    for (char c : bytes) ASSERT_LT(static_cast<unsigned char>(c), 128u);
  }
  const std::string high = *MakeRandomBytes(g, nullptr, "\x80", 4096);
  for (char c : high) ASSERT_GE(static_cast<unsigned char>(c), 128u);
}

TEST(Walk, WorkedExamples) {
  struct Case {
    std::string set;
    std::string mixed;
    std::string output;
  };
  const std::vector<Case> cases = {
      {"AB", std::string("\x01\x02\x00\x03", 4), "BBBA"},
      {"xyz", "\x85\x04", "xy"},
      {"Q", "\x05\x7f\x80\x01", "QQQQ"},
      {"\xc1", "\x01\x01", "AA"},  // 0xC1 enables A
  };
  for (const Case& c : cases) {
    CharTable table = TableOf(c.set);
    std::string bytes = c.mixed;
    SelectCharacters(table, bytes);
    EXPECT_EQ(bytes, c.output) << c.set;
  }
  CharTable table = TableOf("AB");
  std::string bytes("\x01\x02\x00\x03", 4);
  SelectCharacters(table, bytes);
  EXPECT_EQ(table['A'].count, 1u);
  EXPECT_EQ(table['B'].count, 3u);
}

TEST(Walk, ListWalkAgreesWithTheEntryByEntryWalk) {
  // The entry-by-entry walk as first described, kept here as the reference.
  auto reference = [](CharTable& table, std::string& bytes) {
    int m = 0;
    while (table[m].enabled == 0) ++m;
    for (char& c : bytes) {
      const int s = static_cast<signed char>(c);
      for (int k = 0; k < s; ++k) {
        m = m + 1;
        while (table[m & 127].enabled == 0) m = (m + 1) % 128;
        m &= 127;
      }
      ++table[m].count;
      c = static_cast<char>(m);
    }
  };
  RandomGenerator g;
  g.Seed(7);
  g.SeedPending = false;
  for (const std::string set : {"", "!", "~", "AZaz09", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", "kq"}) {
    const std::string mixed = *MakeRandomBytes(g, nullptr, "\x80\x05 \x7f", 3000);
    CharTable a = TableOf(set);
    CharTable b = TableOf(set);
    std::string x = mixed;
    std::string y = mixed;
    SelectCharacters(a, x);
    reference(b, y);
    EXPECT_EQ(x, y) << set;
    for (int k = 0; k < 128; ++k) EXPECT_EQ(a[k].count, b[k].count);
  }
}

TEST(CharTableLoad, EnablingRules) {
  struct Case {
    std::string content;
    std::string enabled;  // empty: all 94
  };
  const std::vector<Case> cases = {
      {"", ""},
      {" \r\n\t", ""},
      {"\x7f\x20\xa0", ""},  // only codes 127, 32 and 32 after masking
      {"\xc1", "A"},
      {"BA\nB", "AB"},
      {std::string("A\0B", 3), "A"},
  };
  for (const Case& c : cases) {
    const CharTable table = TableOf(c.content);
    std::string got;
    for (int k = 0; k < 128; ++k) {
      if (table[k].enabled) got.push_back(static_cast<char>(k));
      EXPECT_EQ(table[k].count, 0u);
    }
    if (c.enabled.empty()) {
      EXPECT_EQ(got.size(), 94u);
      EXPECT_EQ(got.front(), '!');
      EXPECT_EQ(got.back(), '~');
    } else {
      EXPECT_EQ(got, c.enabled);
    }
  }
}

TEST(Mixing, TargetBytesAreNegatedAndCutAtZero) {
  EXPECT_EQ(MixingBytesFromContent(std::string("\x81\xff\x41\x80\x00\x33", 6)),
            std::string("\x7f\x01\x41\x80", 4));
  EXPECT_EQ(MixingBytesFromContent(std::string("\x00\x41", 2)), " ");
  EXPECT_EQ(MixingBytesFromContent(""), " ");
}

class RunFromFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    paths_ = BuildSettingsPaths(dir_.Dir());
    generator_.Seed(1);
    generator_.SeedPending = false;
  }
  GenerationResult Run() { return RunGeneration(paths_, generator_, nullptr); }

  test::TempDir dir_;
  SettingsPaths paths_;
  RandomGenerator generator_;
};

TEST_F(RunFromFiles, NoSettingsFilesGiveOneCharacterAndAllEntries) {
  const GenerationResult r = Run();
  ASSERT_TRUE(r.output.has_value());
  EXPECT_EQ(r.output->size(), 1u);
  int enabled = 0;
  unsigned total = 0;
  for (const CharEntry& e : r.table) {
    enabled += e.enabled;
    total += e.count;
  }
  EXPECT_EQ(enabled, 94);
  EXPECT_EQ(total, 1u);
}

TEST_F(RunFromFiles, SizeFileTextsGiveTheClampedCount) {
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"16", 16}, {"0", 1}, {"-5", 1}, {"0.5", 1}, {"3.9", 3}, {"70000", 65535},
      {"5000000000", 65535}, {"16\r\n", 16}, {"1\x1a" "00", 1}, {std::string(1 << 20, '9'), 65535},
      {std::string("12\0" "34", 5), 12}, {"\x82\x50\x82\x55", 1},
  };
  for (const auto& [text, count] : cases) {
    WriteBytes(paths_.size, text);
    const GenerationResult r = Run();
    ASSERT_TRUE(r.output.has_value());
    EXPECT_EQ(r.output->size(), count) << text.substr(0, 20);
  }
}

TEST_F(RunFromFiles, SeedOneVectorThroughTheFiles) {
  WriteBytes(paths_.size, "16");
  EXPECT_EQ(*Run().output, "~W,SHb6vTo=AlW}0");
  EXPECT_EQ(*Run().output, "+V_Vtd%_;m+=l,Om");
}

TEST_F(RunFromFiles, TargetOfOnly0x80RepeatsTheLowestEnabledCharacter) {
  WriteBytes(paths_.size, "50");
  WriteBytes(paths_.type, "zkD");
  const std::string target = dir_.File("target.bin");
  WriteBytes(target, std::string(7, '\x80'));
  WriteBytes(paths_.xorTarget, target);
  const GenerationResult r = Run();
  EXPECT_EQ(*r.output, std::string(50, 'D'));
  EXPECT_EQ(r.table['D'].count, 50u);
}

TEST_F(RunFromFiles, UnusableTargetsMixLikeNoTarget) {
  WriteBytes(paths_.size, "16");
  const std::string target = dir_.File("target.bin");
  const std::vector<std::string> settings = {"", dir_.File("missing.bin"), dir_.Dir(), target};
  WriteBytes(target, std::string("\0abc", 4));
  for (const std::string& setting : settings) {
    WriteBytes(paths_.xorTarget, setting);
    generator_.Seed(1);
    EXPECT_EQ(*Run().output, "~W,SHb6vTo=AlW}0") << setting;
  }
}

TEST_F(RunFromFiles, OnlyTheNeededPrefixOfTheTargetMatters) {
  // A long target and its first count bytes give the same characters.
  WriteBytes(paths_.size, "300");
  std::string big;
  for (int i = 0; i < 100000; ++i) {
    const char c = static_cast<char>(1 + (i * 7919) % 255);
    big.push_back(c == '\x1a' ? 'e' : c);
  }
  ASSERT_GT(TextModeDecode(big).size(), 300u);  // the target is long after the byte rules too
  const std::string target = dir_.File("big.bin");
  WriteBytes(target, big);
  WriteBytes(paths_.xorTarget, target);
  const std::string whole = *Run().output;

  generator_.Seed(1);
  RandomGenerator reference;
  reference.Seed(1);
  reference.SeedPending = false;
  std::string bytes = *MakeRandomBytes(reference, nullptr, MixingBytesFromContent(TextModeDecode(big)), 300);
  CharTable table = TableOf("");
  SelectCharacters(table, bytes);
  EXPECT_EQ(whole, bytes);
}

TEST_F(RunFromFiles, SettingsPathsThatAreFoldersGiveTheDefaults) {
  std::filesystem::create_directory(paths_.size);
  std::filesystem::create_directory(paths_.type);
  std::filesystem::create_directory(paths_.xorTarget);
  const GenerationResult r = Run();
  ASSERT_TRUE(r.output.has_value());
  EXPECT_EQ(r.output->size(), 1u);
  int enabled = 0;
  for (const CharEntry& e : r.table) enabled += e.enabled;
  EXPECT_EQ(enabled, 94);
}

TEST_F(RunFromFiles, EveryCharacterIsEnabledAndCountsAddUp) {
  WriteBytes(paths_.size, "65535");
  WriteBytes(paths_.type, "0123456789abc\r\n");
  const GenerationResult r = Run();
  ASSERT_EQ(r.output->size(), 65535u);
  std::uint64_t total = 0;
  for (int k = 0; k < 128; ++k) total += r.table[k].count;
  EXPECT_EQ(total, 65535u);
  for (char c : *r.output) ASSERT_TRUE(r.table[static_cast<unsigned char>(c)].enabled);
}

}  // namespace
}  // namespace talvoric
