#include "settings_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform.h"

namespace talvoric {
namespace {

TEST(SettingsPaths, BuiltFromTheExecutablesFolder) {
  const SettingsPaths p = BuildSettingsPaths("C:\\Tools\\");
  EXPECT_EQ(p.type, "C:\\Tools\\establish_type.txt");
  EXPECT_EQ(p.size, "C:\\Tools\\establish_size.txt");
  EXPECT_EQ(p.xorTarget, "C:\\Tools\\establish_xor.txt");
}

TEST(SettingsPaths, DirectoryScanSkipsTrailBytesOfDoubleByteCharacters) {
  struct Case {
    std::string exe;
    std::string dir;
  };
  // 0x95 0x5C is 表 and 0x83 0x5C is ソ in code page 932: the 0x5C is a trail byte.
  const std::vector<Case> cases = {
      {"C:\\Tools\\gen.exe", "C:\\Tools\\"},
      {"C:\\Tools\\\x95\x5C.exe", "C:\\Tools\\"},
      {"C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C\x8E\xA6.exe", "C:\\\x83\x5C\x83\x74\x83\x67\\"},
      {"C:\\\x95\x5C", "C:\\"},
      {"gen.exe", "gen.exe"},
      {"\\gen.exe", "\\gen.exe"},  // the first byte is never examined
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DirectoryOf(c.exe, '\\', &IsCp932LeadByte), c.dir) << c.exe;
  }
  // Scanning single bytes would have cut the name inside the character.
  EXPECT_EQ(DirectoryOf("C:\\Tools\\\x95\x5C.exe", '\\', nullptr), "C:\\Tools\\\x95\\");
}

TEST(SettingsPaths, LongFoldersAreNotCut) {
  const std::string dir = "C:\\" + std::string(300, 'd') + "\\";
  const SettingsPaths p = BuildSettingsPaths(dir);
  EXPECT_EQ(p.type, dir + "establish_type.txt");
  EXPECT_EQ(DirectoryOf(dir + "gen.exe", '\\', &IsCp932LeadByte), dir);
}

TEST(SettingsPaths, FindModuleDirectoryGivesThisProgramsFolder) {
  ASSERT_TRUE(FindModuleDirectory());
  const std::string& dir = ModuleDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), PathSeparator());
  const std::string exe = *ExecutablePath();
  EXPECT_EQ(exe.substr(0, dir.size()), dir);
  EXPECT_EQ(exe.find(PathSeparator(), dir.size()), std::string::npos);
}

TEST(Platform, AnsiConversionRoundTripsJapanese) {
  const std::u16string text = u"C:\\表\\ソフト.txt";
  const std::optional<std::string> ansi = ToAnsi(text);
  ASSERT_TRUE(ansi.has_value());
  EXPECT_EQ(*FromAnsi(*ansi), text);
  EXPECT_EQ(ansi->substr(0, 3), "C:\\");
  EXPECT_EQ(*ToAnsi(u"abc"), "abc");
  EXPECT_EQ(*ToAnsi(std::u16string(u"ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace talvoric

#ifdef _WIN32
namespace talvoric {
namespace {

// The suite runs under Wine with the Japanese locale: the platform's own rules must then
// be code page 932's, or the double-byte tests above prove nothing about the real program.
TEST(Platform, WindowsRunsWithCodePage932) {
  EXPECT_EQ(*ToAnsi(u"表ソ"), "\x95\x5C\x83\x5C");
  EXPECT_TRUE(IsAnsiLeadByte(0x95));
  EXPECT_FALSE(IsAnsiLeadByte('\\'));
  EXPECT_EQ(DirectoryOf("C:\\Tools\\\x95\x5C.exe", '\\', &IsAnsiLeadByte), "C:\\Tools\\");
}

}  // namespace
}  // namespace talvoric
#endif
