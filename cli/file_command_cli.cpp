#include "file_command_cli.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace talvoric::cli {
namespace {

bool StandardInputIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdin)) != 0;
#else
  return ::isatty(STDIN_FILENO) != 0;
#endif
}

class FixedOutput : public OutputBox {
 public:
  explicit FixedOutput(std::string text) : text_(std::move(text)) {}
  std::optional<std::string> OutputText() override { return text_; }

 private:
  std::string text_;
};

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "talvoric: " << message << "\n";
  throw CLI::RuntimeError(1);
}

}  // namespace

void AddOverwriteOptions(CLI::App& sub, OverwriteAnswer& answer) {
  CLI::Option* yes =
      sub.add_flag("--yes", answer.yes, "Overwrite an existing file without asking");
  CLI::Option* no = sub.add_flag("--no", answer.no, "Never overwrite an existing file");
  yes->excludes(no);
}

bool TerminalQuestion::AskYesNo(std::string_view, std::string_view) {
  if (answer_.yes) return true;
  if (answer_.no) return false;
  if (!StandardInputIsTerminal()) {
    unanswered_ = true;
    return false;
  }
  std::cerr << "talvoric: " << destination_ << " already exists. Overwrite it? [y/N] "
            << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return false;
  return line == "y" || line == "Y" || line == "yes" || line == "Yes" || line == "YES";
}

std::string SaveDestination(const std::string& chosen) {
  std::string destination = chosen;
  AddTxtExtension(destination);
  return destination;
}

void FinishFileCommand(const CommandResult& result, const std::string& chosen,
                       const std::string& settingsFile, const TerminalQuestion* question) {
  switch (result.status) {
    case CommandStatus::kDone:
      return;
    case CommandStatus::kCancelled:
      Fail("no file named (an empty name chooses nothing)");
    case CommandStatus::kUnreadable:
      Fail("cannot read " + (chosen.empty() ? std::string("(empty name)") : chosen) +
           "; nothing changed");
    case CommandStatus::kSettingsUnreadable:
      Fail("cannot read the character set " + settingsFile + "; nothing changed");
    case CommandStatus::kDeclined:
      if (question != nullptr && question->Unanswered()) {
        Fail(result.written + " already exists; not overwritten (no terminal to ask: "
             "give --yes to overwrite it)");
      }
      Fail(result.written + " already exists; not overwritten");
    case CommandStatus::kNoOutput:
      Fail("the generated characters could not be converted; nothing written");
    case CommandStatus::kWriteFailed:
      Fail("cannot write " + (result.written.empty() ? settingsFile : result.written) +
           "; it keeps what it held");
  }
  Fail("unexpected result");
}

void SaveGeneratedText(const std::string& text, const std::string& file,
                       const OverwriteAnswer& answer) {
  NamedFile chooser(file);
  TerminalQuestion question(answer, SaveDestination(file));
  FixedOutput output(text);
  FinishFileCommand(SaveOutputFile(chooser, question, output), file, std::string(), &question);
}

}  // namespace talvoric::cli
