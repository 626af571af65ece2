#include "status_panel.h"

namespace talvoric {

AnsiCharset DoubleByteCharset(bool (*isLeadByte)(unsigned char)) { return {isLeadByte, "\x81\x60"}; }
AnsiCharset Utf8Charset() { return {nullptr, "\xEF\xBD\x9E"}; }
AnsiCharset SystemCharset() { return Utf8Charset(); }
std::string AbbreviateName(std::string_view name, const AnsiCharset&) { return std::string(name); }
std::string AbbreviateName(std::string_view name) { return AbbreviateName(name, SystemCharset()); }
std::string TargetLine(const SettingsPaths&, const AnsiCharset&) { return std::string(kNoTarget); }
std::string TargetLine(const SettingsPaths& paths) { return TargetLine(paths, SystemCharset()); }
DisplayFlags LoadDisplayFlags(const SettingsPaths&) { return DisplayFlags{}; }
DisplayFlags DisplayFlagsFromContent(std::optional<std::string_view>) { return DisplayFlags{}; }
std::vector<std::string> SummaryLines(const DisplayFlags&) { return {}; }
std::optional<std::string> CountLine(const SettingsPaths&) { return std::string("1"); }
StatusPanel BuildStatusPanel(const SettingsPaths&, const AnsiCharset&) { return {}; }
StatusPanel BuildStatusPanel(const SettingsPaths& paths) { return BuildStatusPanel(paths, SystemCharset()); }
std::u16string PanelTextWide(const PanelText& item) { return item.label; }
std::string PanelTextAnsi(const PanelText& item) { return item.ansi; }

}  // namespace talvoric
