// The settings dialog's rules without the dialog: the 94 character boxes, what the
// dialog opens with, what OK writes, and how the count field's text becomes a count.
// Texts here are ANSI bytes (the thread's ANSI code page); the dialog converts them at
// its controls (FromAnsi when filling, ToAnsi when reading).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings_paths.h"

namespace talvoric {

// One character's check box and its label, in dialog units.
struct CharBox {
  int id;              // the check box's control id, 2001..2094
  unsigned char code;  // the character, 33..126
  int labelX, labelY;  // the label (static text) at this corner
  int boxX, boxY;      // the check box at this corner
};

inline constexpr int kFirstCharBoxId = 2001;
inline constexpr int kLastCharBoxId = 2094;
inline constexpr std::size_t kCharBoxCount = 94;
inline constexpr int kCharLabelWidth = 170;
inline constexpr int kCharLabelHeight = 8;           // the asterisk's label: 10
inline constexpr int kCharBoxSize = 10;              // width and height of each check box
// OK reads the count field into a buffer of this many UTF-16 units, terminator included.
inline constexpr std::size_t kCountFieldBufferUnits = 128;

namespace detail {
// Seven lines: the k-th pair of a line has its label at x = 10 + 25k and its box 10 to
// the right of it.
inline constexpr CharBox MakeCharBox(int id, unsigned char code, int k, int y) {
  return CharBox{id, code, 10 + 25 * k, y, 20 + 25 * k, y};
}
inline constexpr std::array<CharBox, kCharBoxCount> MakeCharBoxTable() {
  std::array<CharBox, kCharBoxCount> t{};
  std::size_t n = 0;
  int id = kFirstCharBoxId;
  // Lines in template order: (first code, last code, y, first k); a line holds 16 pairs.
  struct Run { int first, last, y; };
  const Run runs[] = {
      {'A', 'P', 50}, {'Q', 'Z', 75}, {'a', 'p', 100}, {'q', 'z', 125}, {'0', '9', 25},
      {'!', '/', 150},  // 15 characters, then the colon completes the line
  };
  for (const Run& r : runs) {
    for (int c = r.first; c <= r.last; ++c) {
      t[n++] = MakeCharBox(id++, static_cast<unsigned char>(c), c - r.first, r.y);
    }
  }
  t[n++] = MakeCharBox(id++, ':', 15, 150);
  const int lastLine[] = {';', '<', '=', '>', '?', '@', '[', '\\', ']', '^', '_', '`', '{', '|', '}', '~'};
  for (int k = 0; k < 16; ++k) {
    t[n++] = MakeCharBox(id++, static_cast<unsigned char>(lastLine[k]), k, 175);
  }
  return t;
}
}  // namespace detail

// The fixed map between check box and character, in template order: A..Z, a..z, 0..9,
// codes 33..47, 58..64, 91..96, 123..126.
inline constexpr std::array<CharBox, kCharBoxCount> CharBoxTable = detail::MakeCharBoxTable();

// The label's text: the character itself, "&&" for the ampersand (so that one shows).
constexpr std::string_view CharBoxLabelText(const CharBox& box) {
  constexpr std::string_view all =
      "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
  return box.code == '&' ? std::string_view("&&") : all.substr(box.code - 33u, 1);
}

// The position in CharBoxTable of the box of `code`; none for codes without a box.
std::optional<std::size_t> CharBoxIndex(unsigned char code);

// Check box states in CharBoxTable order.
using CharBoxStates = std::array<bool, kCharBoxCount>;

// What the dialog opens with.
struct DialogSettings {
  CharBoxStates boxes{};  // checked: the type file holds a byte whose low seven bits are the code
  std::string countText;  // "1" without a size file, else the value's digits; "ERROR!" when memory ran out
};

// The size file's value as the dialog reads it: none when the file cannot be read; 1
// unless the content is made only of digits (empty counts as such); otherwise the count
// rule of the digits (1 below the range, 65535 above it).
std::optional<int> ReadCountSetting(const SettingsPaths& paths);

// Fills the dialog's state from establish_type.txt and establish_size.txt.
DialogSettings LoadDialogSettings(const SettingsPaths& paths);

// The count field's text (ANSI, up to its first zero byte) to a count: the leading
// digits alone; 1 when there are none or all are 0; 65535 for more than five digits or
// a value above 65535.
int ParseCountField(std::string_view text);

// OK: establish_type.txt becomes the checked characters once each in ascending code
// order (empty when none is checked), establish_size.txt the digits of
// ParseCountField(countField), 1 when countField is none (the field's text could not be
// converted). Each file is replaced in one step, so a failed write leaves it as it was.
// True when both files were written.
bool SaveDialogSettings(const SettingsPaths& paths, const CharBoxStates& boxes,
                        std::optional<std::string_view> countField);

// The checked characters in ascending code order: what OK writes to the type file.
std::string CheckedCharacters(const CharBoxStates& boxes);

}  // namespace talvoric
