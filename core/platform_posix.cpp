// The platform services off Windows: the executable from /proc/self/exe, '/' as the
// separator, and UTF-8 as the ANSI code page.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <vector>

#include "platform.h"
#include "platform_file.h"

namespace talvoric {

std::optional<std::string> ExecutablePath() {
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0) return std::nullopt;
    if (static_cast<std::size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<std::size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

char PathSeparator() { return '/'; }

bool IsAnsiLeadByte(unsigned char) { return false; }

std::optional<std::string> ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == 0) break;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = U'?';  // a lone surrogate has no UTF-8 form: the default character
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::optional<std::u16string> FromAnsi(std::string_view text) {
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size() && text[i] != '\0') {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    char32_t c = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      if (i + len <= text.size()) {
        c = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (std::size_t k = 1; k < len; ++k) {
          const unsigned char t = static_cast<unsigned char>(text[i + k]);
          if ((t & 0xC0) != 0x80) {
            c = 0xFFFD;
            len = k;
            break;
          }
          c = (c << 6) | (t & 0x3F);
        }
      } else {
        len = text.size() - i;
      }
    }
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c));
    }
    i += len;
  }
  return out;
}

void SetBinaryStandardOutput() {}

unsigned int ClockSeconds() { return static_cast<unsigned int>(static_cast<unsigned long long>(std::time(nullptr))); }

std::FILE* OpenForReading(const std::string& path) {
  if (path.empty()) return nullptr;
  // Plain files only, opened without waiting: a named pipe would otherwise hold the
  // caller until some writer came, and a device may never end.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) ::close(fd);
  return f;
}

std::FILE* OpenForWriting(const std::string& path, bool append) {
  if (path.empty()) return nullptr;
  std::FILE* f = std::fopen(path.c_str(), append ? "a+b" : "wb");
  if (f == nullptr) return nullptr;
  if (append) {
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && st.st_size > 0) {
      if (std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) == 0x1A) {
        std::fflush(f);
        if (::ftruncate(::fileno(f), st.st_size - 1) != 0) { /* keep what is there */ }
      }
      std::fseek(f, 0, SEEK_END);
    }
  }
  return f;
}

bool FlushToDisk(std::FILE* f) { return ::fsync(::fileno(f)) == 0; }

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  struct stat st {};
  if (::stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::int64_t> OpenedFileSize(const std::string& path) {
  if (path.empty()) return std::nullopt;
  // Non-blocking, so that a named pipe cannot hold up the caller; only plain files count.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  if (!ok) return std::nullopt;
  return static_cast<std::int64_t>(st.st_size);
}

void RemoveStaleFiles(const std::string& prefix, long ageSeconds) {
  const std::size_t slash = prefix.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : prefix.substr(0, slash + 1);
  const std::string start = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    if (name.size() <= start.size() || name.compare(0, start.size(), start) != 0) continue;
    const std::string path = (slash == std::string::npos ? std::string() : dir) + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime > ageSeconds) {
      ::unlink(path.c_str());
    }
  }
  ::closedir(d);
}

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

}  // namespace talvoric
