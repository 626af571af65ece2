#include "text_file.h"

#include <climits>
#include <cstdio>
#include <new>
#include <vector>

#include "platform_file.h"

namespace talvoric {
namespace {

OpenFailureHandler g_openFailure = &WriteAlertByte;

constexpr std::size_t kChunk = 64 * 1024;

void ReportOpenFailure(const std::string& path) {
  if (g_openFailure != nullptr) g_openFailure(path);
}

// Streams what text-mode reading delivers, chunk by chunk, to `sink(data, size)`, which
// returns false to stop early. False when the file cannot be opened.
template <class Sink>
bool ReadDelivered(const std::string& path, Sink&& sink) {
  std::FILE* f = OpenForReading(path);
  if (f == nullptr) {
    ReportOpenFailure(path);
    return false;
  }
  std::vector<char> in(kChunk);
  std::vector<char> out(kChunk + 1);
  bool pendingCr = false;  // a CR at the end of the previous chunk, not yet delivered
  bool more = true;
  while (more) {
    const std::size_t got = std::fread(in.data(), 1, in.size(), f);
    if (got == 0) break;
    std::size_t n = 0;
    for (std::size_t i = 0; i < got; ++i) {
      const char c = in[i];
      if (pendingCr) {
        pendingCr = false;
        if (c != '\n') out[n++] = '\r';
      }
      if (c == '\x1a') {
        more = false;
        break;
      }
      if (c == '\r') {
        pendingCr = true;
        continue;
      }
      out[n++] = c;
    }
    if (n > 0 && !sink(out.data(), n)) {
      pendingCr = false;
      more = false;
    }
  }
  if (pendingCr) {
    const char cr = '\r';
    sink(&cr, 1);
  }
  std::fclose(f);
  return true;
}

void WriteEncoded(std::FILE* f, std::string_view text) {
  const std::string bytes = TextModeEncode(ContentOf(text));
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
}

}  // namespace

void SetOpenFailureHandler(OpenFailureHandler handler) { g_openFailure = handler; }

void WriteAlertByte(const std::string&) {
  std::fputc('\a', stdout);
}

std::int32_t CountTextFile(const std::string& path) {
  std::int64_t total = 0;
  if (!ReadDelivered(path, [&](const char*, std::size_t n) {
        total += static_cast<std::int64_t>(n);
        return total < INT32_MAX;
      })) {
    return 0;
  }
  return total >= INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(total + 1);
}

namespace {
// Reads into the buffer; `stored` receives the number of bytes stored before the zero byte.
bool ReadInto(const std::string& path, char* buffer, std::int32_t capacity, std::size_t& stored) {
  const std::size_t room = capacity > 0 ? static_cast<std::size_t>(capacity) - 1 : 0;
  stored = 0;
  const bool opened = ReadDelivered(path, [&](const char* data, std::size_t n) {
    const std::size_t take = n < room - stored ? n : room - stored;
    for (std::size_t i = 0; i < take; ++i) buffer[stored + i] = data[i];
    stored += take;
    return true;  // bytes beyond the room are read and dropped
  });
  if (opened && capacity > 0) buffer[stored] = '\0';
  return opened;
}
}  // namespace

std::int32_t ReadTextFileInto(const std::string& path, char* buffer, std::int32_t capacity) {
  std::size_t stored = 0;
  return ReadInto(path, buffer, capacity, stored) ? 0 : 1;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  try {
    // Two passes, as the count-then-read pair: a file that changes in between can only
    // come out shorter, never overflow the buffer.
    const std::int32_t n = CountTextFile(path);
    std::string buffer(n > 0 ? static_cast<std::size_t>(n) : 1u, '\0');
    std::size_t stored = 0;
    if (!ReadInto(path, buffer.data(), static_cast<std::int32_t>(buffer.size()), stored)) {
      return std::nullopt;
    }
    buffer.resize(stored);
    return buffer;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> ReadTextFilePrefix(const std::string& path, std::size_t limit) {
  try {
    std::string out;
    bool done = limit == 0;
    const bool opened = ReadDelivered(path, [&](const char* data, std::size_t n) {
      if (done) return false;
      for (std::size_t i = 0; i < n; ++i) {
        if (data[i] == '\0' || out.size() >= limit) {
          done = true;
          return false;
        }
        out.push_back(data[i]);
      }
      if (out.size() >= limit) done = true;
      return !done;
    });
    if (!opened) return std::nullopt;
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::int32_t WriteTextFile(const std::string& path, std::string_view text) {
  std::FILE* f = OpenForWriting(path, /*append=*/false);
  if (f == nullptr) return 0;
  WriteEncoded(f, text);
  std::fclose(f);
  return 0;
}

std::int32_t AppendTextFile(const std::string& path, std::string_view text) {
  std::FILE* f = OpenForWriting(path, /*append=*/true);
  if (f == nullptr) return 0;
  WriteEncoded(f, text);
  std::fclose(f);
  return 0;
}

bool ReplaceTextFile(const std::string& path, std::string_view text) {
  if (path.empty()) return false;
  static unsigned serial = 0;
  const std::string temp = path + ".tmp-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial);
  std::FILE* f = OpenForWriting(temp, /*append=*/false);
  if (f == nullptr) return false;
  const std::string bytes = TextModeEncode(ContentOf(text));
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = FlushToDisk(f) && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok && ReplaceFileWith(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

bool CanOpenForReading(const std::string& path) {
  std::FILE* f = OpenForReading(path);
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

std::string TextModeDecode(std::string_view fileBytes) {
  std::string out;
  out.reserve(fileBytes.size());
  for (std::size_t i = 0; i < fileBytes.size(); ++i) {
    const char c = fileBytes[i];
    if (c == '\x1a') break;
    if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
    out.push_back(c);
  }
  return out;
}

std::string TextModeEncode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == '\0') break;
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::string_view ContentOf(std::string_view bytes) {
  const std::size_t z = bytes.find('\0');
  return z == std::string_view::npos ? bytes : bytes.substr(0, z);
}

}  // namespace talvoric
