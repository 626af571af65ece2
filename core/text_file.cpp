#include "text_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
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
// Streams what text-mode reading delivers, chunk by chunk, to `sink(data, size)`, which
// returns false to stop early. False when the file cannot be opened. `chunk` bounds
// how much is read ahead, so that a caller wanting a short prefix reads little.
template <class Sink>
bool ReadDelivered(const std::string& path, Sink&& sink, std::size_t chunk = kChunk) {
  std::FILE* f = OpenForReading(path);
  if (f == nullptr) {
    ReportOpenFailure(path);
    return false;
  }
  if (chunk < 2) chunk = 2;
  // Decoding never delivers more bytes than it has consumed, so it works in place.
  std::vector<char> in(chunk);
  char* const out = in.data();
  bool pendingCr = false;  // a CR at the end of the previous chunk, not yet delivered
  bool more = true;
  while (more) {
    const std::size_t got = std::fread(in.data(), 1, in.size(), f);
    if (got == 0) break;
    const char* src = in.data();
    std::size_t len = got;
    // The first 0x1A ends the input.
    if (const void* eof = std::memchr(src, 0x1A, len)) {
      len = static_cast<std::size_t>(static_cast<const char*>(eof) - src);
      more = false;
    }
    std::size_t n = 0;
    std::size_t i = 0;
    if (pendingCr) {
      pendingCr = false;
      if (len == 0 || src[0] != '\n') {
        // Delivered on its own: the buffer still holds this chunk's first byte.
        const char cr = '\r';
        if (!sink(&cr, 1)) break;
      }
    }
    while (i < len) {
      // Copy the run up to the next CR in one go; only CR needs a look at its neighbour.
      const void* cr = std::memchr(src + i, '\r', len - i);
      const std::size_t stop = cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - src) : len;
      std::memmove(out + n, src + i, stop - i);
      n += stop - i;
      i = stop;
      if (i >= len) break;
      if (i + 1 < len) {
        if (src[i + 1] != '\n') out[n++] = '\r';
      } else if (more) {
        pendingCr = true;  // decided by the next chunk
      } else {
        out[n++] = '\r';  // a CR right before the 0x1A stays
      }
      ++i;
    }
    if (n > 0 && !sink(out, n)) {
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
    out.reserve(limit < kChunk ? limit : kChunk);
    const bool opened = ReadDelivered(
        path,
        [&](const char* data, std::size_t n) {
          const std::size_t room = limit - out.size();
          std::size_t take = n < room ? n : room;
          const void* zero = std::memchr(data, '\0', take);
          const bool stop = zero != nullptr || take == room;
          if (zero != nullptr) take = static_cast<std::size_t>(static_cast<const char*>(zero) - data);
          out.append(data, take);
          return !stop;
        },
        // Read little more than the prefix itself: a 1 GiB target costs what a small one does.
        limit + 2 < kChunk ? limit + 2 : kChunk);
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
  // A file that cannot be written in place (read-only, say) keeps its content: the
  // rename would otherwise replace what a plain write could not.
  if (std::FILE* existing = std::fopen(path.c_str(), "r+b")) {
    std::fclose(existing);
  } else if (CanOpenForReading(path)) {
    return false;
  }
  static unsigned serial = 0;
  const std::string temp = path + ".tmp-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial);
  std::FILE* f = OpenForWriting(temp, /*append=*/false);
  if (f == nullptr) return false;
  const std::string bytes = TextModeEncode(ContentOf(text));
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = FlushToDisk(f) && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok && ReplaceFileWith(temp, path)) {
    // A writer killed between its write and its rename leaves its temporary file; an
    // hour later no writer can still be using it.
    RemoveStaleFiles(path + ".tmp-", 3600);
    return true;
  }
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
