// What the main window's status panel shows, without the drawing: the labels, the target
// line, the summary lines of the enabled characters and the count line, each with the
// client position it is drawn at. Every text is computed afresh from the settings files.
//
// Two kinds of text, never mixed:
//   - fixed labels are UTF-16 (`PanelText::label`), ready for TextOutW as they are;
//   - computed texts (target line, summary lines, count line) are bytes in the thread's
//     ANSI code page (`PanelText::ansi`), as the settings files hold them; they become
//     UTF-16 through FromAnsi just before drawing.
// PanelTextWide and PanelTextAnsi do the right conversion for either kind.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_paths.h"

namespace talvoric {

// Which item of the panel a text is.
enum class PanelPart {
  OutputLabel,     // label of the output box
  HistogramLabel,  // label of the histogram box
  TargetLabel,     // label of the target line
  TargetLine,      // the target file's name, shortened, or "NONE."
  CharsetLabel,    // label of the summary lines
  SummaryLine,     // the enabled characters of one group (0 to 4 such items)
  CountLabel,      // label of the count line
  CountLine,       // the number of characters to generate
};

struct PanelText {
  PanelPart part;
  int x;  // client pixels, top-left corner of the text
  int y;
  bool isAnsi;          // true: the text is `ansi`; false: the text is `label`
  std::string ansi;     // ANSI bytes from the settings files (computed items)
  std::u16string label;  // fixed UTF-16 text (labels)
};

// The whole panel in drawing order.
struct StatusPanel {
  std::vector<PanelText> items;
  // The count line's text could not be made (memory ran out). `items` then ends before
  // the count line: draw them, then show error 00-03 and shut down.
  bool countTextFailed = false;
};

// The labels, exactly as shown.
inline constexpr std::u16string_view kOutputLabel = u"生成された乱数";
inline constexpr std::u16string_view kHistogramLabel = u"ヒストグラム";
inline constexpr std::u16string_view kTargetLabel = u"排他的論理和対象ファイル";
inline constexpr std::u16string_view kCharsetLabel = u"生成対象文字種";
inline constexpr std::u16string_view kCountLabel = u"生成文字数";

// The target line when no readable target file is set.
inline constexpr std::string_view kNoTarget = "NONE.";

// How ANSI text divides into characters, and the separator AbbreviateName puts between
// head and tail.
struct AnsiCharset {
  // A double-byte code page: whether a byte begins a two-byte character. Null: UTF-8,
  // where a character is a start byte and the continuation bytes 0x80..0xBF after it.
  bool (*isLeadByte)(unsigned char) = nullptr;
  std::string_view separator;  // 0x81 0x60 in a double-byte code page, U+FF5E in UTF-8
};
// A double-byte code page with the given lead-byte rule (IsCp932LeadByte for 932).
AnsiCharset DoubleByteCharset(bool (*isLeadByte)(unsigned char));
AnsiCharset Utf8Charset();
// The thread's ANSI code page: UTF-8 when that is what it is (always off Windows),
// otherwise double-byte by IsAnsiLeadByte.
AnsiCharset SystemCharset();

// Names longer than this many bytes are shortened.
inline constexpr std::size_t kLongestWholeName = 36;

// A name (up to its first zero byte) of at most 36 bytes comes back whole; a longer one
// becomes its head (whole characters covering at least 15 bytes), the separator, and
// its tail (whole characters from a character start to the end, about 15 bytes).
std::string AbbreviateName(std::string_view name, const AnsiCharset& charset);
std::string AbbreviateName(std::string_view name);  // SystemCharset()

// Whether a target file counts as readable: it opens, and its size fits the signed
// 32-bit counts (below 2 GiB). Decided without reading it through, for the panel's
// repaints and for the select command alike.
bool TargetIsReadable(const std::string& name);

// The target line: "NONE." when establish_xor.txt cannot be read, names nothing, or
// names a file that cannot be opened for reading or holds 2 GiB or more; otherwise the
// name, shortened. The target file is opened and sized, never read.
std::string TargetLine(const SettingsPaths& paths, const AnsiCharset& charset);
std::string TargetLine(const SettingsPaths& paths);

// The display rule: flags by 7-bit code. All 128 set when establish_type.txt cannot be
// read or is empty; otherwise exactly the codes (b AND 0x7F) of its bytes.
using DisplayFlags = std::array<bool, 128>;
DisplayFlags LoadDisplayFlags(const SettingsPaths& paths);
DisplayFlags DisplayFlagsFromContent(std::optional<std::string_view> content);

// The summary lines: digits, upper case, lower case, other printable characters, each
// the group's enabled characters ascending; a group with none gives no line.
std::vector<std::string> SummaryLines(const DisplayFlags& flags);

// The count line from establish_size.txt: "1" when unreadable or below the range, the
// content unchanged within it, "65536" above it. None when memory ran out (error 00-03).
std::optional<std::string> CountLine(const SettingsPaths& paths);

// Everything the panel draws, in order, at its positions.
StatusPanel BuildStatusPanel(const SettingsPaths& paths, const AnsiCharset& charset);
StatusPanel BuildStatusPanel(const SettingsPaths& paths);

// An item's text for TextOutW: labels as they are, ANSI texts through FromAnsi (empty
// when that conversion fails: the item is drawn empty).
std::u16string PanelTextWide(const PanelText& item);
// An item's text as ANSI bytes, for printing (labels through ToAnsi; empty on failure).
std::string PanelTextAnsi(const PanelText& item);

}  // namespace talvoric
