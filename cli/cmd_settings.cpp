// talvoric settings: the settings dialog without a window. Without edits it shows what
// the dialog opens with; with edits it starts from that state, applies them as a person
// would in the dialog (ENABLE ALL or DISABLE ALL first, then the boxes to check, then
// the boxes to clear, and the count field), presses OK, and shows the new state.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli_common.h"
#include "platform.h"
#include "settings_dialog.h"

namespace talvoric::cli {
namespace {

struct SettingsOptions {
  CommonOptions common;
  std::optional<std::string> enable;
  std::optional<std::string> disable;
  bool enableAll = false;
  bool disableAll = false;
  std::optional<std::string> count;

  bool HasEdits() const { return enable || disable || enableAll || disableAll || count; }
};

// The dialog's own labels of the character set and the count field.
constexpr std::u16string_view kCharactersLabel = u"生成対象文字種";
constexpr std::u16string_view kCountFieldLabel = u"生成文字数:";

void WriteLine(std::string_view bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fputc('\n', stdout);
}

void Show(const DialogSettings& state) {
  WriteLine(ToAnsi(kCharactersLabel).value_or(std::string()));
  WriteLine(CheckedCharacters(state.boxes));
  WriteLine(ToAnsi(kCountFieldLabel).value_or(std::string()));
  WriteLine(state.countText);
  std::fflush(stdout);
}

void SetBoxes(CharBoxStates& boxes, std::string_view chars, bool checked) {
  for (const char c : chars) {
    if (const std::optional<std::size_t> i = CharBoxIndex(static_cast<unsigned char>(c))) {
      boxes[*i] = checked;
    }
  }
}

// What OK reads from the count field after `text` was typed into it: at most 127 UTF-16
// units, back through the ANSI code page (none when that conversion fails).
std::optional<std::string> TypedCountField(const std::string& text) {
  std::optional<std::u16string> wide = FromAnsi(text);
  if (!wide) return std::nullopt;
  if (wide->size() >= kCountFieldBufferUnits) wide->resize(kCountFieldBufferUnits - 1);
  return ToAnsi(*wide);
}

void RunSettings(const SettingsOptions& options) {
  const SettingsPaths paths = PrepareSettings(options.common);
  DialogSettings state = LoadDialogSettings(paths);
  if (!options.HasEdits()) {
    Show(state);
    return;
  }
  if (options.enableAll) state.boxes.fill(true);
  if (options.disableAll) state.boxes.fill(false);
  if (options.enable) SetBoxes(state.boxes, *options.enable, true);
  if (options.disable) SetBoxes(state.boxes, *options.disable, false);
  const std::optional<std::string> field =
      options.count ? TypedCountField(*options.count) : std::optional<std::string>(state.countText);
  const std::optional<std::string_view> fieldView =
      field ? std::optional<std::string_view>(*field) : std::nullopt;
  if (!SaveDialogSettings(paths, state.boxes, fieldView)) {
    std::cerr << "talvoric: cannot write " << paths.type << " or " << paths.size << "\n";
    throw CLI::RuntimeError(1);
  }
  Show(LoadDialogSettings(paths));
}

// Only characters that have a check box can be named.
const CLI::Validator kPrintableAscii(
    [](std::string& value) -> std::string {
      for (const char c : value) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 33 || b > 126) {
          return "only printable ASCII characters (codes 33 to 126) have a box";
        }
      }
      return std::string();
    },
    "CHARS");

const SubcommandRegistrar registrar(30, [](CLI::App& app) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App* sub = app.add_subcommand(
      "settings",
      "Show the settings dialog's state (enabled characters, count field), or edit it and press OK");
  AddCommonOptions(*sub, options->common);
  CLI::Option* all = sub->add_flag("--enable-all", options->enableAll,
                                   "Check every box (ENABLE ALL), before the other edits");
  CLI::Option* none = sub->add_flag("--disable-all", options->disableAll,
                                    "Clear every box (DISABLE ALL), before the other edits");
  all->excludes(none);
  sub->add_option("--enable", options->enable, "Check the boxes of these characters")
      ->check(kPrintableAscii);
  sub->add_option("--disable", options->disable,
                  "Clear the boxes of these characters (after --enable)")
      ->check(kPrintableAscii);
  sub->add_option("--count", options->count,
                  "Type TEXT into the count field (its leading digits count; 1 to 65535)");
  sub->callback([options] { RunSettings(*options); });
});

}  // namespace
}  // namespace talvoric::cli
