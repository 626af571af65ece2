// The main window as it opens: class, title, size, style, menu and the three controls.
#include <cwctype>

#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

namespace {

struct MenuEntry {
  int id;  // -1: a popup, 0: a separator
  std::wstring label;
  bool operator==(const MenuEntry&) const = default;
};

}  // namespace

namespace guitest {
std::string Describe(const MenuEntry& e) { return std::to_string(e.id) + " " + Describe(e.label); }
}  // namespace guitest

namespace {

// The menu flattened: each popup, then its items.
std::vector<MenuEntry> Flatten(HMENU menu) {
  std::vector<MenuEntry> out;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t label[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), label, 256, MF_BYPOSITION);
    if (const HMENU sub = GetSubMenu(menu, i)) {
      out.push_back({-1, label});
      for (const MenuEntry& e : Flatten(sub)) out.push_back(e);
    } else {
      const UINT id = GetMenuItemID(menu, i);
      MENUITEMINFOW info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
      out.push_back({(info.fType & MFT_SEPARATOR) ? 0 : static_cast<int>(id), label});
    }
  }
  return out;
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

GUI_SCENARIO(MainWindowOpens) {
  App app(ctx, "main-window");
  app.Launch();
  const HWND w = app.Main();
  CHECK_EQ(ClassOf(w), std::wstring(L"MAINWINDOW_MENU"));
  CHECK_EQ(GetText(w), std::wstring(L"TALVORIC"));
  const SIZE size = OuterSize(w);
  CHECK_EQ(size.cx, 480L);
  CHECK_EQ(size.cy, 320L);
  // The system adds WS_CLIPSIBLINGS to every top-level window and WS_EX_WINDOWEDGE to
  // every captioned one; the rest is what the program asked for.
  const auto style = static_cast<unsigned long>(StyleOf(w));
  CHECK_EQ(style & ~static_cast<unsigned long>(WS_CLIPSIBLINGS), 0x10CA0000ul);
  CHECK_EQ(static_cast<unsigned long>(ExStyleOf(w)) & ~static_cast<unsigned long>(WS_EX_WINDOWEDGE), 0ul);
  CHECK_EQ(static_cast<unsigned long>(GetClassLongW(w, GCL_STYLE)), 3ul);
  CHECK(GetMenu(w) != nullptr);

  struct Control {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT rect;
    unsigned long style;
  };
  const Control controls[] = {
      {ID_OUTPUT_BOX, L"Edit", L"", {10, 20, 230, 130}, 0x50200844ul},
      {ID_HISTOGRAM_BOX, L"Edit", L"", {10, 155, 230, 260}, 0x50200844ul},
      {ID_START_BUTTON, L"Button", L"生成開始", {250, 220, 455, 245}, 0x50000000ul},
  };
  for (const Control& c : controls) {
    const std::string name = "control " + std::to_string(c.id);
    const HWND h = Item(w, c.id);
    CHECK_EQ_MSG(SameTextIgnoringCase(ClassOf(h), c.className), true, name + " class " + Utf8(ClassOf(h)));
    CHECK_EQ_MSG(GetText(h), std::wstring(c.text), name + " text");
    const RECT r = ClientRectIn(h, w);
    CHECK_EQ_MSG(r.left, c.rect.left, name + " left");
    CHECK_EQ_MSG(r.top, c.rect.top, name + " top");
    CHECK_EQ_MSG(r.right, c.rect.right, name + " right");
    CHECK_EQ_MSG(r.bottom, c.rect.bottom, name + " bottom");
    CHECK_EQ_MSG(static_cast<unsigned long>(StyleOf(h)), c.style, name + " style");
    CHECK_EQ_MSG(static_cast<unsigned long>(ExStyleOf(h)), 0ul, name + " extended style");
  }
  ctx.Screenshot(w, "main-window-before-run");
}

// The menu as the program loads it (Wine cannot read another process's menu, so the
// same resource is loaded here from the copied program).
GUI_SCENARIO(MainMenuLabelsAndIds) {
  App app(ctx, "main-menu");
  const HMODULE module = LoadLibraryExW(app.PathOf("talvoric.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  REQUIRE(module != nullptr);
  const HMENU menu = LoadMenuW(module, TEXT(RES_MAIN_MENU));
  REQUIRE(menu != nullptr);
  const std::vector<MenuEntry> expected = {
      {-1, L"ファイル(&F)"},
      {IDM_OPEN_CHARSET, L"文字種ファイルを開く(&I)"},
      {IDM_ADD_CHARSET, L"文字種ファイルの追加読み込み(&A)"},
      {IDM_EXCLUDE_CHARSET, L"文字種ファイルの除外対象読み込み(&O)"},
      {0, L""},
      {IDM_SELECT_TARGET, L"排他的論理和対象ファイルの選択(&X)"},
      {IDM_RELEASE_TARGET, L"選択済み排他的論理和対象ファイルの解除(&D)"},
      {0, L""},
      {IDM_SAVE_OUTPUT, L"生成済み乱数の保存(&R)"},
      {IDM_SAVE_CHARSET, L"文字種ファイルの保存(&T)"},
      {0, L""},
      {IDM_EXIT, L"アプリケーションの終了(&E)"},
      {-1, L"ツール(&T)"},
      {IDM_SETTINGS, L"設定(&E)"},
      {-1, L"ヘルプ(&H)"},
      {IDM_ABOUT, L"バージョン情報(&A)..."},
  };
  const std::vector<MenuEntry> actual = Flatten(menu);
  CHECK_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
    CHECK_EQ_MSG(actual[i], expected[i], "menu entry " + std::to_string(i));
  }
  DestroyMenu(menu);
  FreeLibrary(module);
}

// The live menu, worked with the keyboard as a person would: Alt+F opens the File menu
// (saved as a screenshot), Alt+T then E opens the settings, Alt+H then A the About box.
GUI_SCENARIO(MainMenuByKeyboard) {
  App app(ctx, "main-menu-keys");
  app.Launch();
  const HWND w = app.Main();

  PostKey(w, 'F', true);
  const HWND popup = app.WaitForDialog(L"", L"#32768");
  ctx.ScreenshotArea(w, popup, "file-menu");
  PostKey(popup, VK_ESCAPE);
  PostKey(w, VK_ESCAPE);
  app.WaitGone(popup);

  PostKey(w, 'T', true);
  const HWND toolsPopup = app.WaitForDialog(L"", L"#32768");
  PostKey(toolsPopup, 'E');
  const HWND settings = app.WaitForDialog(L"設定");
  Click(settings, IDCANCEL);
  app.WaitGone(settings);

  PostKey(w, 'H', true);
  const HWND helpPopup = app.WaitForDialog(L"", L"#32768");
  PostKey(helpPopup, 'A');
  const HWND about = app.WaitForDialog(L"バージョン情報");
  Click(about, IDOK);
  app.WaitGone(about);
  CHECK(app.Running());
}
