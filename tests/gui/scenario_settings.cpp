// The settings dialog: its template, what it opens with, ENABLE ALL / DISABLE ALL, the
// count field, and which ways of closing it write the two files.
#include "dialog_layout.h"
#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

const wchar_t* const kTitle = L"設定";
constexpr unsigned long kLabelStyle = 0x50020000ul;     // child, visible, group, left text
constexpr unsigned long kCheckBoxStyle = 0x50030003ul;  // ... tab stop, auto check box

// The 94 characters in the order of the boxes 2001..2094, by lines of the dialog.
struct CharLine {
  const char* chars;
  int y;
};
const CharLine kLines[] = {
    {"ABCDEFGHIJKLMNOP", 50}, {"QRSTUVWXYZ", 75}, {"abcdefghijklmnop", 100}, {"qrstuvwxyz", 125},
    {"0123456789", 25},       {"!\"#$%&'()*+,-./:", 150}, {";<=>?@[\\]^_`{|}~", 175},
};

int BoxIdOf(char c) {
  int id = IDC_FIRST_CHAR_BOX;
  for (const CharLine& line : kLines) {
    for (const char* p = line.chars; *p; ++p, ++id) {
      if (*p == c) return id;
    }
  }
  return 0;
}

// The checked characters, in ascending code order.
std::string CheckedChars(HWND dialog) {
  std::string out;
  for (int c = 33; c <= 126; ++c) {
    if (IsChecked(dialog, BoxIdOf(static_cast<char>(c)))) out += static_cast<char>(c);
  }
  return out;
}

std::string AllPrintable() {
  std::string s;
  for (int c = 33; c <= 126; ++c) s += static_cast<char>(c);
  return s;
}

HWND OpenSettings(const App& app) {
  app.PostCommand(IDM_SETTINGS);
  return app.WaitForDialog(kTitle);
}

void CloseBy(const App& app, HWND dialog, int buttonId) {
  Click(dialog, buttonId);
  app.WaitGone(dialog);
  app.Sync();
}

}  // namespace

GUI_SCENARIO(SettingsDialogLayout) {
  App app(ctx, "settings-layout");
  ExpectedDialog dialog{L"設定", 420, 250, 0x80C800C8ul, 9, L"MS UI Gothic", {}};
  std::vector<ExpectedControl>& expected = dialog.controls;
  expected.push_back({L"Static", 65535, L"生成対象文字種", 10, 10, 170, 8, kLabelStyle});
  int id = IDC_FIRST_CHAR_BOX;
  for (const CharLine& line : kLines) {
    int k = 0;
    for (const char* p = line.chars; *p; ++p, ++k, ++id) {
      const std::wstring label = *p == '&' ? L"&&" : std::wstring(1, static_cast<wchar_t>(*p));
      expected.push_back({L"Static", 65535, label, 10 + 25 * k, line.y, 170, *p == '*' ? 10 : 8, kLabelStyle});
      expected.push_back({L"Button", id, L"check box", 20 + 25 * k, line.y, 10, 10, kCheckBoxStyle});
    }
  }
  CHECK_EQ(id, IDC_LAST_CHAR_BOX + 1);
  expected.push_back({L"Static", 65535, L"生成文字数:", 10, 200, 100, 8, kLabelStyle});
  expected.push_back({L"Edit", IDC_COUNT, L"", 50, 200, 100, 12, 0x50810080ul});
  expected.push_back({L"Button", IDC_ENABLE_ALL, L"ENABLE ALL", 180, 225, 50, 14, 0x50030001ul});
  expected.push_back({L"Button", IDC_DISABLE_ALL, L"DISABLE ALL", 240, 225, 50, 14, 0x50030000ul});
  expected.push_back({L"Button", IDOK, L"OK", 300, 225, 50, 14, 0x50030001ul});
  expected.push_back({L"Button", IDCANCEL, L"CANCEL", 360, 225, 50, 14, 0x50030000ul});
  CHECK_EQ(expected.size(), std::size_t{195});
  CheckDialogTemplate(app.PathOf("talvoric.exe"), TEXT(RES_SETTINGS_BOX), dialog);

  // The live dialog, with no settings files: the field shows 1.
  app.Launch();
  const HWND live = OpenSettings(app);
  expected[190].text = L"1";
  CheckLiveDialog(live, dialog, "settings");
  CloseBy(app, live, IDCANCEL);
}

// What the dialog shows is what the files hold at the moment it opens.
GUI_SCENARIO(SettingsDialogOpensWithFileState) {
  App app(ctx, "settings-open");
  app.Launch();
  struct Case {
    const char* name;
    std::optional<std::string> type, size;
    std::string checked;
    std::wstring field;
  };
  const Case cases[] = {
      {"no files", std::nullopt, std::nullopt, "", L"1"},
      {"A, B and a line end", "AB\r\n", "16", "AB", L"16"},
      {"byte 0xC1 marks A", "\xC1", "0016", "A", L"16"},
      {"empty type file", "", "70000", "", L"65535"},
      {"eleven nines", "~!", "99999999999", "!~", L"65535"},
      {"count with a line end", "9", "16\r\n", "9", L"1"},
      {"count with letters", "z", "12abc", "z", L"1"},
      {"empty count", "a", "", "a", L"1"},
  };
  for (const Case& c : cases) {
    app.RemoveFile("establish_type.txt");
    app.RemoveFile("establish_size.txt");
    if (c.type) app.WriteFile("establish_type.txt", *c.type);
    if (c.size) app.WriteFile("establish_size.txt", *c.size);
    const HWND dialog = OpenSettings(app);
    CHECK_EQ_MSG(CheckedChars(dialog), c.checked, c.name);
    CHECK_EQ_MSG(GetText(Item(dialog, IDC_COUNT)), c.field, c.name);
    if (std::string(c.name) == "A, B and a line end") ctx.Screenshot(dialog, "settings-dialog");
    CloseBy(app, dialog, IDCANCEL);
  }
}

