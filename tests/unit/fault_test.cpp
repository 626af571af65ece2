// Faults from outside the program: a full disk, a read-only folder, a settings path
// that is a folder, a target file that goes away or changes after it was selected,
// and files that are empty, only 0x1A, very long, or too large to count. In each case
// the program goes on working, shows the documented default or keeps the previous
// setting, and no settings file is left truncated, mixed, or with a temporary file
// beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_commands.h"
#include "generation.h"
#include "settings_dialog.h"
#include "settings_paths.h"
#include "status_panel.h"
#include "test_support.h"
#include "text_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#endif

namespace talvoric {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------
// The host system: running a shell command, and the host's name for a path. Natively
// that is the process's own shell; under Wine, Wine starts the host's /bin/sh for us.
// On Windows proper there is no such shell, and the tests that need one are skipped.

#ifdef _WIN32
bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string HostPath(const fs::path& path) {
  using UnixName = char*(__cdecl*)(const wchar_t*);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto convert = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  if (convert == nullptr) return std::string();
  char* unix = convert(fs::absolute(path).wstring().c_str());
  if (unix == nullptr) return std::string();
  std::string out(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// Wine neither waits for a host program nor passes its exit status back, so the
// command leaves a file behind when it is done; callers check its effect themselves.
bool HostShell(const std::string& command) {
  if (!UnderWine()) return false;
  static int serial = 0;
  const fs::path done = fs::temp_directory_path() /
                        ("talvoric-shell-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial));
  std::string line = "/bin/sh -c \"{ " + command + "; } >/dev/null 2>&1; : > '" + HostPath(done) + "'\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 1500 && !fs::exists(done); ++i) Sleep(20);
  std::error_code ec;
  return fs::remove(done, ec);
}

bool IsRoot() { return UnderWine(); }  // Wine runs here as the host's root

// A file of `size` bytes holding `head` at its start and nothing written after it.
bool MakeSparseFile(const std::string& path, const std::string& head, long long size) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, head.data(), static_cast<DWORD>(head.size()), &written, nullptr) != 0;
  LARGE_INTEGER end{};
  end.QuadPart = size;
  ok = ok && SetFilePointerEx(h, end, nullptr, FILE_BEGIN) != 0 && SetEndOfFile(h) != 0;
  CloseHandle(h);
  return ok;
}
#else
std::string HostPath(const fs::path& path) { return fs::absolute(path).string(); }

bool HostShell(const std::string& command) {
  const std::string line = "{ " + command + "; } >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

bool IsRoot() { return ::geteuid() == 0; }

bool MakeSparseFile(const std::string& path, const std::string& head, long long size) {
  WriteBytes(path, head);
  return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}
#endif

// ---------------------------------------------------------------------------------
// A small file system of our own (tmpfs) on a fresh folder, to fill up or to make
// read-only. Mounting needs root (natively, or the host's root under Wine).

class OwnFileSystem {
 public:
  explicit OwnFileSystem(const std::string& size) {
    mountPoint_ = base_.Path() / "fs";
    fs::create_directories(mountPoint_);
    const std::string host = HostPath(mountPoint_);
    if (host.empty()) return;
    // Under Wine the host's name runs through the prefix's drive links; mount and
    // umount want the real folder.
    host_ = "$(realpath '" + host + "')";
    HostShell("mount -t tmpfs -o size=" + size + ",mode=0777 talvoric-fault " + host_ + " && : > " +
              host_ + "/.mounted");
    const fs::path marker = mountPoint_ / ".mounted";
    mounted_ = fs::exists(marker);
    std::error_code ec;
    fs::remove(marker, ec);
  }
  ~OwnFileSystem() {
    if (mounted_) HostShell("umount -l " + host_);
  }
  OwnFileSystem(const OwnFileSystem&) = delete;
  OwnFileSystem& operator=(const OwnFileSystem&) = delete;

  bool Mounted() const { return mounted_; }
  std::string Dir() const { return (mountPoint_ / "").string(); }
  const fs::path& Path() const { return mountPoint_; }

  // Read-only from now on; true when a file can no longer be created in it.
  bool MakeReadOnly() {
    HostShell("mount -o remount,ro " + host_);
    return !CanCreateFile();
  }

  // Fills the file system until not one more byte fits; true when that was reached.
  bool Fill() {
    std::FILE* f = std::fopen((mountPoint_ / "filler").string().c_str(), "wb");
    if (f == nullptr) return false;
    std::setvbuf(f, nullptr, _IONBF, 0);
    const std::string block(4096, 'F');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
    }
    while (std::fwrite(block.data(), 1, 1, f) == 1) {
    }
    std::fclose(f);
    return !CanCreateFileWithByte();
  }

 private:
  bool CanCreateFile() const {
    const fs::path probe = mountPoint_ / "probe";
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (f == nullptr) return false;
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
  }
  bool CanCreateFileWithByte() const {
    const fs::path probe = mountPoint_ / "probe";
    std::FILE* f = std::fopen(probe.string().c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fputc('x', f) != EOF && std::fflush(f) == 0;
    std::fclose(f);
    std::error_code ec;
    fs::remove(probe, ec);
    return ok;
  }

  TempDir base_;
  fs::path mountPoint_;
  std::string host_;
  bool mounted_ = false;
};

const char* kNoMount =
    "cannot mount a small file system here (needs root on Linux, or Wine on a Linux host "
    "as root); the full-disk and read-only cases are not exercised";

// ---------------------------------------------------------------------------------
// Fakes and helpers shared by the cases.

using FixedChooser = NamedFileChooser;

class YesQuestion : public Question {
 public:
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
};

std::string Generate(const SettingsPaths& paths, std::uint32_t seed = 7) {
  RandomGenerator generator;
  generator.Seed(seed);
  generator.SeedPending = false;
  const GenerationResult result = RunGeneration(paths, generator, nullptr);
  return result.output ? *result.output : std::string("(none)");
}

// What a run gives with the same character set and count and the target file holding
// `target` (or no target file at all), in a clean folder of its own.
std::string GenerateWithTarget(const SettingsPaths& like, std::optional<std::string> target,
                               std::uint32_t seed = 7) {
  TempDir clean;
  const SettingsPaths paths = BuildSettingsPaths(clean.Dir());
  if (Exists(like.type) && fs::is_regular_file(like.type)) WriteBytes(paths.type, ReadBytes(like.type));
  if (Exists(like.size) && fs::is_regular_file(like.size)) WriteBytes(paths.size, ReadBytes(like.size));
  if (target) {
    WriteBytes(clean.File("target.bin"), *target);
    WriteBytes(paths.xorTarget, clean.File("target.bin"));
  }
  return Generate(paths, seed);
}

std::vector<std::string> Listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class QuietAlerts : public ::testing::Test {
 protected:
  QuietAlerts() { SetOpenFailureHandler(nullptr); }
  ~QuietAlerts() override { SetOpenFailureHandler(&WriteAlertByte); }
};

// The three settings files with known, previous contents.
struct PreviousSettings {
  std::string type = "ABC";
  std::string size = "16";
  std::string xorTarget;  // set to a target's path by the case
};

void Plant(const SettingsPaths& paths, const PreviousSettings& s) {
  WriteBytes(paths.type, s.type);
  WriteBytes(paths.size, s.size);
  WriteBytes(paths.xorTarget, s.xorTarget);
}

// Every writer of a setting, run against a folder where writing fails: each one reports
// the failure and leaves every settings file exactly as it was.
void ExpectEveryWriterKeepsThePreviousFiles(const SettingsPaths& paths, const PreviousSettings& before,
                                            const std::string& chosen, bool emptyWriteFails) {
  const auto unchanged = [&](const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(ReadBytes(paths.type), before.type);
    EXPECT_EQ(ReadBytes(paths.size), before.size);
    EXPECT_EQ(ReadBytes(paths.xorTarget), before.xorTarget);
  };
  FixedChooser chooser(chosen);
  CharBoxStates all{};
  all.fill(true);

  EXPECT_FALSE(ReplaceTextFile(paths.size, "65535"));
  unchanged("ReplaceTextFile");
  EXPECT_FALSE(SaveDialogSettings(paths, all, "300"));
  unchanged("settings dialog OK");
  EXPECT_EQ(OpenCharsetFile(paths, chooser).status, CommandStatus::kWriteFailed);
  unchanged("open character set");
  EXPECT_EQ(AddCharsetFile(paths, chooser).status, CommandStatus::kWriteFailed);
  unchanged("add character set");
  EXPECT_EQ(ExcludeCharsetFile(paths, chooser).status, CommandStatus::kWriteFailed);
  unchanged("exclude character set");
  EXPECT_EQ(SelectTargetFile(paths, chooser).status, CommandStatus::kWriteFailed);
  unchanged("select target");
  if (emptyWriteFails) {
    EXPECT_EQ(ReleaseTargetFile(paths).status, CommandStatus::kWriteFailed);
    unchanged("release target");
  }
}

// The program still runs on the previous settings: generation, panel and dialog.
void ExpectRunsOnThePreviousSettings(const SettingsPaths& paths, const std::string& targetName) {
  EXPECT_EQ(Generate(paths).size(), 16u);
  EXPECT_EQ(Generate(paths).find_first_not_of("ABC"), std::string::npos);
  EXPECT_EQ(CountLine(paths), std::optional<std::string>("16"));
  EXPECT_EQ(TargetLine(paths), AbbreviateName(targetName));
  EXPECT_EQ(ReadCountSetting(paths), std::optional<int>(16));
}

// ---------------------------------------------------------------------------------
// A full disk and a read-only folder.

using FaultFileSystem = QuietAlerts;

TEST_F(FaultFileSystem, FullDiskKeepsEverySettingAndLeavesNoTemporaryFile) {
  OwnFileSystem disk("64k");
  if (!disk.Mounted()) GTEST_SKIP() << kNoMount;
  TempDir outside;  // the chosen files live on a disk with room
  const std::string chosen = outside.File("chosen.txt");
  WriteBytes(chosen, "xyz0123456789");  // excluding it still leaves a set to write
  const SettingsPaths paths = BuildSettingsPaths(disk.Dir());
  PreviousSettings before;
  before.xorTarget = outside.File("target.bin");
  WriteBytes(before.xorTarget, "target bytes");
  Plant(paths, before);
  ASSERT_TRUE(disk.Fill()) << "the small file system did not fill up";
  const std::vector<std::string> listing = Listing(disk.Path());

  // Writing nothing needs no room: releasing the target is the one write that can land.
  ExpectEveryWriterKeepsThePreviousFiles(paths, before, chosen, /*emptyWriteFails=*/false);
  // A file the user chooses is written in place; when it cannot be, the command says so.
  YesQuestion yes;
  FixedChooser saveTo(disk.Dir() + "saved.txt");
  EXPECT_EQ(SaveCharsetFile(paths, saveTo, yes).status, CommandStatus::kWriteFailed);
  std::error_code ec;
  fs::remove(disk.Path() / "saved.txt", ec);
  EXPECT_EQ(Listing(disk.Path()), listing);
  ExpectRunsOnThePreviousSettings(paths, before.xorTarget);
}

TEST_F(FaultFileSystem, ReadOnlyFolderKeepsEverySettingAndLeavesNoTemporaryFile) {
  OwnFileSystem disk("1m");
  TempDir plain;
  std::string dir;
  fs::path listingOf;
  if (disk.Mounted()) {
    dir = disk.Dir();
    listingOf = disk.Path();
  } else if (!IsRoot()) {
#ifndef _WIN32
    dir = plain.Dir();  // permission bits hold for everyone but root
    listingOf = plain.Path();
#endif
  }
  if (dir.empty()) GTEST_SKIP() << kNoMount;
  TempDir outside;
  const std::string chosen = outside.File("chosen.txt");
  WriteBytes(chosen, "xyz0123456789");
  const SettingsPaths paths = BuildSettingsPaths(dir);
  PreviousSettings before;
  before.xorTarget = outside.File("target.bin");
  WriteBytes(before.xorTarget, "target bytes");
  Plant(paths, before);
  if (disk.Mounted()) {
    ASSERT_TRUE(disk.MakeReadOnly()) << "the file system did not become read-only";
  } else {
    fs::permissions(listingOf, fs::perms::owner_read | fs::perms::owner_exec);
  }
  const std::vector<std::string> listing = Listing(listingOf);

  ExpectEveryWriterKeepsThePreviousFiles(paths, before, chosen, /*emptyWriteFails=*/true);
  EXPECT_EQ(Listing(listingOf), listing);
  ExpectRunsOnThePreviousSettings(paths, before.xorTarget);
}

#ifdef TALVORIC_CLI_PATH
// The command-line program on a full disk: each change fails with a message and a
// non-zero exit, the files keep their bytes, and generating still works.
TEST_F(FaultFileSystem, CommandLineOnAFullDiskFailsCleanly) {
  OwnFileSystem disk("64k");
  if (!disk.Mounted()) GTEST_SKIP() << kNoMount;
  TempDir outside;
  const std::string chosen = outside.File("chosen.txt");
  WriteBytes(chosen, "xyz");
  const SettingsPaths paths = BuildSettingsPaths(disk.Dir());
  PreviousSettings before;
  Plant(paths, before);
  ASSERT_TRUE(disk.Fill());

  const std::string cli = std::string(TALVORIC_CLI_PATH) + " ";
  const std::string dirOption = " --dir '" + disk.Path().string() + "'";
  const struct {
    std::string args;
    bool succeeds;
  } cases[] = {
      {"settings --count 300", false},
      {"settings --enable-all", false},
      {"charset open '" + chosen + "'", false},
      {"charset add '" + chosen + "'", false},
      {"target select '" + chosen + "'", false},
      {"generate --seed 1", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    std::FILE* p = ::popen((cli + c.args + dirOption + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[256];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = ::pclose(p);
    EXPECT_EQ(WIFEXITED(status) && WEXITSTATUS(status) == 0, c.succeeds);
    if (c.succeeds) {
      EXPECT_EQ(out.size(), 17u);  // sixteen characters and a line end
    }
    EXPECT_EQ(ReadBytes(paths.type), before.type);
    EXPECT_EQ(ReadBytes(paths.size), before.size);
    EXPECT_EQ(ReadBytes(paths.xorTarget), before.xorTarget);
  }
  EXPECT_EQ(Listing(disk.Path()), (std::vector<std::string>{"establish_size.txt", "establish_type.txt",
                                                             "establish_xor.txt", "filler"}));
}
#endif

#ifndef _WIN32
// A writer killed part-way: the settings file holds the old bytes or the new ones,
// never a part. (Its temporary file may stay behind; it is never read.)
TEST_F(FaultFileSystem, KilledWriterLeavesTheOldOrTheNewFileNeverAPart) {
  TempDir dir;
  const std::string path = dir.File("establish_type.txt");
  const std::string previous = "ABC";
  const std::string next(16 << 20, 'x');
  for (const int delayMs : {0, 2, 5, 10, 20, 40, 80, 160}) {
    SCOPED_TRACE(delayMs);
    WriteBytes(path, previous);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ReplaceTextFile(path, next);
      ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(delayMs) * 1000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = ReadBytes(path);
    EXPECT_TRUE(now == previous || now == next) << "a file of " << now.size() << " bytes";
    for (const std::string& name : Listing(dir.Path())) {
      if (name != "establish_type.txt") fs::remove(dir.Path() / name);
    }
  }
}
#endif

// ---------------------------------------------------------------------------------
// A settings path that is a folder: read as missing, never written, never removed.

class FaultFolderAsSetting : public QuietAlerts {
 protected:
  TempDir dir_;
  SettingsPaths paths_ = BuildSettingsPaths(dir_.Dir());
};

TEST_F(FaultFolderAsSetting, EachSettingFallsBackToItsDefault) {
  TempDir clean;
  const SettingsPaths none = BuildSettingsPaths(clean.Dir());
  for (const std::string* path : {&paths_.type, &paths_.size, &paths_.xorTarget}) {
    fs::create_directory(*path);
    WriteBytes(*path + "/inside.txt", "kept");
  }
  EXPECT_EQ(CountTextFile(paths_.size), 0);
  EXPECT_FALSE(ReadTextFile(paths_.size));
  // Generation: count 1, all 94 characters, no target; the same as with no files.
  EXPECT_EQ(Generate(paths_), Generate(none));
  EXPECT_EQ(Generate(paths_).size(), 1u);
  // Panel: every character, count 1, no target.
  EXPECT_EQ(SummaryLines(LoadDisplayFlags(paths_)).size(), 4u);
  EXPECT_EQ(CountLine(paths_), std::optional<std::string>("1"));
  EXPECT_EQ(TargetLine(paths_), std::string(kNoTarget));
  // Dialog: every box clear, the field 1.
  const DialogSettings dialog = LoadDialogSettings(paths_);
  EXPECT_EQ(dialog.countText, "1");
  for (const bool box : dialog.boxes) EXPECT_FALSE(box);
}

TEST_F(FaultFolderAsSetting, WritersFailAndLeaveTheFolderAlone) {
  const std::string chosen = dir_.File("chosen.txt");
  WriteBytes(chosen, "abc");
  FixedChooser chooser(chosen);
  CharBoxStates all{};
  all.fill(true);
  const struct {
    const char* name;
    const std::string* path;
    std::function<bool()> write;  // true when the writer reported success
  } cases[] = {
      {"replace", &paths_.size, [&] { return ReplaceTextFile(paths_.size, "5"); }},
      {"dialog OK, type", &paths_.type, [&] { return SaveDialogSettings(paths_, all, "5"); }},
      {"dialog OK, size", &paths_.size, [&] { return SaveDialogSettings(paths_, all, "5"); }},
      {"open", &paths_.type, [&] { return OpenCharsetFile(paths_, chooser).status == CommandStatus::kDone; }},
      {"add", &paths_.type, [&] { return AddCharsetFile(paths_, chooser).status == CommandStatus::kDone; }},
      {"exclude", &paths_.type,
       [&] { return ExcludeCharsetFile(paths_, chooser).status == CommandStatus::kDone; }},
      {"select", &paths_.xorTarget,
       [&] { return SelectTargetFile(paths_, chooser).status == CommandStatus::kDone; }},
      {"release", &paths_.xorTarget, [&] { return ReleaseTargetFile(paths_).status == CommandStatus::kDone; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directory(*c.path);
    WriteBytes(*c.path + "/inside.txt", "kept");
    EXPECT_FALSE(c.write());
    EXPECT_TRUE(fs::is_directory(*c.path));
    EXPECT_EQ(ReadBytes(*c.path + "/inside.txt"), "kept");
    // No temporary file beside it; a file another writer made may stay.
    for (const std::string& name : Listing(dir_.Path())) {
      EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
    fs::remove_all(*c.path);
    for (const std::string* p : {&paths_.type, &paths_.size, &paths_.xorTarget}) {
      if (fs::is_regular_file(*p)) fs::remove(*p);
    }
  }
}

// ---------------------------------------------------------------------------------
// The target file changes after it was selected.

using FaultTarget = QuietAlerts;

TEST_F(FaultTarget, DeletedOrReplacedAfterSelectionIsReadAsItIsAtTheRun) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> change;
    std::optional<std::string> seenAs;  // the target a clean run would have; none: no target
    bool panelShowsName;
  } cases[] = {
      {"deleted", [](const std::string& p) { fs::remove(p); }, std::nullopt, false},
      {"replaced by other bytes", [](const std::string& p) { WriteBytes(p, "\x80other"); },
       std::string("\x80other"), true},
      {"emptied", [](const std::string& p) { WriteBytes(p, ""); }, std::nullopt, true},
      {"replaced by a folder",
       [](const std::string& p) {
         fs::remove(p);
         fs::create_directory(p);
       },
       std::nullopt, false},
      {"replaced by a longer file", [](const std::string& p) { WriteBytes(p, std::string(70000, 'Q')); },
       std::string(70000, 'Q'), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
    WriteBytes(paths.size, "200");
    const std::string target = dir.File("target.bin");
    WriteBytes(target, "selected target");
    FixedChooser chooser(target);
    ASSERT_EQ(SelectTargetFile(paths, chooser).status, CommandStatus::kDone);
    c.change(target);
    EXPECT_EQ(Generate(paths), GenerateWithTarget(paths, c.seenAs));
    EXPECT_EQ(TargetLine(paths), c.panelShowsName ? AbbreviateName(target) : std::string(kNoTarget));
    EXPECT_EQ(ReadBytes(paths.xorTarget), target);  // the setting itself is untouched
  }
}

// ---------------------------------------------------------------------------------
// Files of 0 bytes and files of only 0x1A read as empty: the documented defaults.

using FaultEmptyFiles = QuietAlerts;

TEST_F(FaultEmptyFiles, EmptyAndEndOfFileOnlyFilesGiveTheDefaults) {
  for (const std::string& bytes : {std::string(), std::string("\x1a"), std::string("\x1a\x1a\x1a" "99")}) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    TempDir dir;
    const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
    const std::string target = dir.File("target.bin");
    WriteBytes(paths.type, bytes);
    WriteBytes(paths.size, bytes);
    WriteBytes(target, bytes);
    WriteBytes(paths.xorTarget, target);

    EXPECT_EQ(CountTextFile(paths.size), 1);
    EXPECT_EQ(ReadTextFile(paths.size), std::optional<std::string>(""));
    // Generation: one character of all 94, mixed as without a target.
    EXPECT_EQ(Generate(paths), GenerateWithTarget(paths, std::nullopt));
    EXPECT_EQ(Generate(paths).size(), 1u);
    // Panel: all characters, count 1; an empty target is still a readable file.
    EXPECT_EQ(SummaryLines(LoadDisplayFlags(paths)).size(), 4u);
    EXPECT_EQ(CountLine(paths), std::optional<std::string>("1"));
    EXPECT_EQ(TargetLine(paths), AbbreviateName(target));
    // Dialog: boxes clear, field 1.
    EXPECT_EQ(LoadDialogSettings(paths).countText, "1");
    // The target setting itself empty: no target.
    WriteBytes(paths.xorTarget, bytes);
    EXPECT_EQ(TargetLine(paths), std::string(kNoTarget));
    // Appending drops one final 0x1A; adding to such a set gives just the addition.
    WriteBytes(target, "zy");
    FixedChooser chooser(target);
    EXPECT_EQ(AddCharsetFile(paths, chooser).status, CommandStatus::kDone);
    const std::string expected = bytes.size() > 1 ? "" : "yz";  // a 0x1A left ends the read
    EXPECT_EQ(ReadTextFile(paths.type), std::optional<std::string>(expected));
  }
}

// ---------------------------------------------------------------------------------
// Large files: 64 MiB of CR LF in every role, and a target of more than 2 GiB.

using FaultLargeFiles = QuietAlerts;

TEST_F(FaultLargeFiles, SixtyFourMebibytesOfCrLf) {
  TempDir dir;
  const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
  const std::string big = dir.File("crlf.bin");
  {
    std::string chunk;
    for (int i = 0; i < 512 * 1024; ++i) chunk += "\r\n";
    std::FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(std::fwrite(chunk.data(), 1, chunk.size(), f), chunk.size());
    std::fclose(f);
  }
  constexpr std::int32_t kLineFeeds = 32 * 1024 * 1024;
  EXPECT_EQ(CountTextFile(big), kLineFeeds + 1);
  const std::optional<std::string> read = ReadTextFile(big);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), static_cast<std::size_t>(kLineFeeds));
  EXPECT_EQ(read->find_first_not_of('\n'), std::string::npos);

  // As the target: every mixing byte a line feed, as a target of that many LFs.
  WriteBytes(paths.size, "65535");
  WriteBytes(paths.xorTarget, big);
  EXPECT_EQ(Generate(paths), GenerateWithTarget(paths, std::string(65535, '\n')));
  EXPECT_EQ(TargetLine(paths), AbbreviateName(big));

  // As the character set: no printable character, so generation uses all 94, the
  // panel shows no summary line and the dialog no checked box.
  fs::create_hard_link(big, paths.type);
  CharTable table;
  LoadCharTable(table, paths);
  int enabled = 0;
  for (const CharEntry& e : table) enabled += e.enabled;
  EXPECT_EQ(enabled, 94);
  EXPECT_TRUE(SummaryLines(LoadDisplayFlags(paths)).empty());
  for (const bool box : LoadDialogSettings(paths).boxes) EXPECT_FALSE(box);

  // As the count: no digit, so 1 everywhere.
  fs::remove(paths.size);
  fs::create_hard_link(big, paths.size);
  EXPECT_EQ(ReadGenerationCount(paths), 1);
  EXPECT_EQ(CountLine(paths), std::optional<std::string>("1"));
  EXPECT_EQ(ReadCountSetting(paths), std::optional<int>(1));

  // Opened as a character-set file: the set of one line feed, stored as CR LF.
  FixedChooser chooser(big);
  EXPECT_EQ(OpenCharsetFile(paths, chooser).status, CommandStatus::kDone);
  EXPECT_EQ(ReadBytes(paths.type), "\r\n");
}

TEST_F(FaultLargeFiles, TargetOverTwoGibibytes) {
  TempDir dir;
  const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
  const std::string huge = dir.File("huge.bin");
  constexpr long long kSize = (2LL << 30) + 4096;
  if (!MakeSparseFile(huge, "AB\x81", kSize)) GTEST_SKIP() << "this file system cannot hold a sparse 2 GiB file";
  ASSERT_EQ(static_cast<long long>(fs::file_size(huge)), kSize);
  WriteBytes(paths.size, "65535");
  WriteBytes(paths.xorTarget, huge);
  // Generation uses the bytes before the first zero byte, read from the start only.
  EXPECT_EQ(Generate(paths), GenerateWithTarget(paths, std::string("AB\x81")));
  // Too large to count: the panel shows no target.
  EXPECT_EQ(TargetLine(paths), std::string(kNoTarget));
}

#ifdef _WIN32
// A device name where a file is expected (a hand-edited target setting, say): COM1 or
// AUX may open, but reading one could wait for input forever. Each reads as a file that
// cannot be opened.
TEST_F(FaultTarget, DeviceNamesAreNoFiles) {
  TempDir dir;
  const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
  WriteBytes(paths.size, "40");
  for (const char* device : {"COM1", "AUX", "NUL", "CON", "\\\\.\\pipe\\talvoric-none"}) {
    SCOPED_TRACE(device);
    EXPECT_EQ(CountTextFile(device), 0);
    WriteBytes(paths.xorTarget, device);
    EXPECT_EQ(Generate(paths), GenerateWithTarget(paths, std::nullopt));
    EXPECT_EQ(TargetLine(paths), std::string(kNoTarget));
  }
}
#endif

#ifndef _WIN32
// A named pipe where a file is expected (as the target, or as a chosen character-set
// file): nothing may wait for a writer that never comes. Each operation runs on its own
// thread; should it block, the test fails and then lets it go by opening the pipe's
// other end for as long as it waits.
TEST_F(FaultTarget, NamedPipeIsNoFileAndNeverBlocks) {
  TempDir dir;
  const SettingsPaths paths = BuildSettingsPaths(dir.Dir());
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  WriteBytes(paths.size, "40");
  const auto withinTime = [&](const char* what, auto operation) {
    SCOPED_TRACE(what);
    auto done = std::async(std::launch::async, operation);
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
      ADD_FAILURE() << "blocked on a named pipe";
      // Each open of the pipe waits for a writer: give it one until it is through.
      do {
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
      } while (done.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout);
    }
    return done.get();
  };

  WriteBytes(paths.xorTarget, pipe);
  EXPECT_EQ(withinTime("generation", [&] { return Generate(paths); }), GenerateWithTarget(paths, std::nullopt));
  EXPECT_EQ(withinTime("panel", [&] { return TargetLine(paths); }), std::string(kNoTarget));
  FixedChooser chooser(pipe);
  EXPECT_EQ(withinTime("select", [&] { return SelectTargetFile(paths, chooser).status; }),
            CommandStatus::kUnreadable);
  EXPECT_EQ(withinTime("open set", [&] { return OpenCharsetFile(paths, chooser).status; }),
            CommandStatus::kUnreadable);
  EXPECT_EQ(ReadBytes(paths.xorTarget), pipe);
  EXPECT_FALSE(Exists(paths.type));
}
#endif

}  // namespace
}  // namespace talvoric
