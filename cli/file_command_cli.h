// What the File-menu subcommands share on the command line: the file named on it in
// place of a chooser, the overwrite question on the terminal (or --yes / --no), and
// turning a command's result into messages and an exit status.
#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "file_commands.h"
#include "settings_paths.h"

namespace talvoric::cli {

using NamedFile = NamedFileChooser;  // the file named on the command line

struct OverwriteAnswer {
  bool yes = false;
  bool no = false;
};
void AddOverwriteOptions(CLI::App& sub, OverwriteAnswer& answer);

// The overwrite question: --yes / --no answer it; otherwise it is asked on the terminal
// when standard input is one, and counts as No without one.
class TerminalQuestion : public Question {
 public:
  TerminalQuestion(const OverwriteAnswer& answer, std::string destination)
      : answer_(answer), destination_(std::move(destination)) {}
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  bool Unanswered() const { return unanswered_; }

 private:
  OverwriteAnswer answer_;
  std::string destination_;
  bool unanswered_ = false;
};

// The file a save command writes for `chosen` (the ".txt" rule applied).
std::string SaveDestination(const std::string& chosen);

// Reports a result that is not success on standard error and throws CLI::RuntimeError(1).
// `chosen` is the file named on the command line, `settingsFile` the settings file the
// command works on.
void FinishFileCommand(const CommandResult& result, const std::string& chosen,
                       const std::string& settingsFile, const TerminalQuestion* question);

// Saves `text` as the output box's text to `file` by the save-output rules.
void SaveGeneratedText(const std::string& text, const std::string& file,
                       const OverwriteAnswer& answer);

}  // namespace talvoric::cli