GUI_SCENARIO(SettingsDialogEnableAllDisableAll) {
  App app(ctx, "settings-all");
  app.WriteFile("establish_type.txt", "xyz");
  app.WriteFile("establish_size.txt", "7");
  app.Launch();

  HWND dialog = OpenSettings(app);
  Click(dialog, IDC_ENABLE_ALL);
  CHECK_EQ(CheckedChars(dialog), AllPrintable());
  CHECK_EQ(GetText(Item(dialog, IDC_COUNT)), std::wstring(L"7"));  // the field is left alone
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>("xyz"));  // nothing stored before OK
  CloseBy(app, dialog, IDOK);
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(AllPrintable()));
  CHECK_EQ(app.ReadFile("establish_size.txt"), std::optional<std::string>("7"));

  dialog = OpenSettings(app);
  CHECK_EQ(CheckedChars(dialog), AllPrintable());
  Click(dialog, IDC_DISABLE_ALL);
  CHECK_EQ(CheckedChars(dialog), std::string());
  CloseBy(app, dialog, IDOK);
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(""));

  // Single boxes: checked characters are written once each, ascending.
  dialog = OpenSettings(app);
  for (char c : std::string("z0A~!m")) Click(dialog, BoxIdOf(c));
  CloseBy(app, dialog, IDOK);
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>("!0Amz~"));
  ctx.Screenshot(app.Main(), "main-window-after-settings");
}

GUI_SCENARIO(SettingsDialogCountField) {
  App app(ctx, "settings-count");
  app.Launch();
  struct Case {
    std::wstring field;
    std::string written;
  };
  const Case cases[] = {
      {L"16", "16"},     {L"00012", "12"},  {L"000012", "65535"}, {L"65535", "65535"},
      {L"65536", "65535"}, {L"123456", "65535"}, {L"0", "1"},      {L"0000000", "1"},
      {L"", "1"},        {L"12abc", "12"},  {L"1.9", "1"},        {L"-5", "1"},
      {L" 5", "1"},      {L"5 ", "5"},      {L"abc", "1"},        {L"\uFF15", "1"},  // full-width 5
      // OK reads at most 127 characters of the field: the 128th is never seen.
      {std::wstring(126, L'0') + L"5", "65535"}, {std::wstring(127, L'0') + L"5", "1"},
  };
  bool first = true;
  for (const Case& c : cases) {
    const HWND dialog = OpenSettings(app);
    // With no settings files the dialog opens with nothing checked and the field at 1.
    if (first) {
      CHECK_EQ(CheckedChars(dialog), std::string());
      CHECK_EQ(GetText(Item(dialog, IDC_COUNT)), std::wstring(L"1"));
    }
    SetText(Item(dialog, IDC_COUNT), c.field);
    CloseBy(app, dialog, IDOK);
    CHECK_EQ_MSG(app.ReadFile("establish_size.txt"), std::optional<std::string>(c.written), "field " + Utf8(c.field.substr(0, 20)) + " (" + std::to_string(c.field.size()) + " characters)");
    // OK with nothing checked writes an empty character-set file.
    if (first) CHECK_EQ(app.ReadFile("establish_type.txt"), std::optional<std::string>(""));
    first = false;
  }
}

// CANCEL and the close box leave both files byte for byte, and the next opening shows
// the files, not the abandoned changes.
GUI_SCENARIO(SettingsDialogCancelWritesNothing) {
  App app(ctx, "settings-cancel");
  const std::string type = "Zz\r\n09\x1A\xC1";
  const std::string size = "0042\r\n";
  app.WriteFile("establish_type.txt", type);
  app.WriteFile("establish_size.txt", size);
  app.Launch();
  for (const char* way : {"CANCEL", "close box", "Esc"}) {
    const HWND dialog = OpenSettings(app);
    const std::string before = CheckedChars(dialog);
    Click(dialog, IDC_ENABLE_ALL);
    Click(dialog, BoxIdOf('Z'));
    SetText(Item(dialog, IDC_COUNT), L"999");
    if (std::string(way) == "CANCEL") {
      Click(dialog, IDCANCEL);
    } else if (std::string(way) == "close box") {
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      PostKey(Item(dialog, IDC_COUNT), VK_ESCAPE);
    }
    app.WaitGone(dialog);
    app.Sync();
    CHECK_EQ_MSG(app.ReadFile("establish_type.txt"), std::optional<std::string>(type), way);
    CHECK_EQ_MSG(app.ReadFile("establish_size.txt"), std::optional<std::string>(size), way);
    const HWND again = OpenSettings(app);
    CHECK_EQ_MSG(CheckedChars(again), before, way);
    CHECK_EQ_MSG(GetText(Item(again, IDC_COUNT)), std::wstring(L"1"), way);  // "0042" + line end is not all digits
    CloseBy(app, again, IDCANCEL);
  }
  CHECK(app.Running());
}
