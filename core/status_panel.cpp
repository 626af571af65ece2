#include "status_panel.h"

#include <algorithm>
#include <new>

#include "decimal.h"
#include "platform.h"
#include "platform_file.h"
#include "text_file.h"

namespace talvoric {
namespace {

// Head and tail of a shortened name cover at least this many bytes each.
constexpr std::size_t kPartBytes = 15;
// A target file this large cannot be counted with a signed 32-bit count: "NONE.".
constexpr std::int64_t kTooLargeTarget = std::int64_t{1} << 31;

bool IsUtf8Continuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// The bytes of the character that begins at `pos`, never past the end of `text`: a lead
// byte that ends the text is a character of its own.
std::size_t CharacterLength(std::string_view text, std::size_t pos, const AnsiCharset& charset) {
  const std::size_t rest = text.size() - pos;
  std::size_t len = 1;
  if (charset.isLeadByte != nullptr) {
    if (charset.isLeadByte(static_cast<unsigned char>(text[pos]))) len = 2;
  } else {
    // A start byte takes up to three continuation bytes with it; continuation bytes
    // are never a start of their own unless malformed text has more than three in a row.
    while (len < 4 && len < rest && IsUtf8Continuation(static_cast<unsigned char>(text[pos + len]))) {
      ++len;
    }
  }
  return std::min(len, rest);
}

template <typename F>
std::string TextOrEmpty(F make) {
  // Memory for an item's text that cannot be had leaves that item empty.
  try {
    return make();
  } catch (const std::bad_alloc&) {
    return std::string();
  }
}

PanelText Label(PanelPart part, int x, int y, std::u16string_view text) {
  return PanelText{part, x, y, false, std::string(), std::u16string(text)};
}

PanelText Computed(PanelPart part, int x, int y, std::string text) {
  return PanelText{part, x, y, true, std::move(text), std::u16string()};
}

}  // namespace

AnsiCharset DoubleByteCharset(bool (*isLeadByte)(unsigned char)) {
  return AnsiCharset{isLeadByte, "\x81\x60"};
}

AnsiCharset Utf8Charset() { return AnsiCharset{nullptr, "\xEF\xBD\x9E"}; }

AnsiCharset SystemCharset() {
  // The code page is UTF-8 exactly when HIRAGANA A comes out as its three UTF-8 bytes.
  const std::optional<std::string> a = ToAnsi(u"\u3042");
  if (a && *a == "\xE3\x81\x82") return Utf8Charset();
  return DoubleByteCharset(&IsAnsiLeadByte);
}

std::string AbbreviateName(std::string_view name, const AnsiCharset& charset) {
  name = ContentOf(name);
  const std::size_t n = name.size();
  if (n <= kLongestWholeName) return std::string(name);

  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < n; pos += CharacterLength(name, pos, charset)) {
    starts.push_back(pos);
  }

  // Head: whole characters until at least 15 bytes are covered.
  std::size_t headEnd = 0;
  while (headEnd < kPartBytes) headEnd += CharacterLength(name, headEnd, charset);

  // Tail: the earliest start whose characters cover at least 15 bytes while the same
  // characters without the last one cover fewer; where no start meets that (a double-byte
  // character straddles the fifteenth byte from the end), the latest start that still
  // covers 15 bytes. The name is longer than 36 bytes, so head and tail never overlap.
  const std::size_t lastStart = starts.back();
  const std::size_t latest = n - kPartBytes;
  std::size_t tailStart = 0;
  bool found = false;
  for (const std::size_t b : starts) {
    if (b > latest) break;
    if (b + kPartBytes > lastStart) {
      tailStart = b;
      found = true;
      break;
    }
  }
  if (!found) {
    for (const std::size_t b : starts) {
      if (b > latest) break;
      tailStart = b;
    }
  }

  std::string out;
  out.reserve(headEnd + charset.separator.size() + (n - tailStart));
  out.append(name.substr(0, headEnd));
  out.append(charset.separator);
  out.append(name.substr(tailStart));
  return out;
}

std::string AbbreviateName(std::string_view name) { return AbbreviateName(name, SystemCharset()); }

bool TargetIsReadable(const std::string& name) {
  const std::optional<std::int64_t> size = OpenedFileSize(name);
  return size && *size < kTooLargeTarget;
}

