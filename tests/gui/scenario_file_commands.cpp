// The File menu's commands through the real common dialogs: each chooser opened from
// the menu, a path typed into its name field and its Open/Save button pressed (or
// Cancel), the overwrite question answered, and the files checked byte for byte.
#include <string>
#include <vector>

#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

constexpr int kNameField = 0x47c;   // the file-name combo box of the common dialog
constexpr int kFilterList = 0x470;  // the file-type combo box
const wchar_t* const kQuestionTitle = L"ファイルの上書き確認";
const wchar_t* const kQuestionText = L"同名のファイルが既に存在しますが、上書きしますか?";

struct ChooserSearch {
  DWORD pid;
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchChooser(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<ChooserSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w) || ClassOf(w) != L"#32770") return TRUE;
  if (GetWindow(w, GW_OWNER) != s->owner) return TRUE;
  s->found = w;
  return FALSE;
}

// A dialog of the program owned by `owner`.
HWND WaitForOwnedDialog(const App& app, HWND owner, const std::string& what) {
  ChooserSearch search{app.ProcessId(), owner, nullptr};
  WaitUntil([&] {
    search.found = nullptr;
    EnumWindows(MatchChooser, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, what, 20000);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  return search.found;
}

// The file chooser that the command `id` opens: a dialog owned by the main window.
HWND OpenChooser(const App& app, int id) {
  app.PostCommand(id);
  return WaitForOwnedDialog(app, app.Main(), "the file chooser of command " + std::to_string(id));
}

// The edit control inside the name field's combo box.
HWND NameEdit(HWND chooser) {
  HWND combo = Item(chooser, kNameField);
  HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
  HWND edit = FindWindowExW(inner != nullptr ? inner : combo, nullptr, L"Edit", nullptr);
  REQUIRE(edit != nullptr);
  return edit;
}

std::vector<std::wstring> FilterEntries(HWND chooser) {
  HWND list = Item(chooser, kFilterList);
  std::vector<std::wstring> entries;
  const LRESULT n = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const LRESULT len = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(len > 0 ? len : 0) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(len > 0 ? len : 0));
    entries.push_back(text);
  }
  return entries;
}

// Types `path` into the name field and presses Open/Save; returns once the command
// that opened the chooser has finished.
void Accept(const App& app, HWND chooser, const std::wstring& path) {
  SetText(NameEdit(chooser), path);
  PostClick(chooser, IDOK);
  app.WaitGone(chooser);
  app.Sync();
}

void Cancel(const App& app, HWND chooser) {
  PostClick(chooser, IDCANCEL);
  app.WaitGone(chooser);
  app.Sync();
}

// Picks entry `index` of the file-type list as a user would, so the dialog hears of it.
void PickFilter(HWND chooser, int index) {
  HWND list = Item(chooser, kFilterList);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  for (const WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
    SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(kFilterList, code), reinterpret_cast<LPARAM>(list));
  }
}

// Runs command `id` on the file `name` of the app's folder.
void ChooseIn(const App& app, int id, const std::string& name) {
  Accept(app, OpenChooser(app, id), app.PathOf(name));
}

std::string Ascii(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c);
  return out;
}

struct QuestionSearch {
  DWORD pid;
  HWND found;
};

// The text of the message box (its static control that is not the icon).
std::wstring MessageText(HWND box) {
  std::wstring found;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" && !GetText(child).empty()) found = GetText(child);
  }
  return found;
}

}  // namespace

// Every command once, from the menu through its chooser, with new file names for the
// two save choosers (which must accept a name that does not exist yet).
GUI_SCENARIO(FileCommandsThroughTheChoosers) {
  App app(ctx, "file-commands");
  app.WriteFile("hello.txt", "hello world");
  app.WriteFile("more.txt", "a\x82\xa0h");
  app.WriteFile("less.txt", "lo ");
  app.WriteFile("target.bin", std::string("\x01\x02\x00\x03", 4));
  app.WriteFile("establish_size.txt", "40");
  app.Launch();

  HWND open = OpenChooser(app, IDM_OPEN_CHARSET);
  CHECK_EQ(GetText(NameEdit(open)), std::wstring());  // a first use starts empty
  CHECK(FilterEntries(open) == (std::vector<std::wstring>{L"Before files", L"Text files {*.txt}",
                                                         L"All files {*.*}"}));
  CHECK_EQ(GetText(Item(open, kFilterList)), std::wstring(L"Before files"));
  ctx.Screenshot(open, "file-chooser-open");
  Accept(app, open, app.PathOf("hello.txt"));
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(" dehlorw"));

  ChooseIn(app, IDM_ADD_CHARSET, "more.txt");
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>("\x82\xa0 adehlorw"));

  ChooseIn(app, IDM_EXCLUDE_CHARSET, "less.txt");
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>("\x82\xa0" "adehrw"));

  HWND target = OpenChooser(app, IDM_SELECT_TARGET);
  CHECK(FilterEntries(target) == (std::vector<std::wstring>{L"Before files", L"All files {*.*}"}));
  Accept(app, target, app.PathOf("target.bin"));
  CHECK_EQ(app.ReadFile("establish_xor.txt"), std::optional<std::string>(app.AnsiPathOf("target.bin")));

  app.SendCommand(IDM_RELEASE_TARGET);
  CHECK_EQ(app.ReadFile("establish_xor.txt"), std::optional<std::string>(""));

  HWND saveSet = OpenChooser(app, IDM_SAVE_CHARSET);
  ctx.Screenshot(saveSet, "file-chooser-save");
  Accept(app, saveSet, app.PathOf("saved-set"));  // no "." anywhere: ".txt" is added
  CHECK_EQ(app.ReadFile("saved-set.txt"), std::optional<std::string>("\x82\xa0" "adehrw"));
  CHECK_EQ(app.ReadFile("saved-set"), std::optional<std::string>());

  Click(app.Main(), ID_START_BUTTON);
  const std::string generated = Ascii(GetText(Item(app.Main(), ID_OUTPUT_BOX)));
  CHECK_EQ(generated.size(), static_cast<std::size_t>(40));
  ChooseIn(app, IDM_SAVE_OUTPUT, "generated.out");
  CHECK_EQ(app.ReadFile("generated.out"), std::optional<std::string>(generated));
}

