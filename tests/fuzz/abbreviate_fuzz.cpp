// Shortening long target names for the status panel, under three ways of dividing
// bytes into characters: code page 932's lead bytes, every high-bit byte as a lead byte
// (the panel's stated rule), and UTF-8. The name sits in a heap buffer of exactly its
// size, so any read past its end is caught. A shortened name is a head of whole
// characters covering at least 15 bytes (the shortest such), the separator, and a tail
// of whole characters running to the end and covering 15 bytes and at most one
// character more.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings_paths.h"
#include "status_panel.h"

using namespace talvoric;
using namespace talvoric::fuzz;

namespace {

bool HighBitLead(unsigned char b) { return b >= 0x80; }

// Where characters start, by the division's own rule, stated plainly. A lead byte that
// ends the name is a character of its own.
std::vector<bool> Starts(std::string_view name, const AnsiCharset& charset) {
  std::vector<bool> start(name.size() + 1, false);
  std::size_t pos = 0;
  while (pos < name.size()) {
    start[pos] = true;
    const unsigned char b = static_cast<unsigned char>(name[pos]);
    std::size_t len = 1;
    if (charset.isLeadByte != nullptr) {
      if (charset.isLeadByte(b)) len = 2;
    } else {
      // UTF-8: a start byte and the continuation bytes (10xxxxxx) that follow it, at
      // most four bytes in all.
      while (len < 4 && pos + len < name.size() &&
             (static_cast<unsigned char>(name[pos + len]) & 0xC0u) == 0x80u) {
        ++len;
      }
    }
    pos += std::min(len, name.size() - pos);
  }
  start[name.size()] = true;
  return start;
}

void Check(std::string_view name, const AnsiCharset& charset, std::size_t longestChar) {
  const std::string result = AbbreviateName(name, charset);
  const std::string_view content = name.substr(0, name.find('\0'));
  if (content.size() <= kLongestWholeName) {
    FUZZ_CHECK(result == content);
    return;
  }
  const std::vector<bool> start = Starts(content, charset);
  const std::size_t sep = charset.separator.size();
  // Head: the shortest run of whole characters covering 15 bytes.
  std::size_t head = 15;
  while (!start[head]) ++head;
  FUZZ_CHECK(result.size() > head + sep);
  FUZZ_CHECK(result.compare(0, head, content.substr(0, head)) == 0);
  FUZZ_CHECK(result.compare(head, sep, charset.separator) == 0);
  // Tail: from a character start to the end, 15 bytes up to one character more.
  const std::size_t tail = result.size() - head - sep;
  FUZZ_CHECK(tail >= 15 && tail <= 14 + longestChar);
  FUZZ_CHECK(start[content.size() - tail]);
  FUZZ_CHECK(result.compare(head + sep, tail, content.substr(content.size() - tail)) == 0);
  FUZZ_CHECK(result.size() <= 2 * (14 + longestChar) + sep);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Exactly the input's bytes on the heap, with no terminator after them.
  std::unique_ptr<char[]> exact(new char[size]);
  if (size > 0) std::memcpy(exact.get(), data, size);
  const std::string_view name(exact.get(), size);

  const AnsiCharset cp932 = DoubleByteCharset(&IsCp932LeadByte);
  const AnsiCharset highBit = DoubleByteCharset(&HighBitLead);
  const AnsiCharset utf8 = Utf8Charset();
  Check(name, cp932, 2);
  Check(name, highBit, 2);
  Check(name, utf8, 4);
  if (cp932.separator == "\x81\x60") {
    // The documented sizes in code page 932: 32 to 34 bytes for any shortened name.
    const std::string r = AbbreviateName(name, cp932);
    FUZZ_CHECK(name.substr(0, name.find('\0')).size() <= kLongestWholeName || (r.size() >= 32 && r.size() <= 34));
  }
  return 0;
}
