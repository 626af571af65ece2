#include "generation.h"

#include <new>
#include <vector>

#include "decimal.h"
#include "text_file.h"

namespace talvoric {

int ReadGenerationCount(const SettingsPaths& paths) {
  const std::optional<std::string> text = ReadTextFile(paths.size);
  if (!text) return 1;
  return ClampCount(ParseDecimal(*text));
}

namespace {
// Bytes 0x80..0xFF become 256 - b (0x80 stays); written without a branch so that the
// compiler can turn it into vector code: a prefix of 64 KiB is negated per run.
void NegateHighBytes(std::string& bytes) {
  unsigned char* p = reinterpret_cast<unsigned char*>(bytes.data());
  for (std::size_t i = 0, n = bytes.size(); i < n; ++i) {
    const unsigned char mask = static_cast<unsigned char>(0u - (p[i] >> 7));  // 0xFF for 0x80..0xFF
    p[i] = static_cast<unsigned char>((p[i] ^ mask) - mask);
  }
}
}  // namespace

std::string MixingBytesFromContent(std::string_view content) {
  content = ContentOf(content);
  if (content.empty()) return std::string(1, ' ');
  std::string mixing(content);
  NegateHighBytes(mixing);
  return mixing;
}

std::string PrepareMixingBytes(const SettingsPaths& paths, std::size_t limit) {
  const std::optional<std::string> setting = ReadTextFile(paths.xorTarget);
  if (!setting) return std::string(1, ' ');
  const std::string targetPath(ContentOf(*setting));
  // Position i uses mixing byte i mod L and i stays below the count, so the first
  // `limit` bytes give the same result as the whole file, at any size of target.
  std::optional<std::string> content = ReadTextFilePrefix(targetPath, limit);
  if (!content || content->empty()) return std::string(1, ' ');
  NegateHighBytes(*content);  // the prefix already ends before any zero byte
  return std::move(*content);
}

std::optional<std::string> MakeRandomBytes(RandomGenerator& generator, ClockFunction clock,
                                           std::string_view mixing, std::int32_t count) {
  if (generator.SeedPending) {
    generator.Seed(clock != nullptr ? clock() : 0u);
    generator.SeedPending = false;
  }
  if (mixing.empty() || count < 1) return std::nullopt;
  std::string bytes;
  try {
    bytes.assign(static_cast<std::size_t>(count), '\0');
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  for (int i = 0; i < 1025; ++i) generator.Draw();
  const std::size_t length = mixing.size();
  std::size_t k = 0;  // i mod L, kept without a division per byte
  for (std::int32_t i = 0; i < count; ++i) {
    const unsigned r = static_cast<unsigned>(generator.Draw()) & 0xFFu;
    const unsigned t = static_cast<unsigned>(static_cast<signed char>(r) >> 4) & 0xFFu;
    bytes[static_cast<std::size_t>(i)] =
        static_cast<char>(t ^ static_cast<unsigned char>(mixing[k]) ^ r);
    if (++k == length) k = 0;
  }
  return bytes;
}

void LoadCharTableFromContent(CharTable& table, std::string_view content) {
  table.fill(CharEntry{});
  bool any = false;
  for (const char c : ContentOf(content)) {
    const unsigned k = static_cast<unsigned char>(c) & 0x7Fu;
    if (k >= 33 && k <= 126) {
      table[k].enabled = 1;
      any = true;
    }
  }
  if (!any) {
    for (unsigned k = 33; k <= 126; ++k) table[k].enabled = 1;
  }
}

void LoadCharTable(CharTable& table, const SettingsPaths& paths) {
  const std::optional<std::string> content = ReadTextFile(paths.type);
  LoadCharTableFromContent(table, content ? std::string_view(*content) : std::string_view());
}

void SelectCharacters(CharTable& table, std::string& bytes) {
  // The cyclic walk over the enabled codes in ascending order: each positive byte
  // moves that many enabled codes on, anything else repeats the previous character.
  unsigned char enabled[128];
  unsigned count = 0;
  for (unsigned k = 0; k < 128; ++k) {
    if (table[k].enabled != 0) enabled[count++] = static_cast<unsigned char>(k);
  }
  if (count == 0) return;
  // p + s stays below 94 + 128: a small table replaces the division per byte.
  unsigned char wrap[128 + 128];
  for (unsigned v = 0; v < sizeof wrap; ++v) wrap[v] = static_cast<unsigned char>(v % count);
  unsigned p = 0;
  for (char& c : bytes) {
    const int s = static_cast<signed char>(c);
    if (s > 0) p = wrap[p + static_cast<unsigned>(s)];
    const unsigned char m = enabled[p];
    ++table[m].count;
    c = static_cast<char>(m);
  }
}

GenerationResult RunGeneration(const SettingsPaths& paths, RandomGenerator& generator,
                               ClockFunction clock) {
  GenerationResult result;
  const int count = ReadGenerationCount(paths);
  std::optional<std::string> bytes;
  {
    const std::string mixing = PrepareMixingBytes(paths, static_cast<std::size_t>(count));
    bytes = MakeRandomBytes(generator, clock, mixing, count);
  }
  LoadCharTable(result.table, paths);
  if (bytes) {
    SelectCharacters(result.table, *bytes);
    result.output = std::move(bytes);
  }
  return result;
}

std::string BuildHistogramText(const CharTable& table) {
  std::string text;
  text.reserve(1024);
  auto entry = [&](unsigned code) {
    if (table[code].enabled == 0) return;
    text.push_back(static_cast<char>(code));
    text.push_back(':');
    const std::optional<std::string> number = FormatDecimal(static_cast<double>(table[code].count));
    text += number ? *number : std::string("Error.");
    text += "\r\n";
  };
  for (unsigned c = 48; c <= 57; ++c) entry(c);
  for (unsigned c = 65; c <= 90; ++c) entry(c);
  for (unsigned c = 97; c <= 122; ++c) entry(c);
  for (unsigned c = 33; c <= 126; ++c) {
    const bool grouped = (c >= 48 && c <= 57) || (c >= 65 && c <= 90) || (c >= 97 && c <= 122);
    if (!grouped) entry(c);
  }
  // Three entries to a line: every CR LF but each third becomes a space and a tab.
  int pair = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '\r' && text[i + 1] == '\n') {
      if (++pair % 3 != 0) {
        text[i] = ' ';
        text[i + 1] = '\t';
      }
      ++i;
    }
  }
  return text;
}

}  // namespace talvoric
