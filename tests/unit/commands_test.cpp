#include "file_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "settings_paths.h"
#include "test_support.h"
#include "text_file.h"

namespace talvoric {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Hands out the names queued for it, one per use; none when the queue is empty
// (a cancelled chooser).
class FakeChooser : public FileChooser {
 public:
  explicit FakeChooser(std::vector<std::optional<std::string>> names = {})
      : names_(names.begin(), names.end()) {}
  std::optional<std::string> ChooseFile() override {
    ++uses;
    if (names_.empty()) return std::nullopt;
    std::optional<std::string> next = names_.front();
    names_.pop_front();
    return next;
  }
  int uses = 0;

 private:
  std::deque<std::optional<std::string>> names_;
};

class FakeQuestion : public Question {
 public:
  explicit FakeQuestion(bool answer = true) : answer_(answer) {}
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    asked.emplace_back(text);
    captions.emplace_back(caption);
    return answer_;
  }
  std::vector<std::string> asked;
  std::vector<std::string> captions;

 private:
  bool answer_;
};

class FakeOutput : public OutputBox {
 public:
  explicit FakeOutput(std::optional<std::string> text) : text_(std::move(text)) {}
  std::optional<std::string> OutputText() override { return text_; }

 private:
  std::optional<std::string> text_;
};

// A settings folder with a chosen file beside it.
class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() : paths_(BuildSettingsPaths(dir_.Dir())) {}
  std::string Chosen(const std::string& bytes, const std::string& name = "chosen.txt") {
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    return path;
  }
  TempDir dir_;
  SettingsPaths paths_;
};

TEST(SortUnique, SignedOrderEachByteOnce) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"hello world", " dehlorw"},
      {"a\x82\xa0", "\x82\xa0" "a"},
      {"", ""},
      {"\x7f\x01\xff\x80", std::string("\x80\xff\x01\x7f")},
      {"zzzaaa\xa0\xa0", "\xa0" "az"},
      {std::string("B\0A", 3), "B"},
      {"\n\r\n", "\n\r"},
  };
  for (const auto& c : cases) EXPECT_EQ(SortUnique(c.in), c.out) << c.in;
}

TEST(AddTxtExtension, OnlyPathsWithoutAnyFullStop) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"D:\\work\\list", "D:\\work\\list.txt"},
      {"D:\\work\\list.dat", "D:\\work\\list.dat"},
      {"D:\\work\\list.", "D:\\work\\list."},
      {"D:\\my.data\\list", "D:\\my.data\\list"},
      {"/tmp/\x83\x5c\x95\x5c", "/tmp/\x83\x5c\x95\x5c.txt"},  // double-byte name
  };
  for (const auto& c : cases) {
    std::string path = c.in;
    AddTxtExtension(path);
    EXPECT_EQ(path, c.out);
  }
}

TEST_F(CommandsTest, ConfirmOverwriteAsksOnlyAboutExistingFiles) {
  FakeQuestion no(false);
  EXPECT_TRUE(ConfirmOverwrite(dir_.File("absent"), no));
  EXPECT_TRUE(no.asked.empty());

  const std::string empty = Chosen("", "empty");
  EXPECT_FALSE(ConfirmOverwrite(empty, no));
  ASSERT_EQ(no.asked.size(), 1u);
  EXPECT_EQ(no.asked[0], "同名のファイルが既に存在しますが、上書きしますか?");
  EXPECT_EQ(no.captions[0], "ファイルの上書き確認");

  FakeQuestion yes(true);
  EXPECT_TRUE(ConfirmOverwrite(empty, yes));
  EXPECT_EQ(yes.asked.size(), 1u);
}

