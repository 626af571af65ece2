// The start button without a window: read the settings, draw and mix the random bytes,
// walk the enabled characters, and count what was emitted.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings_paths.h"

namespace talvoric {

struct CharEntry {
  std::uint8_t enabled = 0;
  std::uint32_t count = 0;
};
// 128 entries indexed by a 7-bit character code. Scratch storage, rebuilt at every run.
using CharTable = std::array<CharEntry, 128>;

// The run-time library's linear congruential generator, carried as our own code so that
// every platform draws the same numbers.
class RandomGenerator {
 public:
  void Seed(std::uint32_t s) { state_ = s; }
  int Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }
  std::uint32_t State() const { return state_; }

  // Set until the first run seeds the generator from the clock.
  bool SeedPending = true;

 private:
  std::uint32_t state_ = 0;
};

// The clock the first run seeds from; replaceable for tests.
using ClockFunction = unsigned int (*)();

// The count for a run, read from the size file: 1 when unreadable, 65535 above the range.
int ReadGenerationCount(const SettingsPaths& paths);

// The mixing bytes (each 1..127 or 0x80), never empty: the target file's content with
// bytes 0x80..0xFF negated modulo 256, or a single space when there is no usable target.
// Only the first `limit` bytes of the target are read: generation never uses more.
std::string PrepareMixingBytes(const SettingsPaths& paths, std::size_t limit);
// The same rule applied to bytes already read (up to the first zero byte).
std::string MixingBytesFromContent(std::string_view content);

// count mixed bytes (the buffer has a zero byte behind them), or none for an empty
// mixing string, a count below 1, or exhausted memory. Seeds first when pending.
std::optional<std::string> MakeRandomBytes(RandomGenerator& generator, ClockFunction clock,
                                           std::string_view mixing, std::int32_t count);

// Resets the table and enables the characters of the character-set file (all 94 when
// it enables none).
void LoadCharTable(CharTable& table, const SettingsPaths& paths);
// The same from bytes already read (up to the first zero byte).
void LoadCharTableFromContent(CharTable& table, std::string_view content);

// Replaces each mixed byte by the chosen character code and raises the counts.
// The table must have at least one enabled entry.
void SelectCharacters(CharTable& table, std::string& bytes);

struct GenerationResult {
  std::optional<std::string> output;  // the characters; none when the random bytes failed
  CharTable table;                    // enabled flags and this run's counts
};

// One press of the start button, up to the two texts.
GenerationResult RunGeneration(const SettingsPaths& paths, RandomGenerator& generator,
                               ClockFunction clock);

// The histogram box's text: one entry per enabled character, digits, upper case, lower
// case, then the rest; three entries to a line.
std::string BuildHistogramText(const CharTable& table);

}  // namespace talvoric
