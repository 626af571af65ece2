// Shared pieces of the fuzz targets: a scratch folder for the files they write, raw
// byte access that bypasses the code under test, an input splitter, and a plain
// statement of the text-mode byte rules to check the real reader against.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talvoric::fuzz {

// Stops the run with a message that libFuzzer turns into a saved crash input.
#define FUZZ_CHECK(cond)                                                              \
  do {                                                                                \
    if (!(cond)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);   \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// One folder per process, emptied and removed when the process ends.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    if (std::filesystem::is_directory("/dev/shm")) base = "/dev/shm";  // no disk traffic
    std::string pattern = (base / "talvoric-fuzz-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) std::abort();
    static std::filesystem::path made(buf.data());
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(made, ec);
    });
    return made;
  }();
  return dir;
}

inline std::string ScratchFile(const std::string& name) { return (ScratchDir() / name).string(); }

inline void WriteRaw(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
}

inline std::string ReadRaw(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

inline void RemoveFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// The input cut at each "@@": readable seeds, and a marker the fuzzer learns quickly.
inline std::vector<std::string_view> SplitSections(std::string_view data, std::size_t wanted) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < wanted) {
    const std::size_t at = data.find("@@");
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + 2);
  }
  parts.push_back(data);
  while (parts.size() < wanted) parts.emplace_back();
  return parts;
}

// What reading a file in text mode delivers, stated byte by byte: the first 0x1A ends
// the input; a CR right before an LF is dropped; every other byte arrives unchanged.
inline std::string DeliveredBytes(std::string_view file) {
  std::string out;
  for (std::size_t i = 0; i < file.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(file[i]);
    if (b == 0x1A) break;
    const bool crBeforeLf = b == 0x0D && i + 1 < file.size() && file[i + 1] == 0x0A;
    if (!crBeforeLf) out.push_back(static_cast<char>(b));
  }
  return out;
}

// What writing a text stores: the bytes before its first zero byte, each LF as CR LF.
inline std::string StoredBytes(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\0') break;
    if (c == '\n') out += "\r\n";
    else out.push_back(c);
  }
  return out;
}

inline std::string BeforeZero(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

inline std::uint32_t Hash(const std::uint8_t* data, std::size_t size) {
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

// Names of the files in the scratch folder, to find temporary files left behind.
inline std::vector<std::string> ScratchListing() {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(ScratchDir())) {
    names.push_back(e.path().filename().string());
  }
  return names;
}

}  // namespace talvoric::fuzz