TEST_F(CommandsTest, OpenStoresTheSortedDistinctBytes) {
  const struct {
    std::string chosen;
    std::string stored;
  } cases[] = {
      {"hello world", " dehlorw"},
      {"a\x82\xa0", "\x82\xa0" "a"},
      {"", ""},
      {std::string("\0abc", 4), ""},
      {"b\r\na\x1a" "zzz", "\r\nab"},  // CR LF reads as LF, stored again as CR LF
      {"\r\r\n", "\r\n\r"},            // LF and CR: LF stored as CR LF, then the CR
  };
  for (const auto& c : cases) {
    FakeChooser chooser({Chosen(c.chosen)});
    const CommandResult r = OpenCharsetFile(paths_, chooser);
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(r.status, CommandStatus::kDone);
    EXPECT_EQ(ReadBytes(paths_.type), c.stored) << c.chosen;
  }
}

TEST_F(CommandsTest, NothingChosenOrUnreadableLeavesTheSetAlone) {
  WriteBytes(paths_.type, "abc");
  WriteBytes(paths_.xorTarget, "/old/target");
  using Command = CommandResult (*)(const SettingsPaths&, FileChooser&);
  const Command commands[] = {&OpenCharsetFile, &AddCharsetFile, &ExcludeCharsetFile};
  for (const Command command : commands) {
    FakeChooser cancelled;
    const CommandResult c = command(paths_, cancelled);
    EXPECT_FALSE(c.repaint);
    EXPECT_EQ(c.status, CommandStatus::kCancelled);

    FakeChooser missing({dir_.File("no-such-file")});
    const CommandResult m = command(paths_, missing);
    EXPECT_FALSE(m.repaint);
    EXPECT_EQ(m.status, CommandStatus::kUnreadable);

    FakeChooser folder({dir_.Dir()});
    EXPECT_EQ(command(paths_, folder).status, CommandStatus::kUnreadable);
    EXPECT_EQ(ReadBytes(paths_.type), "abc");
  }
  FakeChooser cancelled;
  EXPECT_FALSE(SelectTargetFile(paths_, cancelled).repaint);
  EXPECT_EQ(ReadBytes(paths_.xorTarget), "/old/target");
}

// What the add command leaves must be what the merge through the file itself leaves:
// append the raw addition, read the file back, sort, rewrite.
std::string MergeStepByStep(const TempDir& dir, const std::optional<std::string>& typeFile,
                            const std::string& additionPath) {
  const std::string type = dir.File("step_type.txt");
  if (typeFile) WriteBytes(type, *typeFile);
  const std::optional<std::string> read = ReadTextFile(additionPath);
  AppendTextFile(type, *read);
  const std::optional<std::string> back = ReadTextFile(type);
  WriteTextFile(type, SortUnique(*back));
  return ReadBytes(type);
}

TEST_F(CommandsTest, AddEndsWithTheBytesOfTheMergeThroughTheFile) {
  const struct {
    std::optional<std::string> typeFile;  // none: no character-set file yet
    std::string addition;
  } cases[] = {
      {std::nullopt, "hello"},
      {"", "cab"},
      {"abc", "cd"},
      {"abc", "cba"},           // nothing new: the same set, sorted
      {"zyx", ""},              // an empty addition still sorts the set
      {"ab\x1a", "c"},          // the append drops the 0x1A that ends the file
      {"ab\x1a" "q", "c"},      // one inside stays, so reading back stops there
      {"ab\x1a\x1a", "c"},      // only one is dropped
      {"a\r", "\nb"},           // the lone CR meets the new CR LF
      {"a\r\n", "b\r\nc"},
      {"\x82\xa0", "a\x7f"},
      {std::string("a\0z", 3), "b"},        // the content ends at the zero byte
      {"q", std::string("b\0z", 3)},        // the addition too
      {"\x1a", "x"},
  };
  for (const auto& c : cases) {
    const std::string add = Chosen(c.addition, "step_add.txt");
    const std::string expected = MergeStepByStep(dir_, c.typeFile, add);
    std::remove(dir_.File("step_type.txt").c_str());

    std::remove(paths_.type.c_str());
    if (c.typeFile) WriteBytes(paths_.type, *c.typeFile);
    FakeChooser chooser({add});
    const CommandResult r = AddCharsetFile(paths_, chooser);
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(r.status, CommandStatus::kDone);
    EXPECT_EQ(ReadBytes(paths_.type), expected)
        << "set " << (c.typeFile ? *c.typeFile : "(none)") << " + " << c.addition;
  }
}

