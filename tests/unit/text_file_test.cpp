#include "text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace talvoric {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct ReadCase {
  std::string file;
  std::string delivered;
};

TEST(TextFile, ReadingAppliesTheByteRules) {
  const std::vector<ReadCase> cases = {
      {"A\r\nB", "A\nB"},
      {"A\rB", "A\rB"},
      {"A\r", "A\r"},
      {"\r\r\n", "\r\n"},
      {"16\x1a" "9\r\n", "16"},
      {std::string("A\0B", 3), std::string("A\0B", 3)},
      {"\x80\xff\x82\xa0", "\x80\xff\x82\xa0"},
      {"\x1a", ""},
      {"", ""},
  };
  TempDir dir;
  for (const ReadCase& c : cases) {
    const std::string path = dir.File("f.txt");
    WriteBytes(path, c.file);
    const std::optional<std::string> got = ReadTextFile(path);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, c.delivered) << "file bytes of length " << c.file.size();
    EXPECT_EQ(TextModeDecode(c.file), c.delivered);
    EXPECT_EQ(CountTextFile(path), static_cast<std::int32_t>(c.delivered.size() + 1));
  }
}

TEST(TextFile, CrLfSplitAcrossReadChunksIsStillOnePair) {
  // The reader works in chunks of 64 KiB; a pair that straddles a chunk boundary must
  // behave like any other, and a lone CR at a boundary must survive.
  TempDir dir;
  const std::string path = dir.File("big.txt");
  std::string file(65535, 'x');
  file += "\r\n";  // CR is the last byte of the first chunk
  file += std::string(65534, 'y');
  file += "\rz";  // lone CR at the second boundary
  WriteBytes(path, file);
  const std::optional<std::string> got = ReadTextFile(path);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, TextModeDecode(file));
  EXPECT_EQ(got->size(), file.size() - 1);
}

TEST(TextFile, CountsOfMissingEmptyAndCrLfFiles) {
  TempDir dir;
  EXPECT_EQ(CountTextFile(dir.File("missing.txt")), 0);
  WriteBytes(dir.File("empty.txt"), "");
  EXPECT_EQ(CountTextFile(dir.File("empty.txt")), 1);
  WriteBytes(dir.File("crlf.txt"), "\r\n");
  EXPECT_EQ(CountTextFile(dir.File("crlf.txt")), 2);
}

std::string g_alerts;
void RecordAlert(const std::string& path) { g_alerts += "[" + path + "]"; }

TEST(TextFile, UnreadableFilesGiveNoneAndAnAlertPerOpen) {
  TempDir dir;
  SetOpenFailureHandler(&RecordAlert);
  for (const std::string& path : {dir.File("missing.txt"), std::string(), dir.Dir()}) {
    g_alerts.clear();
    EXPECT_FALSE(ReadTextFile(path).has_value()) << path;
    // Count, then read: both passes try the file.
    EXPECT_EQ(g_alerts, "[" + path + "][" + path + "]");
    char buffer[4] = {'k', 'e', 'e', 'p'};
    EXPECT_EQ(ReadTextFileInto(path, buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, 4), "keep");
  }
  SetOpenFailureHandler(&WriteAlertByte);
}

TEST(TextFile, ReadIntoStopsAtCapacity) {
  TempDir dir;
  const std::string path = dir.File("f.txt");
  WriteBytes(path, "ABCDEF");
  char buffer[4];
  EXPECT_EQ(ReadTextFileInto(path, buffer, 4), 0);
  EXPECT_EQ(std::string(buffer), "ABC");
}

TEST(TextFile, PrefixStopsAtLimitZeroByteOrEnd) {
  TempDir dir;
  const std::string path = dir.File("t.bin");
  WriteBytes(path, std::string("AB\r\nCD\0EF", 9));
  EXPECT_EQ(*ReadTextFilePrefix(path, 3), "AB\n");
  EXPECT_EQ(*ReadTextFilePrefix(path, 100), "AB\nCD");
  EXPECT_EQ(*ReadTextFilePrefix(path, 0), "");
  WriteBytes(path, "AB\r");
  EXPECT_EQ(*ReadTextFilePrefix(path, 10), "AB\r");
  EXPECT_FALSE(ReadTextFilePrefix(dir.File("missing"), 10).has_value());
}

