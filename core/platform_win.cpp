// The platform services on Windows: the executable's path and the conversions through
// the thread's ANSI code page.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <ctime>
#include <vector>

#include "platform.h"
#include "platform_file.h"

namespace talvoric {

std::optional<std::string> ExecutablePath() {
  // Grows past MAX_PATH instead of truncating: a cut path would name a wrong folder.
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::nullopt;
    if (n < buf.size()) return std::string(buf.data(), n);
    if (buf.size() >= 32768) return std::nullopt;
    buf.resize(buf.size() * 2);
  }
}

char PathSeparator() { return '\\'; }

bool IsAnsiLeadByte(unsigned char b) { return IsDBCSLeadByte(b) != 0; }

std::optional<std::string> ToAnsi(std::u16string_view text) {
  std::u16string z(text.substr(0, text.find(u'\0')));
  const wchar_t* src = reinterpret_cast<const wchar_t*>(z.c_str());
  const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, src, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_THREAD_ACP, 0, src, static_cast<int>(z.size()) + 1, out.data(), size,
                          nullptr, nullptr) == 0) {
    return std::nullopt;
  }
  out.resize(static_cast<std::size_t>(size) - 1);
  return out;
}

std::optional<std::u16string> FromAnsi(std::string_view text) {
  std::string z(text.substr(0, text.find('\0')));
  const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, z.c_str(), -1, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::u16string out(static_cast<std::size_t>(size), u'\0');
  if (MultiByteToWideChar(CP_THREAD_ACP, 0, z.c_str(), -1, reinterpret_cast<wchar_t*>(out.data()),
                          size) == 0) {
    return std::nullopt;
  }
  out.resize(static_cast<std::size_t>(size) - 1);
  return out;
}

void SetBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

unsigned int ClockSeconds() {
  return static_cast<unsigned int>(static_cast<unsigned long long>(std::time(nullptr)));
}

std::FILE* OpenForReading(const std::string& path) {
  if (path.empty()) return nullptr;
  // Disk files only, with the sharing fopen grants. A folder does not open without
  // FILE_FLAG_BACKUP_SEMANTICS; a device name such as COM1 or AUX, or a pipe, opens but
  // is refused: reading it could wait for input forever.
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    return nullptr;
  }
  std::FILE* f = _fdopen(fd, "rb");
  if (f == nullptr) _close(fd);
  return f;
}

std::FILE* OpenForWriting(const std::string& path, bool append) {
  if (path.empty()) return nullptr;
  std::FILE* f = std::fopen(path.c_str(), append ? "a+b" : "wb");
  if (f == nullptr) return nullptr;
  if (append) {
    const long long size = _filelengthi64(_fileno(f));
    if (size > 0 && _fseeki64(f, -1, SEEK_END) == 0 && std::fgetc(f) == 0x1A) {
      std::fflush(f);
      _chsize_s(_fileno(f), size - 1);
    }
    _fseeki64(f, 0, SEEK_END);
  }
  return f;
}

bool FlushToDisk(std::FILE* f) { return _commit(_fileno(f)) == 0; }

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::optional<std::int64_t> OpenedFileSize(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // The sharing fopen grants; a folder does not open without FILE_FLAG_BACKUP_SEMANTICS.
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  const bool ok = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) != 0;
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return static_cast<std::int64_t>(size.QuadPart);
}

void RemoveStaleFiles(const std::string& prefix, long ageSeconds) {
  const std::size_t slash = prefix.find_last_of("\\/");
  const std::string dir = slash == std::string::npos ? std::string() : prefix.substr(0, slash + 1);
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((prefix + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  FILETIME nowTime;
  GetSystemTimeAsFileTime(&nowTime);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  const unsigned long long limit = static_cast<unsigned long long>(ageSeconds) * 10000000ull;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const unsigned long long now = ticks(nowTime);
    const unsigned long long written = ticks(found.ftLastWriteTime);
    if (now > written && now - written > limit) DeleteFileA((dir + found.cFileName).c_str());
  } while (FindNextFileA(h, &found) != 0);
  FindClose(h);
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

}  // namespace talvoric
