// The File-menu subcommands of the command-line program, run as whole processes
// against a fresh settings folder: files on disk, messages and exit status.
#include <gtest/gtest.h>

#ifdef TALVORIC_CLI_PATH

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace talvoric {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

using Outcome = test::CliOutcome;
using test::RunCli;

class CliCommands : public ::testing::Test {
 protected:
  std::string In(const std::string& name) const { return "'" + dir_.File(name) + "'"; }
  std::string Dir() const { return " --dir '" + dir_.Dir() + "'"; }
  std::string Type() const { return ReadBytes(dir_.File("establish_type.txt")); }
  Outcome Ok(const std::string& args) {
    Outcome o = RunCli(args + Dir(), dir_);
    EXPECT_EQ(o.status, 0) << args << ": " << o.err;
    EXPECT_EQ(o.out, "") << args;
    EXPECT_EQ(o.err, "") << args;
    return o;
  }
  TempDir dir_;
};

TEST_F(CliCommands, CharacterSetRoundTrip) {
  WriteBytes(dir_.File("hello"), "hello world");
  WriteBytes(dir_.File("more"), "a\x82\xa0" "h");
  WriteBytes(dir_.File("less"), "lo ");
  Ok("charset open " + In("hello"));
  EXPECT_EQ(Type(), " dehlorw");
  Ok("charset add " + In("more"));
  EXPECT_EQ(Type(), "\x82\xa0 adehlorw");
  Ok("charset exclude " + In("less"));
  EXPECT_EQ(Type(), "\x82\xa0" "adehrw");
  Ok("charset save " + In("saved"));
  EXPECT_EQ(ReadBytes(dir_.File("saved.txt")), "\x82\xa0" "adehrw");
  Ok("charset exclude " + In("establish_type.txt"));
  EXPECT_EQ(Type(), "");
}

TEST_F(CliCommands, AnUnreadableFileChangesNothing) {
  WriteBytes(dir_.File("establish_type.txt"), "abc");
  WriteBytes(dir_.File("establish_xor.txt"), "/old/target");
  const std::vector<std::string> commands = {"charset open", "charset add", "charset exclude",
                                             "target select"};
  for (const std::string& command : commands) {
    const Outcome o = RunCli(command + " " + In("missing") + Dir(), dir_);
    EXPECT_EQ(o.status, 1) << command;
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find("cannot read"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("missing"), std::string::npos) << o.err;
  }
  EXPECT_EQ(Type(), "abc");
  EXPECT_EQ(ReadBytes(dir_.File("establish_xor.txt")), "/old/target");
}

TEST_F(CliCommands, AnEmptyNameChoosesNothing) {
  for (const std::string command : {"charset open", "charset save", "target select"}) {
    const Outcome o = RunCli(command + " ''" + Dir(), dir_);
    EXPECT_EQ(o.status, 1) << command;
    EXPECT_NE(o.err.find("no file named"), std::string::npos) << o.err;
  }
  EXPECT_FALSE(Exists(dir_.File("establish_type.txt")));
  EXPECT_FALSE(Exists(dir_.File("establish_xor.txt")));
}

TEST_F(CliCommands, ExcludeWithoutACharacterSetSaysSo) {
  WriteBytes(dir_.File("list"), "abc");
  const Outcome o = RunCli("charset exclude " + In("list") + Dir(), dir_);
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("establish_type.txt"), std::string::npos) << o.err;
  EXPECT_FALSE(Exists(dir_.File("establish_type.txt")));
}

TEST_F(CliCommands, TargetSelectAndRelease) {
  WriteBytes(dir_.File("target.bin"), "");
  Ok("target select " + In("target.bin"));
  EXPECT_EQ(ReadBytes(dir_.File("establish_xor.txt")), dir_.File("target.bin"));
  Ok("target release");
  EXPECT_TRUE(Exists(dir_.File("establish_xor.txt")));
  EXPECT_EQ(ReadBytes(dir_.File("establish_xor.txt")), "");
}

// Both save subcommands meet an existing file the same way.
TEST_F(CliCommands, OverwriteNeedsAnAnswer) {
  WriteBytes(dir_.File("establish_type.txt"), "xyz");
  const std::vector<std::string> saves = {"charset save " + In("list"),
                                          "generate --seed 1 --save " + In("list")};
  for (const std::string& save : saves) {
    SCOPED_TRACE(save);
    WriteBytes(dir_.File("list.txt"), "keep me");
    // No terminal and no answer: No, said on standard error.
    Outcome o = RunCli(save + Dir(), dir_);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("list.txt already exists"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("--yes"), std::string::npos) << o.err;
    EXPECT_EQ(ReadBytes(dir_.File("list.txt")), "keep me");

    o = RunCli(save + " --no" + Dir(), dir_);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(ReadBytes(dir_.File("list.txt")), "keep me");

    o = RunCli(save + " --yes --no" + Dir(), dir_);
    EXPECT_EQ(o.status, 2);

    o = RunCli(save + " --yes" + Dir(), dir_);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_NE(ReadBytes(dir_.File("list.txt")), "keep me");
  }
}

// On a terminal the question is asked there, and the typed answer decides.
Outcome RunOnTerminal(const std::vector<std::string>& args, const std::string& typed) {
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    std::vector<char*> argv;
    std::string program = TALVORIC_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  Outcome o{};
  if (pid < 0) return o;
  // The typed line waits in the terminal's input until the program reads it.
  if (::write(master, typed.data(), typed.size()) < 0) o.status = -1;
  char buf[512];
  ssize_t n;
  while ((n = ::read(master, buf, sizeof buf)) > 0) o.err.append(buf, static_cast<std::size_t>(n));
  ::close(master);
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return o;
}

TEST_F(CliCommands, TheQuestionIsAskedOnATerminal) {
  WriteBytes(dir_.File("establish_type.txt"), "cba");
  const std::vector<std::string> args = {"charset", "save", dir_.File("set"), "--dir", dir_.Dir()};
  WriteBytes(dir_.File("set.txt"), "old");
  Outcome o = RunOnTerminal(args, "n\n");
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("set.txt already exists. Overwrite it? [y/N]"), std::string::npos) << o.err;
  EXPECT_EQ(ReadBytes(dir_.File("set.txt")), "old");

  o = RunOnTerminal(args, "y\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(ReadBytes(dir_.File("set.txt")), "cba");
}

TEST_F(CliCommands, GenerateSavesTheLastRun) {
  WriteBytes(dir_.File("establish_size.txt"), "16");
  const Outcome o = RunCli("generate --seed 1 --repeat 2 --save " + In("out") + Dir(), dir_);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "~W,SHb6vTo=AlW}0\n+V_Vtd%_;m+=l,Om\n");
  EXPECT_EQ(ReadBytes(dir_.File("out.txt")), "+V_Vtd%_;m+=l,Om");
}

TEST_F(CliCommands, SaveIntoAMissingFolderFails) {
  const Outcome o = RunCli("charset save " + In("no-folder/set.txt") + Dir(), dir_);
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("cannot write"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace talvoric

#endif  // TALVORIC_CLI_PATH