TEST(TextFile, WritingTurnsLfIntoCrLfAndStopsAtZero) {
  struct WriteCase {
    std::string text;
    std::string file;
  };
  const std::vector<WriteCase> cases = {
      {"A\nB", "A\r\nB"},
      {"A\r\nB", "A\r\r\nB"},
      {std::string("A\0B", 3), "A"},
      {"", ""},
  };
  TempDir dir;
  for (const WriteCase& c : cases) {
    const std::string path = dir.File("w.txt");
    WriteBytes(path, "previous content");
    EXPECT_EQ(WriteTextFile(path, c.text), 0);
    EXPECT_EQ(ReadBytes(path), c.file);
    // Reading back gives the text (up to its zero byte).
    EXPECT_EQ(*ReadTextFile(path), std::string(ContentOf(c.text)));
  }
}

TEST(TextFile, AppendRemovesOneTrailingEofByteAndCreatesMissingFiles) {
  TempDir dir;
  const std::string path = dir.File("a.txt");
  WriteBytes(path, "AB\x1a");
  AppendTextFile(path, "C");
  EXPECT_EQ(ReadBytes(path), "ABC");
  AppendTextFile(path, "\n");
  EXPECT_EQ(ReadBytes(path), "ABC\r\n");
  const std::string fresh = dir.File("new.txt");
  AppendTextFile(fresh, "x");
  EXPECT_EQ(ReadBytes(fresh), "x");
  WriteBytes(path, "A\x1a\x1a");
  AppendTextFile(path, "B");
  EXPECT_EQ(ReadBytes(path), "A\x1a" "B");
}

TEST(TextFile, WritesToUnusablePathsAreQuietNoOps) {
  TempDir dir;
  EXPECT_EQ(WriteTextFile(dir.Dir(), "x"), 0);
  EXPECT_EQ(AppendTextFile(dir.File("no/such/folder.txt"), "x"), 0);
  EXPECT_EQ(WriteTextFile("", "x"), 0);
  EXPECT_FALSE(test::Exists(dir.File("no")));
}

}  // namespace
}  // namespace talvoric

namespace talvoric {
namespace {

TEST(ReplaceTextFile, WritesTheSameBytesAsWriteTextFileAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.File("establish_type.txt");
  test::WriteBytes(path, "old");
  EXPECT_TRUE(ReplaceTextFile(path, "A\nB"));
  EXPECT_EQ(test::ReadBytes(path), "A\r\nB");
  EXPECT_TRUE(ReplaceTextFile(dir.File("fresh.txt"), ""));
  EXPECT_EQ(test::ReadBytes(dir.File("fresh.txt")), "");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2);
}

TEST(ReplaceTextFile, RemovesTemporaryFilesOfKilledWritersOnceTheyAreStale) {
  test::TempDir dir;
  const std::string path = dir.File("establish_type.txt");
  const std::string stale = path + ".tmp-4242-1";
  const std::string recent = path + ".tmp-4243-1";
  const std::string other = dir.File("establish_size.txt.tmp-4242-1");
  for (const std::string& f : {stale, recent, other}) test::WriteBytes(f, "AB");
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(2);
  std::filesystem::last_write_time(stale, old);
  std::filesystem::last_write_time(other, old);
  EXPECT_TRUE(ReplaceTextFile(path, "xyz"));
  EXPECT_FALSE(test::Exists(stale));
  EXPECT_TRUE(test::Exists(recent));  // may belong to a writer still at work
  EXPECT_TRUE(test::Exists(other));   // another file's business
  EXPECT_EQ(test::ReadBytes(path), "xyz");
}

TEST(ReplaceTextFile, FailureLeavesThePreviousFileAndNoLitter) {
  test::TempDir dir;
  // The settings path is a folder: nothing replaces it, nothing is left behind.
  const std::string folder = dir.File("establish_size.txt");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(ReplaceTextFile(folder, "16"));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_FALSE(ReplaceTextFile(dir.File("missing/establish_size.txt"), "16"));
  EXPECT_FALSE(ReplaceTextFile("", "16"));
}

}  // namespace
}  // namespace talvoric

#ifndef _WIN32
#include <unistd.h>
namespace talvoric {
namespace {

TEST(ReplaceTextFile, ReadOnlyFileKeepsItsContent) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files anyway";
  test::TempDir dir;
  const std::string path = dir.File("establish_xor.txt");
  test::WriteBytes(path, "keep");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_FALSE(ReplaceTextFile(path, "new"));
  EXPECT_EQ(test::ReadBytes(path), "keep");
}

}  // namespace
}  // namespace talvoric
#endif
