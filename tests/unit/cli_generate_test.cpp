// The command-line program as a whole process: what reaches standard output and
// standard error, and the exit status.
#include <gtest/gtest.h>

#ifdef TALVORIC_CLI_PATH

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace talvoric {
namespace {

using Outcome = test::CliOutcome;
using test::RunCli;

TEST(CliGenerate, SeedVectorOneLinePerRun) {
  test::TempDir dir;
  test::WriteBytes(dir.File("establish_size.txt"), "16");
  const Outcome o = RunCli("generate --dir " + dir.Dir() + " --seed 1 --repeat 2", dir);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "~W,SHb6vTo=AlW}0\n+V_Vtd%_;m+=l,Om\n");
  EXPECT_EQ(o.err, "");
}

TEST(CliGenerate, HistogramFollowsEachRunWithItsOwnBytes) {
  test::TempDir dir;
  test::WriteBytes(dir.File("establish_size.txt"), "4");
  test::WriteBytes(dir.File("establish_type.txt"), "ab");
  const Outcome o = RunCli("generate --dir " + dir.Dir() + " --seed 1 --histogram", dir);
  EXPECT_EQ(o.status, 0);
  // Four characters, a line feed, the histogram text (two entries, space-tab after
  // the last), a line feed.
  ASSERT_EQ(o.out.size(), 4u + 1u + std::string("a:1 \tb:3 \t").size() + 1u) << o.out;
  EXPECT_EQ(o.out[4], '\n');
  EXPECT_EQ(o.out.substr(5, 2), "a:");
  EXPECT_EQ(o.out.substr(o.out.size() - 3), " \t\n");
}

TEST(CliGenerate, MissingFilesStayQuietOnStandardOutput) {
  test::TempDir dir;
  Outcome o = RunCli("generate --dir " + dir.Dir(), dir);
  EXPECT_EQ(o.status, 0);
  ASSERT_EQ(o.out.size(), 2u);  // one character and the line feed: no alert bytes
  EXPECT_EQ(o.err, "");
  o = RunCli("generate --verbose --dir " + dir.Dir(), dir);
  EXPECT_EQ(o.out.size(), 2u);
  EXPECT_NE(o.err.find("establish_size.txt"), std::string::npos);
}

TEST(CliGenerate, UsageErrorsExitTwoWithOneLine) {
  test::TempDir dir;
  const std::vector<std::string> cases = {
      "generate --dir " + dir.File("no-such-folder"),
      "generate --seed 4294967296",
      "generate --seed -1",
      "generate --repeat 0",
      "generate --bogus",
      "",
  };
  for (const std::string& args : cases) {
    const Outcome o = RunCli(args, dir);
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_EQ(o.out, "") << args;
    EXPECT_FALSE(o.err.empty()) << args;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << args << ": " << o.err;
  }
  EXPECT_NE(RunCli("generate --dir " + dir.File("no-such-folder"), dir).err.find("no such folder"),
            std::string::npos);
}

TEST(CliGenerate, GarbageSettingsNeverCrash) {
  test::TempDir dir;
  const std::vector<std::string> contents = {
      std::string("\0\0\x1a\r\r\r\x80\xff", 8), std::string(1 << 20, '7'), "\r\r\r\r", "\x1a",
  };
  for (const std::string& c : contents) {
    test::WriteBytes(dir.File("establish_size.txt"), c);
    test::WriteBytes(dir.File("establish_type.txt"), c);
    test::WriteBytes(dir.File("establish_xor.txt"), c);
    const Outcome o = RunCli("generate --seed 5 --dir " + dir.Dir(), dir);
    EXPECT_EQ(o.status, 0);
    EXPECT_GE(o.out.size(), 2u);
    EXPECT_EQ(o.out.back(), '\n');
  }
  std::filesystem::create_directory(dir.File("folder"));
  test::WriteBytes(dir.File("establish_size.txt"), "3");
  test::WriteBytes(dir.File("establish_xor.txt"), dir.File("folder"));
  EXPECT_EQ(RunCli("generate --seed 5 --dir " + dir.Dir(), dir).out.size(), 4u);
}

TEST(CliGenerate, DefaultFolderIsTheExecutablesOwn) {
  // Without --dir the program reads the settings beside itself, whatever the
  // working directory: a copy of it in a fresh folder proves it.
  test::TempDir dir;
  const std::string copy = dir.File("talvoric");
  std::filesystem::copy_file(TALVORIC_CLI_PATH, copy);
  test::WriteBytes(dir.File("establish_size.txt"), "16");
  const std::string command = "cd / && " + copy + " generate --seed 1";
  std::FILE* p = ::popen(command.c_str(), "r");
  char buf[64] = {};
  const std::size_t n = std::fread(buf, 1, sizeof buf, p);
  ::pclose(p);
  EXPECT_EQ(std::string(buf, n), "~W,SHb6vTo=AlW}0\n");
}

}  // namespace
}  // namespace talvoric

#endif  // TALVORIC_CLI_PATH
