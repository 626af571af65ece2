// Where the three settings files lie: beside the executable.
#pragma once

#include <string>
#include <string_view>

namespace talvoric {

inline constexpr const char* kTypeFileName = "establish_type.txt";
inline constexpr const char* kSizeFileName = "establish_size.txt";
inline constexpr const char* kXorFileName = "establish_xor.txt";

struct SettingsPaths {
  std::string type;  // the character set
  std::string size;  // the number of characters per run
  std::string xorTarget;  // the path of the target file
};

// The executable's directory, ending with its separator. Set once at start-up.
std::string& ModuleDirectory();

// The byte index one past the last real separator in `path`, scanning by characters of
// the ANSI code page (a lead byte takes its trail byte with it, so the second byte of a
// double-byte character is never taken for a separator), or npos when there is none.
// The first byte is never a separator candidate.
std::size_t DirectoryEnd(std::string_view path, char separator,
                         bool (*isLeadByte)(unsigned char));

// The directory part of an executable path, separator kept; the whole path when it
// holds no separator.
std::string DirectoryOf(std::string_view path, char separator,
                        bool (*isLeadByte)(unsigned char));

// Sets ModuleDirectory() from the executable's path; false when that path cannot be had.
bool FindModuleDirectory();

// The three paths made from `directory` (which ends with its separator).
SettingsPaths BuildSettingsPaths(std::string_view directory);
// The three paths made from ModuleDirectory().
SettingsPaths BuildSettingsPaths();

// Code page 932's lead bytes (0x81..0x9F, 0xE0..0xFC), for tests and tools that need
// the Japanese rules on any platform.
bool IsCp932LeadByte(unsigned char b);

}  // namespace talvoric
