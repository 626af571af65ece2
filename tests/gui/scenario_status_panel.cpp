// The status panel can only be looked at: this scenario prepares settings that exercise
// every line of it (a long Japanese target name, a partial character set, a count with
// leading zeros) and saves the main window for a person to check.
#include "gui_test.h"
#include "resource_ids.h"

using namespace guitest;

GUI_SCENARIO(StatusPanelShowsSettings) {
  App app(ctx, "status-panel");
  const std::string target = "乱数の種になる長い名前のファイル.bin";
  app.WriteFile(target, "seed bytes");
  app.WriteFile("establish_xor.txt", app.AnsiPathOf(target));
  app.WriteFile("establish_type.txt", "7aZ!");
  app.WriteFile("establish_size.txt", "0042");
  app.Launch();
  ctx.Screenshot(app.Main(), "main-window-with-settings");

  // Releasing the target outside the program shows at the next paint.
  app.WriteFile("establish_xor.txt", "");
  InvalidateRect(app.Main(), nullptr, TRUE);
  app.Sync();
  ctx.Screenshot(app.Main(), "main-window-target-released");
  CHECK(app.Running());
}