// Each chooser keeps its own name: a second use shows the previous choice, another
// chooser still starts empty, and Cancel changes nothing.
GUI_SCENARIO(FileChooserRemembersItsOwnName) {
  App app(ctx, "chooser-memory");
  app.WriteFile("hello.txt", "hello world");
  app.WriteFile("other.txt", "xyz");
  app.Launch();

  HWND first = OpenChooser(app, IDM_OPEN_CHARSET);
  PickFilter(first, 1);
  Accept(app, first, app.PathOf("hello.txt"));
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(" dehlorw"));

  HWND again = OpenChooser(app, IDM_OPEN_CHARSET);
  const std::wstring shown = GetText(NameEdit(again));
  CHECK(shown == L"hello.txt" || shown == app.PathOf("hello.txt"));
  CHECK_EQ(GetText(Item(again, kFilterList)), std::wstring(L"Text files {*.txt}"));
  ctx.Screenshot(again, "file-chooser-second-use");
  SetText(NameEdit(again), app.PathOf("other.txt"));
  Cancel(app, again);
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(" dehlorw"));

  HWND another = OpenChooser(app, IDM_ADD_CHARSET);
  CHECK_EQ(GetText(NameEdit(another)), std::wstring());
  CHECK_EQ(GetText(Item(another, kFilterList)), std::wstring(L"Before files"));
  Cancel(app, another);

  // The cancelled use left the record as it was: still the first choice.
  HWND third = OpenChooser(app, IDM_OPEN_CHARSET);
  const std::wstring still = GetText(NameEdit(third));
  CHECK(still == L"hello.txt" || still == app.PathOf("hello.txt"));
  Cancel(app, third);
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(" dehlorw"));
}

// The overwrite question concerns the file that is written: choosing "list" while
// "list.txt" exists asks, No keeps it, Yes replaces it. The question has no owner.
GUI_SCENARIO(OverwriteQuestionNoThenYes) {
  App app(ctx, "overwrite");
  app.WriteFile("establish_type.txt", "zyx");
  app.WriteFile("list.txt", "keep\r\nme");
  app.WriteFile("out.txt", "old output");
  app.Launch();

  struct Case {
    int command;
    std::string chosen;
    std::string file;
    std::string before;
  };
  const Case cases[] = {{IDM_SAVE_CHARSET, "list", "list.txt", "keep\r\nme"},
                        {IDM_SAVE_OUTPUT, "out.txt", "out.txt", "old output"}};
  for (const Case& c : cases) {
    Accept(app, OpenChooser(app, c.command), app.PathOf(c.chosen));
    HWND no = app.WaitForDialog(kQuestionTitle);
    CHECK_EQ(MessageText(no), std::wstring(kQuestionText));
    CHECK(GetWindow(no, GW_OWNER) == nullptr);
    CHECK(IsWindowEnabled(app.Main()));
    if (c.command == IDM_SAVE_CHARSET) ctx.Screenshot(no, "overwrite-question");
    PostClick(no, IDNO);
    app.WaitGone(no);
    app.Sync();
    CHECK_EQ_MSG(app.ReadFile(c.file), std::optional<std::string>(c.before), c.file + " after No");
  }

  Click(app.Main(), ID_START_BUTTON);
  const std::string generated = Ascii(GetText(Item(app.Main(), ID_OUTPUT_BOX)));
  const std::string after[] = {"zyx", generated};
  for (int i = 0; i < 2; ++i) {
    const Case& c = cases[i];
    Accept(app, OpenChooser(app, c.command), app.PathOf(c.chosen));
    HWND yes = app.WaitForDialog(kQuestionTitle);
    PostClick(yes, IDYES);
    app.WaitGone(yes);
    app.Sync();
    CHECK_EQ_MSG(app.ReadFile(c.file), std::optional<std::string>(after[i]), c.file + " after Yes");
  }
  CHECK_EQ(app.ReadFile("list"), std::optional<std::string>());
}

// What the choosers themselves refuse: an open chooser a file that does not exist, a
// save chooser a folder that does not exist. The chooser warns and stays open; the
// command has not run.
GUI_SCENARIO(FileChoosersRefuseMissingFilesAndFolders) {
  App app(ctx, "chooser-refusals");
  app.WriteFile("establish_type.txt", "abc");
  app.Launch();

  struct Case {
    int command;
    std::string typed;
    const char* shot;
  };
  const Case cases[] = {{IDM_OPEN_CHARSET, "no-such-file.txt", "file-chooser-missing-file"},
                        {IDM_SAVE_CHARSET, "no-such-folder\\set.txt", "file-chooser-missing-folder"}};
  for (const Case& c : cases) {
    HWND chooser = OpenChooser(app, c.command);
    SetText(NameEdit(chooser), app.PathOf(c.typed));
    PostClick(chooser, IDOK);
    HWND warning = WaitForOwnedDialog(app, chooser, "the chooser's warning about " + c.typed);
    ctx.Screenshot(warning, c.shot);
    PostClick(warning, IDOK);
    app.WaitGone(warning);
    CHECK(IsWindowVisible(chooser));
    Cancel(app, chooser);
  }
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>("abc"));
  CHECK_EQ(app.ReadFile("no-such-file.txt"), std::optional<std::string>());
}
