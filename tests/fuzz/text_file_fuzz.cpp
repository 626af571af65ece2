// The text-file primitives against a plain statement of the byte rules.
// Input: two bytes giving a buffer capacity and a prefix limit, then the file's bytes,
// then "@@" and a text to write, append and replace with.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "text_file.h"

using namespace talvoric;
using namespace talvoric::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t knob = static_cast<std::size_t>(data[0]) | (static_cast<std::size_t>(data[1]) << 8);
  const auto parts = SplitSections(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), 2);
  const std::string_view fileBytes = parts[0];
  const std::string_view text = parts[1];

  const std::string path = ScratchFile("file.txt");
  WriteRaw(path, fileBytes);
  const std::string delivered = DeliveredBytes(fileBytes);

  // Whole reads and the count that sizes them.
  FUZZ_CHECK(CountTextFile(path) == static_cast<std::int32_t>(delivered.size() + 1));
  const std::optional<std::string> whole = ReadTextFile(path);
  FUZZ_CHECK(whole && *whole == delivered);
  FUZZ_CHECK(TextModeDecode(fileBytes) == delivered);

  // A buffer of exactly the given capacity: any write past it is caught by ASan.
  {
    const std::size_t capacity = knob % (delivered.size() + 3);
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::memset(buffer.get(), 'x', capacity);
    FUZZ_CHECK(ReadTextFileInto(path, buffer.get(), static_cast<std::int32_t>(capacity)) == 0);
    if (capacity > 0) {
      const std::size_t stored = std::min(capacity - 1, delivered.size());
      FUZZ_CHECK(std::memcmp(buffer.get(), delivered.data(), stored) == 0);
      FUZZ_CHECK(buffer[stored] == '\0');
    }
  }

  // A prefix: at most `limit` bytes, and never past the first zero byte.
  {
    const std::size_t limit = knob % (delivered.size() + 70000);
    const std::optional<std::string> prefix = ReadTextFilePrefix(path, limit);
    FUZZ_CHECK(prefix && *prefix == BeforeZero(delivered).substr(0, limit));
  }

  // Writing, appending and replacing store the encoded text, and read back as written.
  const std::string stored = StoredBytes(text);
  FUZZ_CHECK(TextModeEncode(BeforeZero(text)) == stored);
  {
    std::string before(fileBytes);
    if (!before.empty() && before.back() == '\x1a') before.pop_back();
    AppendTextFile(path, text);
    FUZZ_CHECK(ReadRaw(path) == before + stored);
  }
  WriteTextFile(path, text);
  FUZZ_CHECK(ReadRaw(path) == stored);
  FUZZ_CHECK(DeliveredBytes(stored) == BeforeZero(text).substr(0, BeforeZero(text).find('\x1a')));

  WriteRaw(path, fileBytes);
  FUZZ_CHECK(ReplaceTextFile(path, text));
  FUZZ_CHECK(ReadRaw(path) == stored);
  FUZZ_CHECK(ScratchListing().size() == 1);  // no temporary file left beside it

  // A missing file: count 0, no content.
  RemoveFile(path);
  FUZZ_CHECK(CountTextFile(path) == 0);
  FUZZ_CHECK(!ReadTextFile(path));
  FUZZ_CHECK(!ReadTextFilePrefix(path, knob));
  return 0;
}