TEST_F(CommandsTest, AddLeavesNoTemporaryFilesBehind) {
  WriteBytes(paths_.type, "b");
  FakeChooser chooser({Chosen("a")});
  AddCharsetFile(paths_, chooser);
  EXPECT_EQ(ReadBytes(paths_.type), "ab");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2);  // the set and the chosen file
}

TEST_F(CommandsTest, ExcludeRemovesTheListedBytesAndByte127) {
  const struct {
    std::string set;
    std::string exclusion;
    std::string stored;
  } cases[] = {
      {"abc", "b", "ac"},
      {"cbaabc", "", "abc"},              // an empty list only normalises
      {"a\x7f" "b", "", "ab"},            // 127 goes on every exclude
      {"a\x7f" "b", "\x7f", "ab"},
      {"\x82\xa0" "ab", "\xa0" "b", "\x82" "a"},
      {"abc", "xyz", "abc"},
      {"ab\r\n", "\n", "ab"},             // the LF, read from CR LF, goes
      {"abc", std::string("x\0abc", 5), "abc"},  // the list ends at its zero byte
      {"", "abc", ""},
  };
  for (const auto& c : cases) {
    WriteBytes(paths_.type, c.set);
    FakeChooser chooser({Chosen(c.exclusion)});
    const CommandResult r = ExcludeCharsetFile(paths_, chooser);
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(r.status, CommandStatus::kDone);
    EXPECT_EQ(ReadBytes(paths_.type), c.stored) << c.set << " - " << c.exclusion;
  }
}

TEST_F(CommandsTest, ExcludingTheSetItselfEmptiesIt) {
  WriteBytes(paths_.type, "hello world\x7f");
  FakeChooser chooser({paths_.type});
  EXPECT_TRUE(ExcludeCharsetFile(paths_, chooser).repaint);
  EXPECT_TRUE(Exists(paths_.type));
  EXPECT_EQ(ReadBytes(paths_.type), "");
}

TEST_F(CommandsTest, ExcludeWithoutASetWritesNothingButRepaints) {
  FakeChooser chooser({Chosen("abc")});
  const CommandResult r = ExcludeCharsetFile(paths_, chooser);
  EXPECT_TRUE(r.repaint);
  EXPECT_EQ(r.status, CommandStatus::kSettingsUnreadable);
  EXPECT_FALSE(Exists(paths_.type));
}

TEST_F(CommandsTest, SaveCharsetWritesTheSetAsItStands) {
  WriteBytes(paths_.type, std::string("zya\r\nb\0q", 8));  // unsorted, hand-edited
  FakeQuestion question;
  FakeChooser chooser({dir_.File("set.dat")});
  const CommandResult r = SaveCharsetFile(paths_, chooser, question);
  EXPECT_FALSE(r.repaint);
  EXPECT_EQ(r.status, CommandStatus::kDone);
  EXPECT_EQ(ReadBytes(dir_.File("set.dat")), "zya\r\nb");
  EXPECT_TRUE(question.asked.empty());
}

TEST_F(CommandsTest, SaveCharsetWithoutASetCreatesAnEmptyFile) {
  FakeQuestion question;
  FakeChooser chooser({dir_.File("empty-set")});
  const CommandResult r = SaveCharsetFile(paths_, chooser, question);
  EXPECT_EQ(r.status, CommandStatus::kDone);
  EXPECT_EQ(r.written, dir_.File("empty-set.txt"));
  ASSERT_TRUE(Exists(dir_.File("empty-set.txt")));
  EXPECT_EQ(ReadBytes(dir_.File("empty-set.txt")), "");
  EXPECT_FALSE(Exists(paths_.type));
}

