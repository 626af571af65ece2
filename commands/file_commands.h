// The File menu's commands: load, merge, exclude and save character sets, select and
// release the target file, save the generated characters. Each works on the settings
// files at the moment it runs and reports whether the status panel is to be repainted.
// The platform supplies the chooser, the question and the output text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings_paths.h"

namespace talvoric {

// A file chooser that keeps its own filter, pattern and file name from one use to the
// next (each command has its own).
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Shows the chooser. The chosen full path in the ANSI code page; none when the user
  // cancelled, the chooser failed, or the path could not be converted.
  virtual std::optional<std::string> ChooseFile() = 0;
};

// A chooser whose choice is fixed in advance: a name given on the command line, or a
// test's file. An empty name is no choice at all.
class NamedFileChooser : public FileChooser {
 public:
  explicit NamedFileChooser(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ChooseFile() override {
    if (path_.empty()) return std::nullopt;
    return path_;
  }

 private:
  std::string path_;
};

// The yes/no question. Texts are UTF-8.
class Question {
 public:
  virtual ~Question() = default;
  // False only for the answer No; any other answer (closing the box included) is yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
};

// The output box: the characters of the last run, "ERROR!" after a failed run, or
// nothing before the first one.
class OutputBox {
 public:
  virtual ~OutputBox() = default;
  // The box's text in the ANSI code page; none when it cannot be had or converted.
  virtual std::optional<std::string> OutputText() = 0;
};

// How a command ended. The window program shows none of this (its failures are
// quiet); the command line turns it into messages and exit codes.
enum class CommandStatus {
  kDone,                // the command did its work
  kCancelled,           // nothing was chosen (or the name could not be converted)
  kUnreadable,          // the chosen file could not be read; nothing changed
  kSettingsUnreadable,  // the character-set file could not be read; nothing written
  kDeclined,            // the overwrite question was answered No; nothing written
  kNoOutput,            // the output text could not be had; nothing written
  kWriteFailed,         // a file could not be written; it keeps what it held before
};

struct CommandResult {
  bool repaint = false;  // whether the status panel is to be repainted
  CommandStatus status = CommandStatus::kDone;
  std::string written;  // the file a save command wrote (or meant to write)
};

inline constexpr const char* kOverwriteText =
    "同名のファイルが既に存在しますが、上書きしますか?";
inline constexpr const char* kOverwriteCaption = "ファイルの上書き確認";

// The bytes of `text` before its first zero byte, sorted as signed 8-bit values (0x80..0xFF
// first, then 0x01..0x7F), each distinct byte once.
std::string SortUnique(std::string_view text);

// The ".txt" rule: a path holding no "." anywhere gets ".txt" appended.
void AddTxtExtension(std::string& path);

// Whether to go on writing `name`: asks the question when the name can be opened for
// reading (an empty file counts), and goes on without asking otherwise.
bool ConfirmOverwrite(const std::string& name, Question& question);

// The bytes the character-set file holds after an add: those the merge through the file
// itself would leave (append the raw addition by the writing rules, read the file back
// by the reading rules, sort), computed from the file's raw bytes.
std::string MergedCharacterSet(std::string_view typeFileBytes, std::string_view addition);

// The set that remains when every byte of `exclusion` is taken out of `set`; byte 127
// never remains.
std::string ExcludedCharacterSet(std::string_view set, std::string_view exclusion);

CommandResult OpenCharsetFile(const SettingsPaths& paths, FileChooser& chooser);
CommandResult AddCharsetFile(const SettingsPaths& paths, FileChooser& chooser);
CommandResult ExcludeCharsetFile(const SettingsPaths& paths, FileChooser& chooser);
CommandResult SaveCharsetFile(const SettingsPaths& paths, FileChooser& chooser,
                              Question& question);
CommandResult SelectTargetFile(const SettingsPaths& paths, FileChooser& chooser);
CommandResult ReleaseTargetFile(const SettingsPaths& paths);
CommandResult SaveOutputFile(FileChooser& chooser, Question& question, OutputBox& output);

}  // namespace talvoric
