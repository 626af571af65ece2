// talvoric target select FILE | target release: the target file whose bytes are mixed
// into the random stream.
#include <memory>

#include "cli_common.h"
#include "file_command_cli.h"
#include "file_commands.h"

namespace talvoric::cli {
namespace {

struct TargetOptions {
  CommonOptions common;
  std::string file;
};

const SubcommandRegistrar registrar(50, [](CLI::App& app) {
  CLI::App* target = app.add_subcommand("target", "Select or release the target file");
  target->require_subcommand(1);

  auto selectOptions = std::make_shared<TargetOptions>();
  CLI::App* select = target->add_subcommand(
      "select", "Make FILE the target file (only when it can be read now)");
  select->add_option("FILE", selectOptions->file, "Any readable file")->required();
  AddCommonOptions(*select, selectOptions->common);
  select->callback([selectOptions] {
    const SettingsPaths paths = PrepareSettings(selectOptions->common);
    NamedFile chooser(selectOptions->file);
    FinishFileCommand(SelectTargetFile(paths, chooser), selectOptions->file, paths.xorTarget,
                      nullptr);
  });

  auto releaseOptions = std::make_shared<TargetOptions>();
  CLI::App* release = target->add_subcommand("release", "Run without a target file");
  AddCommonOptions(*release, releaseOptions->common);
  release->callback([releaseOptions] {
    const SettingsPaths paths = PrepareSettings(releaseOptions->common);
    FinishFileCommand(ReleaseTargetFile(paths), std::string(), paths.xorTarget, nullptr);
  });
});

}  // namespace
}  // namespace talvoric::cli