// Both save commands, through one table: the ".txt" rule and the question, which
// concerns the file that is actually written.
struct SaveCommand {
  const char* what;
  CommandResult (*run)(const SettingsPaths&, FileChooser&, Question&);
};
CommandResult SaveSet(const SettingsPaths& paths, FileChooser& chooser, Question& question) {
  return SaveCharsetFile(paths, chooser, question);
}
CommandResult SaveOutput(const SettingsPaths&, FileChooser& chooser, Question& question) {
  FakeOutput output(std::string("NEW"));
  return SaveOutputFile(chooser, question, output);
}
const SaveCommand kSaveCommands[] = {{"charset", &SaveSet}, {"output", &SaveOutput}};

TEST_F(CommandsTest, SaveAsksAboutTheNameItWrites) {
  WriteBytes(paths_.type, "NEW");
  for (const SaveCommand& save : kSaveCommands) {
    SCOPED_TRACE(save.what);
    // "list" exists but "list.txt", the file written, does not: no question.
    const std::string list = Chosen("keep", "list");
    std::remove(dir_.File("list.txt").c_str());
    FakeQuestion noQuestion(false);
    FakeChooser first({list});
    EXPECT_EQ(save.run(paths_, first, noQuestion).status, CommandStatus::kDone);
    EXPECT_TRUE(noQuestion.asked.empty());
    EXPECT_EQ(ReadBytes(dir_.File("list.txt")), "NEW");
    EXPECT_EQ(ReadBytes(list), "keep");

    // Now "list.txt" exists: No keeps it byte for byte, Yes replaces it.
    Chosen("old\r\ntext", "list.txt");
    FakeQuestion no(false);
    FakeChooser second({list});
    const CommandResult declined = save.run(paths_, second, no);
    EXPECT_EQ(declined.status, CommandStatus::kDeclined);
    EXPECT_FALSE(declined.repaint);
    EXPECT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(ReadBytes(dir_.File("list.txt")), "old\r\ntext");

    FakeQuestion yes(true);
    FakeChooser third({list});
    EXPECT_EQ(save.run(paths_, third, yes).status, CommandStatus::kDone);
    EXPECT_EQ(yes.asked.size(), 1u);
    EXPECT_EQ(ReadBytes(dir_.File("list.txt")), "NEW");

    // A name with a full stop anywhere is written as chosen.
    std::filesystem::create_directories(dir_.Path() / "my.data");
    const std::string dotted = (dir_.Path() / "my.data" / "plain").string();
    FakeChooser fourth({dotted});
    EXPECT_EQ(save.run(paths_, fourth, yes).written, dotted);
    EXPECT_EQ(ReadBytes(dotted), "NEW");

    FakeChooser cancelled;
    FakeQuestion unused;
    EXPECT_EQ(save.run(paths_, cancelled, unused).status, CommandStatus::kCancelled);
    EXPECT_TRUE(unused.asked.empty());
  }
}

TEST_F(CommandsTest, SaveIntoAMissingFolderIsReportedAsNotWritten) {
  WriteBytes(paths_.type, "abc");
  for (const SaveCommand& save : kSaveCommands) {
    SCOPED_TRACE(save.what);
    FakeQuestion question;
    FakeChooser chooser({dir_.File("no-folder") + "/x.txt"});
    EXPECT_EQ(save.run(paths_, chooser, question).status, CommandStatus::kWriteFailed);
  }
}

