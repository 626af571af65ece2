#include "settings_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "settings_paths.h"
#include "test_support.h"

namespace talvoric {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string AllPrintable() {
  std::string s;
  for (int c = 33; c <= 126; ++c) s.push_back(static_cast<char>(c));
  return s;
}

TEST(CharBoxTable, EveryPrintableCharacterHasOneBoxInTemplateOrder) {
  std::set<int> codes;
  for (std::size_t i = 0; i < CharBoxTable.size(); ++i) {
    const CharBox& box = CharBoxTable[i];
    EXPECT_EQ(box.id, kFirstCharBoxId + static_cast<int>(i));
    EXPECT_GE(box.code, 33);
    EXPECT_LE(box.code, 126);
    codes.insert(box.code);
    EXPECT_EQ(box.boxX, box.labelX + 10);
    EXPECT_EQ(box.boxY, box.labelY);
    EXPECT_EQ(CharBoxIndex(box.code), i);
  }
  EXPECT_EQ(codes.size(), 94u);
  EXPECT_FALSE(CharBoxIndex(' ').has_value());
  EXPECT_FALSE(CharBoxIndex(127).has_value());
}

TEST(CharBoxTable, RowsOfTheLayout) {
  struct Row {
    int id;
    char code;
    int labelX, labelY;
  };
  const std::vector<Row> rows = {
      {2001, 'A', 10, 50},   {2016, 'P', 385, 50},  {2017, 'Q', 10, 75},   {2026, 'Z', 235, 75},
      {2027, 'a', 10, 100},  {2052, 'z', 235, 125}, {2053, '0', 10, 25},   {2062, '9', 235, 25},
      {2063, '!', 10, 150},  {2064, '"', 35, 150},  {2068, '&', 135, 150}, {2077, '/', 360, 150},
      {2078, ':', 385, 150}, {2079, ';', 10, 175},  {2084, '@', 135, 175}, {2085, '[', 160, 175},
      {2090, '`', 285, 175}, {2091, '{', 310, 175}, {2094, '~', 385, 175},
  };
  for (const Row& r : rows) {
    const CharBox& box = CharBoxTable[static_cast<std::size_t>(r.id - kFirstCharBoxId)];
    EXPECT_EQ(box.code, static_cast<unsigned char>(r.code)) << r.id;
    EXPECT_EQ(box.labelX, r.labelX) << r.id;
    EXPECT_EQ(box.labelY, r.labelY) << r.id;
    EXPECT_EQ(box.boxX, r.labelX + 10) << r.id;
  }
  EXPECT_EQ(CharBoxLabelText(CharBoxTable[2068 - kFirstCharBoxId]), "&&");
  EXPECT_EQ(CharBoxLabelText(CharBoxTable[2086 - kFirstCharBoxId]), "\\");
  EXPECT_EQ(CharBoxLabelText(CharBoxTable[0]), "A");
}

TEST(ParseCountField, Table) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"16", 16},       {"00012", 12},       {"000012", 65535},  {"012345", 65535},
      {"65535", 65535}, {"65536", 65535},    {"99999", 65535},   {"123456", 65535},
      {"0", 1},         {"00", 1},           {"0000000", 1},     {"", 1},
      {"12abc", 12},    {"1.9", 1},          {"-5", 1},          {" 5", 1},
      {"5 ", 5},        {"abc", 1},          {"\x82\x54", 1},    {"\xEF\xBC\x95", 1},
      {std::string("7\0" "9", 3), 7},         {std::string(200, '0') + "1", 65535},
  };
  for (const auto& [text, count] : cases) {
    EXPECT_EQ(ParseCountField(text), count) << "field: " << text;
  }
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  TempDir dir;
  SettingsPaths paths = BuildSettingsPaths(dir.Dir());
};

TEST_F(SettingsDialogTest, CountFieldOpensWithTheSizeFilesValue) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0016", "16"},  {"70000", "65535"}, {"99999999999", "65535"}, {"16\r\n", "1"}, {"16\n", "1"},
      {"12abc", "1"},  {"", "1"},          {"0", "1"},               {"65535", "65535"},
      {"1.5", "1"},    {"-3", "1"},
  };
  EXPECT_FALSE(ReadCountSetting(paths).has_value());
  EXPECT_EQ(LoadDialogSettings(paths).countText, "1");
  for (const auto& [content, shown] : cases) {
    WriteBytes(paths.size, content);
    EXPECT_EQ(LoadDialogSettings(paths).countText, shown) << "size file: " << content;
  }
}

