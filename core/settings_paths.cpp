#include "settings_paths.h"

#include "platform.h"

namespace talvoric {

std::string& ModuleDirectory() {
  static std::string directory;
  return directory;
}

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::size_t DirectoryEnd(std::string_view path, char separator, bool (*isLeadByte)(unsigned char)) {
  // Walk forward by characters, so that a trail byte equal to the separator (0x5C is
  // the second byte of some code page 932 characters) is never taken for one.
  std::size_t end = std::string_view::npos;
  std::size_t i = 0;
  while (i < path.size()) {
    const unsigned char b = static_cast<unsigned char>(path[i]);
    if (isLeadByte != nullptr && isLeadByte(b) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if (i > 0 && path[i] == separator) end = i + 1;
    ++i;
  }
  return end;
}

std::string DirectoryOf(std::string_view path, char separator, bool (*isLeadByte)(unsigned char)) {
  const std::size_t end = DirectoryEnd(path, separator, isLeadByte);
  return std::string(end == std::string_view::npos ? path : path.substr(0, end));
}

bool FindModuleDirectory() {
  const std::optional<std::string> exe = ExecutablePath();
  if (!exe || exe->empty()) return false;
  ModuleDirectory() = DirectoryOf(*exe, PathSeparator(), &IsAnsiLeadByte);
  return true;
}

SettingsPaths BuildSettingsPaths(std::string_view directory) {
  const std::string dir(directory);
  return SettingsPaths{dir + kTypeFileName, dir + kSizeFileName, dir + kXorFileName};
}

SettingsPaths BuildSettingsPaths() { return BuildSettingsPaths(ModuleDirectory()); }

}  // namespace talvoric
