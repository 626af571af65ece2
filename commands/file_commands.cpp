#include "file_commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

#include "platform_file.h"
#include "status_panel.h"
#include "text_file.h"

namespace talvoric {
namespace {

constexpr char kMarked = 127;

CommandResult Result(bool repaint, CommandStatus status, std::string written = {}) {
  return CommandResult{repaint, status, std::move(written)};
}

// The whole file as stored, or none when it cannot be opened. `missing` tells a file
// that is not there (an empty set) from one that is there but cannot be read.
std::optional<std::string> ReadRawBytes(const std::string& path, bool& missing) {
  missing = false;
  std::FILE* f = OpenForReading(path);
  if (f == nullptr) {
    errno = 0;
    std::FILE* probe = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    missing = probe == nullptr && errno == ENOENT;
    if (probe != nullptr) std::fclose(probe);
    return std::nullopt;
  }
  try {
    std::string bytes;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) {
    std::fclose(f);
    return std::nullopt;
  }
}

// A file the user chose is written in place, by the writing rules. Whether the bytes
// arrived is checked by reading them back, so a file that could not be opened or
// filled is not reported as saved.
bool WriteChosenFile(const std::string& path, std::string_view text) {
  WriteTextFile(path, text);
  bool missing = false;
  const std::optional<std::string> stored = ReadRawBytes(path, missing);
  return stored && *stored == TextModeEncode(ContentOf(text));
}

}  // namespace

std::string SortUnique(std::string_view text) {
  std::string bytes(ContentOf(text));
  // Signed comparison: 0x80..0xFF (-128..-1) sort before 0x01..0x7F.
  std::sort(bytes.begin(), bytes.end(), [](char a, char b) {
    return static_cast<signed char>(a) < static_cast<signed char>(b);
  });
  bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
  return bytes;
}

void AddTxtExtension(std::string& path) {
  // Byte 46 never occurs inside a double-byte character of code page 932, so a plain
  // byte scan finds only real full stops (in folder names too).
  if (path.find('.') == std::string::npos) path += ".txt";
}

bool ConfirmOverwrite(const std::string& name, Question& question) {
  if (CountTextFile(name) < 1) return true;
  return question.AskYesNo(kOverwriteText, kOverwriteCaption);
}

std::string MergedCharacterSet(std::string_view typeFileBytes, std::string_view addition) {
  // Appending opens the file "a+", which drops one 0x1A that ends it, and writes the
  // addition by the writing rules; reading back then stops at the first 0x1A left.
  std::string file(typeFileBytes);
  if (!file.empty() && file.back() == '\x1a') file.pop_back();
  file += TextModeEncode(ContentOf(addition));
  return SortUnique(TextModeDecode(file));
}

std::string ExcludedCharacterSet(std::string_view set, std::string_view exclusion) {
  std::string marked(ContentOf(set));
  const std::string_view list = ContentOf(exclusion);
  for (char& c : marked) {
    if (list.find(c) != std::string_view::npos) c = kMarked;
  }
  // Sorting puts every 127 at the end, the greatest signed value; cutting there also
  // drops a 127 that the set held before.
  std::string sorted = SortUnique(marked);
  const std::size_t cut = sorted.find(kMarked);
  if (cut != std::string::npos) sorted.resize(cut);
  return sorted;
}

namespace {

// The first steps of open, add and exclude: choose a file and read it whole. When
// that fails, `failure` holds what the command ends with (nothing read or repainted).
std::optional<std::string> ReadChosenFile(FileChooser& chooser, CommandResult& failure) {
  const std::optional<std::string> name = chooser.ChooseFile();
  if (!name) {
    failure = Result(false, CommandStatus::kCancelled);
    return std::nullopt;
  }
  std::optional<std::string> content = ReadTextFile(*name);
  if (!content) failure = Result(false, CommandStatus::kUnreadable);
  return content;
}

// The first steps of both saves: choose a name, apply the ".txt" rule, and ask before
// overwriting. The question concerns the file that will be written, after the rule.
std::optional<std::string> ChooseDestination(FileChooser& chooser, Question& question,
                                             CommandResult& failure) {
  const std::optional<std::string> name = chooser.ChooseFile();
  if (!name) {
    failure = Result(false, CommandStatus::kCancelled);
    return std::nullopt;
  }
  std::string destination = *name;
  AddTxtExtension(destination);
  if (!ConfirmOverwrite(destination, question)) {
    failure = Result(false, CommandStatus::kDeclined, destination);
    return std::nullopt;
  }
  return destination;
}

}  // namespace

CommandResult OpenCharsetFile(const SettingsPaths& paths, FileChooser& chooser) {
  CommandResult failure;
  const std::optional<std::string> content = ReadChosenFile(chooser, failure);
  if (!content) return failure;
  const bool written = ReplaceTextFile(paths.type, SortUnique(*content));
  return Result(true, written ? CommandStatus::kDone : CommandStatus::kWriteFailed);
}

CommandResult AddCharsetFile(const SettingsPaths& paths, FileChooser& chooser) {
  CommandResult failure;
  const std::optional<std::string> addition = ReadChosenFile(chooser, failure);
  if (!addition) return failure;
  // The merge is worked out from the file's bytes and lands in one replacement, so a
  // failure part-way never leaves the set with a raw, unsorted tail.
  bool missing = false;
  const std::optional<std::string> stored = ReadRawBytes(paths.type, missing);
  if (!stored && !missing) return Result(true, CommandStatus::kSettingsUnreadable);
  const bool written =
      ReplaceTextFile(paths.type, MergedCharacterSet(stored ? *stored : std::string(), *addition));
  return Result(true, written ? CommandStatus::kDone : CommandStatus::kWriteFailed);
}

CommandResult ExcludeCharsetFile(const SettingsPaths& paths, FileChooser& chooser) {
  CommandResult failure;
  const std::optional<std::string> exclusion = ReadChosenFile(chooser, failure);
  if (!exclusion) return failure;
  const std::optional<std::string> set = ReadTextFile(paths.type);
  if (!set) return Result(true, CommandStatus::kSettingsUnreadable);
  const bool written = ReplaceTextFile(paths.type, ExcludedCharacterSet(*set, *exclusion));
  return Result(true, written ? CommandStatus::kDone : CommandStatus::kWriteFailed);
}

CommandResult SaveCharsetFile(const SettingsPaths& paths, FileChooser& chooser,
                              Question& question) {
  CommandResult failure;
  const std::optional<std::string> chosen = ChooseDestination(chooser, question, failure);
  if (!chosen) return failure;
  const std::string& destination = *chosen;
  // Without a readable set the destination is still created, empty.
  const std::optional<std::string> set = ReadTextFile(paths.type);
  const bool written = WriteChosenFile(destination, set ? *set : std::string());
  return Result(false, written ? CommandStatus::kDone : CommandStatus::kWriteFailed,
                destination);
}

CommandResult SelectTargetFile(const SettingsPaths& paths, FileChooser& chooser) {
  const std::optional<std::string> name = chooser.ChooseFile();
  if (!name) return Result(false, CommandStatus::kCancelled);
  // Stored only when the very bytes stored name a readable target now, by the panel's
  // test: opened and sized, not read through, so a huge target neither takes seconds
  // and gigabytes here nor gets stored while the panel shows it as "NONE.".
  if (!TargetIsReadable(*name)) return Result(true, CommandStatus::kUnreadable);
  const bool written = ReplaceTextFile(paths.xorTarget, *name);
  return Result(true, written ? CommandStatus::kDone : CommandStatus::kWriteFailed);
}

CommandResult ReleaseTargetFile(const SettingsPaths& paths) {
  const bool written = ReplaceTextFile(paths.xorTarget, std::string_view());
  return Result(true, written ? CommandStatus::kDone : CommandStatus::kWriteFailed);
}

CommandResult SaveOutputFile(FileChooser& chooser, Question& question, OutputBox& output) {
  CommandResult failure;
  const std::optional<std::string> chosen = ChooseDestination(chooser, question, failure);
  if (!chosen) return failure;
  const std::string& destination = *chosen;
  const std::optional<std::string> text = output.OutputText();
  if (!text) return Result(false, CommandStatus::kNoOutput, destination);
  const bool written = WriteChosenFile(destination, *text);
  return Result(false, written ? CommandStatus::kDone : CommandStatus::kWriteFailed,
                destination);
}

}  // namespace talvoric