TEST_F(SettingsDialogTest, BoxesOpenWithTheTypeFilesCharacters) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"AB\n", "AB"}, {"AB\r\n", "AB"}, {"\xC1", "A"}, {"", ""},
      {"zz!~ ", "!z~"}, {"\x80\x7F", ""},
  };
  EXPECT_EQ(CheckedCharacters(LoadDialogSettings(paths).boxes), "");  // no type file
  for (const auto& [content, checked] : cases) {
    WriteBytes(paths.type, content);
    EXPECT_EQ(CheckedCharacters(LoadDialogSettings(paths).boxes), checked) << "type file: " << content;
  }
}

TEST_F(SettingsDialogTest, OpeningWritesNothing) {
  LoadDialogSettings(paths);
  EXPECT_FALSE(Exists(paths.type));
  EXPECT_FALSE(Exists(paths.size));
}

TEST_F(SettingsDialogTest, OkWithoutSettingsFilesWritesAnEmptySetAndOne) {
  const DialogSettings opened = LoadDialogSettings(paths);
  ASSERT_TRUE(SaveDialogSettings(paths, opened.boxes, opened.countText));
  EXPECT_TRUE(Exists(paths.type));
  EXPECT_EQ(ReadBytes(paths.type), "");
  EXPECT_EQ(ReadBytes(paths.size), "1");
}

TEST_F(SettingsDialogTest, EnableAllAndDisableAll) {
  CharBoxStates all;
  all.fill(true);
  ASSERT_TRUE(SaveDialogSettings(paths, all, std::string_view("16")));
  EXPECT_EQ(ReadBytes(paths.type), AllPrintable());
  EXPECT_EQ(ReadBytes(paths.size), "16");

  ASSERT_TRUE(SaveDialogSettings(paths, CharBoxStates{}, std::string_view("16")));
  EXPECT_EQ(ReadBytes(paths.type), "");
}

TEST_F(SettingsDialogTest, OkWritesTheCountFieldByItsRule) {
  const std::vector<std::pair<std::optional<std::string>, std::string>> cases = {
      {"000012", "65535"}, {"00012", "12"}, {"0", "1"}, {"12abc", "12"}, {std::nullopt, "1"},
  };
  for (const auto& [field, written] : cases) {
    WriteBytes(paths.size, "777");
    const std::optional<std::string_view> text =
        field ? std::optional<std::string_view>(*field) : std::nullopt;
    ASSERT_TRUE(SaveDialogSettings(paths, CharBoxStates{}, text));
    EXPECT_EQ(ReadBytes(paths.size), written) << "field: " << field.value_or("(none)");
  }
}

TEST_F(SettingsDialogTest, OkRewritesTheSetSortedAndOnceEach) {
  WriteBytes(paths.type, "zA\xC1\nA");
  const DialogSettings opened = LoadDialogSettings(paths);
  ASSERT_TRUE(SaveDialogSettings(paths, opened.boxes, opened.countText));
  EXPECT_EQ(ReadBytes(paths.type), "Az");
  // Nothing else is left in the folder: no temporary file survives the replacement.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 2);
}

TEST_F(SettingsDialogTest, AFileThatCannotBeWrittenIsReportedAndKept) {
  // The type file's place is taken by a folder: it cannot be replaced; the size file
  // is written all the same, as the dialog would.
  std::filesystem::create_directory(paths.type);
  WriteBytes(paths.size, "5");
  CharBoxStates all;
  all.fill(true);
  EXPECT_FALSE(SaveDialogSettings(paths, all, std::string_view("9")));
  EXPECT_TRUE(std::filesystem::is_directory(paths.type));
  EXPECT_EQ(ReadBytes(paths.size), "9");

  const SettingsPaths missing = BuildSettingsPaths(dir.File("no-such-folder") + "/");
  EXPECT_FALSE(SaveDialogSettings(missing, all, std::string_view("9")));
  EXPECT_FALSE(Exists(missing.type));
}

}  // namespace
}  // namespace talvoric
