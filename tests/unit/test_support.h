// Small fixtures for tests that work on real files: a fresh folder per test, and
// byte-exact reading and writing that bypass the code under test.
#pragma once

#include <gtest/gtest.h>

#ifdef TALVORIC_CLI_PATH
#include <sys/wait.h>
#endif

#include <atomic>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace talvoric::test {

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("talvoric-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder with its trailing separator, as the settings paths expect.
  std::string Dir() const { return (path_ / "").string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

#ifdef TALVORIC_CLI_PATH
// The command-line program run as a whole process, as a script would run it:
// standard input is not a terminal.
struct CliOutcome {
  int status;       // the exit status; -1 when the process did not exit normally
  std::string out;  // standard output, byte for byte
  std::string err;  // standard error
};

inline CliOutcome RunCli(const std::string& args, const TempDir& scratch) {
  const std::string errFile = scratch.File("cli-stderr.log");
  const std::string command =
      std::string(TALVORIC_CLI_PATH) + " " + args + " </dev/null 2>'" + errFile + "'";
  CliOutcome o{};
  std::FILE* p = ::popen(command.c_str(), "r");
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) o.out.append(buf, n);
  const int raw = ::pclose(p);
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  o.err = ReadBytes(errFile);
  std::filesystem::remove(errFile);
  return o;
}
#endif

}  // namespace talvoric::test
