// talvoric status: the status panel's texts, as the main window shows them.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string_view>

#include "cli_common.h"
#include "status_panel.h"

namespace talvoric::cli {
namespace {

void WriteLine(std::string_view bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fputc('\n', stdout);
}

// The panel's right-hand column in drawing order: each label followed by its texts.
// The labels of the two boxes on the left belong to the boxes, not to the settings.
void RunStatus(const CommonOptions& options) {
  const SettingsPaths paths = PrepareSettings(options);
  const StatusPanel panel = BuildStatusPanel(paths);
  for (const PanelText& item : panel.items) {
    if (item.part == PanelPart::OutputLabel || item.part == PanelPart::HistogramLabel) continue;
    WriteLine(PanelTextAnsi(item));
  }
  std::fflush(stdout);
  if (panel.countTextFailed) {
    std::cerr << "talvoric: out of memory while making the count line\n";
    throw CLI::RuntimeError(1);
  }
}

const SubcommandRegistrar registrar(20, [](CLI::App& app) {
  auto options = std::make_shared<CommonOptions>();
  CLI::App* sub = app.add_subcommand(
      "status", "Print the status panel: target file, enabled characters and count, under their labels");
  AddCommonOptions(*sub, *options);
  sub->callback([options] { RunStatus(*options); });
});

}  // namespace
}  // namespace talvoric::cli
