// The About box: its template, and the three ways to close it.
#include "dialog_layout.h"
#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

GUI_SCENARIO(AboutBoxLayoutAndClosing) {
  App app(ctx, "about");
  app.WriteFile("establish_size.txt", "12");
  app.Launch();
  for (const char* way : {"OK", "Esc", "close box", "Enter"}) {
    app.PostCommand(IDM_ABOUT);
    const HWND box = app.WaitForDialog(L"バージョン情報");
    CHECK_EQ_MSG(IsWindowEnabled(app.Main()), FALSE, way);  // modal
    if (std::string(way) == "OK") {
      const ExpectedDialog about{L"バージョン情報", 165, 65, 0x80C800C8ul, 9, L"MS UI Gothic",
                                 {
                                     {L"Static", 0, L"MAINICON", 10, 12, 0, 0, 0x50000003ul},
                                     {L"Static", 65535, L"Talvoric Version 0.8", 32, 14, 256, 8, 0x50020000ul},
                                     {L"Static", 65535, L"ランダム文字列の生成ツール", 32, 26, 256, 8, 0x50020000ul},
                                     {L"Button", IDOK, L"OK", 100, 40, 50, 14, 0x50030001ul},
                                 }};
      CheckDialogTemplate(app.PathOf("talvoric.exe"), TEXT(RES_ABOUT_BOX), about);
      CheckLiveDialog(box, about, "about");
      ctx.Screenshot(box, "about-box");
      Click(box, IDOK);
    } else if (std::string(way) == "Esc") {
      PostKey(Item(box, IDOK), VK_ESCAPE);
    } else if (std::string(way) == "Enter") {
      PostKey(Item(box, IDOK), VK_RETURN);
    } else {
      PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    app.WaitGone(box);
    app.Sync();
    CHECK_EQ_MSG(IsWindowEnabled(app.Main()), TRUE, way);
  }
  CHECK(app.Running());
  CHECK_EQ(app.ReadFile("establish_size.txt"), std::optional<std::string>("12"));
  CHECK_EQ(app.ReadFile("establish_type.txt"), std::nullopt);
}
