// talvoric charset open|add|exclude|save FILE: the character-set commands of the File
// menu, with the file named on the command line in place of the chooser.
#include <memory>

#include "cli_common.h"
#include "file_command_cli.h"
#include "file_commands.h"

namespace talvoric::cli {
namespace {

struct CharsetOptions {
  CommonOptions common;
  std::string file;
  OverwriteAnswer answer;
};

using ReadingCommand = CommandResult (*)(const SettingsPaths&, FileChooser&);

void AddReadingCommand(CLI::App& charset, const char* name, const char* description,
                       ReadingCommand command) {
  auto options = std::make_shared<CharsetOptions>();
  CLI::App* sub = charset.add_subcommand(name, description);
  sub->add_option("FILE", options->file, "The character-set file (any file)")->required();
  AddCommonOptions(*sub, options->common);
  sub->callback([options, command] {
    const SettingsPaths paths = PrepareSettings(options->common);
    NamedFile chooser(options->file);
    FinishFileCommand(command(paths, chooser), options->file, paths.type, nullptr);
  });
}

const SubcommandRegistrar registrar(40, [](CLI::App& app) {
  CLI::App* charset =
      app.add_subcommand("charset", "Load, merge, exclude or save the character set");
  charset->require_subcommand(1);
  AddReadingCommand(*charset, "open",
                    "The characters of FILE become the character set", &OpenCharsetFile);
  AddReadingCommand(*charset, "add", "Merge the characters of FILE into the character set",
                    &AddCharsetFile);
  AddReadingCommand(*charset, "exclude",
                    "Remove every character that FILE holds from the character set",
                    &ExcludeCharsetFile);

  auto options = std::make_shared<CharsetOptions>();
  CLI::App* save = charset->add_subcommand(
      "save", "Write the character set to FILE (\".txt\" is added to a name without any \".\")");
  save->add_option("FILE", options->file, "The file to write")->required();
  AddCommonOptions(*save, options->common);
  AddOverwriteOptions(*save, options->answer);
  save->callback([options] {
    const SettingsPaths paths = PrepareSettings(options->common);
    NamedFile chooser(options->file);
    TerminalQuestion question(options->answer, SaveDestination(options->file));
    FinishFileCommand(SaveCharsetFile(paths, chooser, question), options->file, paths.type,
                      &question);
  });
});

}  // namespace
}  // namespace talvoric::cli
