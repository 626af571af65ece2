#include "settings_dialog.h"

namespace talvoric {

std::optional<std::size_t> CharBoxIndex(unsigned char) { return std::nullopt; }
std::optional<int> ReadCountSetting(const SettingsPaths&) { return std::nullopt; }
DialogSettings LoadDialogSettings(const SettingsPaths&) { return DialogSettings{{}, "1"}; }
int ParseCountField(std::string_view) { return 1; }
bool SaveDialogSettings(const SettingsPaths&, const CharBoxStates&, std::optional<std::string_view>) { return false; }
std::string CheckedCharacters(const CharBoxStates&) { return {}; }

}  // namespace talvoric