TEST_F(CommandsTest, SaveOutputWritesTheBoxTextByTheWritingRules) {
  const struct {
    std::optional<std::string> box;
    std::optional<std::string> file;  // none: nothing written
    CommandStatus status;
  } cases[] = {
      {"", "", CommandStatus::kDone},  // before the first run: an empty file
      {"ERROR!", "ERROR!", CommandStatus::kDone},
      {std::string(65535, '~'), std::string(65535, '~'), CommandStatus::kDone},
      {"a\nb", "a\r\nb", CommandStatus::kDone},
      {std::nullopt, std::nullopt, CommandStatus::kNoOutput},
  };
  for (const auto& c : cases) {
    const std::string path = dir_.File("out.txt");
    std::remove(path.c_str());
    FakeChooser chooser({path});
    FakeQuestion question;
    FakeOutput output(c.box);
    const CommandResult r = SaveOutputFile(chooser, question, output);
    EXPECT_FALSE(r.repaint);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(Exists(path), c.file.has_value());
    if (c.file) {
      EXPECT_EQ(ReadBytes(path), *c.file);
    }
  }
}

TEST_F(CommandsTest, SelectStoresTheTargetOnlyWhenReadable) {
  const std::string target = Chosen("", "empty target");  // an empty file is a target
  FakeChooser chooser({target, dir_.File("vanished"), target});
  const CommandResult stored = SelectTargetFile(paths_, chooser);
  EXPECT_TRUE(stored.repaint);
  EXPECT_EQ(stored.status, CommandStatus::kDone);
  EXPECT_EQ(ReadBytes(paths_.xorTarget), target);

  const CommandResult unreadable = SelectTargetFile(paths_, chooser);
  EXPECT_TRUE(unreadable.repaint);  // the panel repaints once a file was chosen
  EXPECT_EQ(unreadable.status, CommandStatus::kUnreadable);
  EXPECT_EQ(ReadBytes(paths_.xorTarget), target);

  EXPECT_EQ(SelectTargetFile(paths_, chooser).status, CommandStatus::kDone);
  EXPECT_EQ(ReadBytes(paths_.xorTarget), target);
}

TEST_F(CommandsTest, SelectRefusesATargetOfTwoGibibytesWithoutReadingIt) {
  const std::string small = Chosen("abc", "small target");
  FakeChooser first({small});
  ASSERT_EQ(SelectTargetFile(paths_, first).status, CommandStatus::kDone);
  const std::string huge = dir_.File("huge.bin");
  test::WriteBytes(huge, "x");
  std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);  // sparse
  FakeChooser chooser({huge});
  EXPECT_EQ(SelectTargetFile(paths_, chooser).status, CommandStatus::kUnreadable);
  EXPECT_EQ(ReadBytes(paths_.xorTarget), small);
}

TEST_F(CommandsTest, ReleaseLeavesAnEmptyTargetFile) {
  for (const bool existed : {false, true}) {
    if (existed) WriteBytes(paths_.xorTarget, "/some/target");
    const CommandResult r = ReleaseTargetFile(paths_);
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(r.status, CommandStatus::kDone);
    ASSERT_TRUE(Exists(paths_.xorTarget));
    EXPECT_EQ(ReadBytes(paths_.xorTarget), "");
  }
}

TEST_F(CommandsTest, ASettingsFileThatCannotBeWrittenKeepsItsPlace) {
  // The settings path is a folder: nothing can replace it, and the command says so.
  std::filesystem::create_directories(paths_.type);
  std::filesystem::create_directories(paths_.xorTarget);
  FakeChooser open({Chosen("abc")});
  EXPECT_EQ(OpenCharsetFile(paths_, open).status, CommandStatus::kWriteFailed);
  FakeChooser add({Chosen("abc")});
  EXPECT_EQ(AddCharsetFile(paths_, add).status, CommandStatus::kSettingsUnreadable);
  FakeChooser select({Chosen("abc")});
  EXPECT_EQ(SelectTargetFile(paths_, select).status, CommandStatus::kWriteFailed);
  EXPECT_EQ(ReleaseTargetFile(paths_).status, CommandStatus::kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(paths_.type));
  EXPECT_TRUE(std::filesystem::is_directory(paths_.xorTarget));
}

}  // namespace
}  // namespace talvoric