std::string TargetLine(const SettingsPaths& paths, const AnsiCharset& charset) {
  const std::optional<std::string> stored = ReadTextFile(paths.xorTarget);
  if (!stored) return std::string(kNoTarget);
  const std::string name(ContentOf(*stored));
  // Opening and sizing the target is enough to know it is readable: reading a large
  // file through at every repaint would make the window sluggish.
  if (!TargetIsReadable(name)) return std::string(kNoTarget);
  return AbbreviateName(name, charset);
}

std::string TargetLine(const SettingsPaths& paths) { return TargetLine(paths, SystemCharset()); }

DisplayFlags DisplayFlagsFromContent(std::optional<std::string_view> content) {
  DisplayFlags flags{};
  if (!content || ContentOf(*content).empty()) {
    flags.fill(true);
    return flags;
  }
  for (const char c : ContentOf(*content)) flags[static_cast<unsigned char>(c) & 0x7Fu] = true;
  return flags;
}

DisplayFlags LoadDisplayFlags(const SettingsPaths& paths) {
  const std::optional<std::string> content = ReadTextFile(paths.type);
  if (!content) return DisplayFlagsFromContent(std::nullopt);
  return DisplayFlagsFromContent(std::string_view(*content));
}

std::vector<std::string> SummaryLines(const DisplayFlags& flags) {
  const auto isDigit = [](int c) { return c >= '0' && c <= '9'; };
  const auto isUpper = [](int c) { return c >= 'A' && c <= 'Z'; };
  const auto isLower = [](int c) { return c >= 'a' && c <= 'z'; };
  std::string groups[4];
  for (int c = 33; c <= 126; ++c) {
    if (!flags[static_cast<std::size_t>(c)]) continue;
    const int g = isDigit(c) ? 0 : isUpper(c) ? 1 : isLower(c) ? 2 : 3;
    groups[g].push_back(static_cast<char>(c));
  }
  std::vector<std::string> lines;
  for (std::string& g : groups) {
    if (!g.empty()) lines.push_back(std::move(g));
  }
  return lines;
}

std::optional<std::string> CountLine(const SettingsPaths& paths) {
  const std::optional<std::string> content = ReadTextFile(paths.size);
  if (!content) return std::string("1");
  const std::string_view text = ContentOf(*content);
  switch (ClassifyCount(ParseDecimal(text)).range) {
    case CountRange::Below: return std::string("1");
    case CountRange::Within: return std::string(text);
    case CountRange::Above: break;
  }
  return FormatDecimal(65536.0);
}

StatusPanel BuildStatusPanel(const SettingsPaths& paths, const AnsiCharset& charset) {
  StatusPanel panel;
  std::vector<PanelText>& items = panel.items;
  items.push_back(Label(PanelPart::OutputLabel, 10, 5, kOutputLabel));
  items.push_back(Label(PanelPart::HistogramLabel, 10, 140, kHistogramLabel));
  items.push_back(Label(PanelPart::TargetLabel, 250, 5, kTargetLabel));
  items.push_back(Computed(PanelPart::TargetLine, 250, 20,
                           TextOrEmpty([&] { return TargetLine(paths, charset); })));
  items.push_back(Label(PanelPart::CharsetLabel, 250, 50, kCharsetLabel));
  int k = 0;
  for (std::string& line : SummaryLines(LoadDisplayFlags(paths))) {
    items.push_back(Computed(PanelPart::SummaryLine, 250, 65 + 15 * k, std::move(line)));
    ++k;
  }
  items.push_back(Label(PanelPart::CountLabel, 250, 140, kCountLabel));
  std::optional<std::string> count;
  try {
    count = CountLine(paths);
  } catch (const std::bad_alloc&) {
    count.reset();
  }
  if (!count) {
    panel.countTextFailed = true;
    return panel;
  }
  items.push_back(Computed(PanelPart::CountLine, 250, 155, std::move(*count)));
  return panel;
}

StatusPanel BuildStatusPanel(const SettingsPaths& paths) {
  return BuildStatusPanel(paths, SystemCharset());
}

std::u16string PanelTextWide(const PanelText& item) {
  if (!item.isAnsi) return item.label;
  return FromAnsi(item.ansi).value_or(std::u16string());
}

std::string PanelTextAnsi(const PanelText& item) {
  if (item.isAnsi) return item.ansi;
  return ToAnsi(item.label).value_or(std::string());
}

}  // namespace talvoric
