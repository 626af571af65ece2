// A small framework for driving talvoric.exe through window messages, as a person would,
// from a Win32 console program running beside it under Wine.
//
// A scenario file (tests/gui/scenario_*.cpp, picked up by the build) registers named
// scenarios:
//
//   GUI_SCENARIO(AboutBoxClosesByOk) {
//     App app(ctx, "about-ok");          // fresh folder with a copy of talvoric.exe
//     app.WriteFile("establish_size.txt", "16");
//     app.Launch();                      // starts it and waits for the main window
//     app.PostCommand(IDM_ABOUT);        // menu command; returns at once
//     HWND box = app.WaitForDialog(L"バージョン情報");
//     ctx.Screenshot(box, "about");
//     Click(box, IDOK);
//     app.WaitGone(box);
//     CHECK_EQ(app.ReadFile("establish_size.txt"), std::string("16"));
//   }
//
// CHECK/CHECK_EQ record a failure and go on; REQUIRE/REQUIRE_EQ end the scenario. Every
// wait has a timeout and fails the scenario when it runs out. The App's process is ended
// when the App goes out of scope, if it still runs.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace guitest {

// ------------------------------------------------------------------ registry and checks

class Context;
using ScenarioFunction = void (*)(Context&);

struct ScenarioRegistrar {
  ScenarioRegistrar(const char* name, ScenarioFunction function);
};

#define GUI_SCENARIO(name)                                                          \
  static void name(::guitest::Context& ctx);                                        \
  static const ::guitest::ScenarioRegistrar name##Registrar(#name, &name);          \
  static void name([[maybe_unused]] ::guitest::Context& ctx)

// Thrown by REQUIRE and by waits that time out; ends the running scenario.
struct ScenarioAbort {};

void RecordFailure(const char* file, int line, const std::string& message);

// Printable forms for failure messages (wide text becomes UTF-8, bytes are escaped).
std::string Describe(const std::string& bytes);
std::string Describe(const std::wstring& text);
std::string Describe(long long value);
std::string Describe(unsigned long long value);
inline std::string Describe(int v) { return Describe(static_cast<long long>(v)); }
inline std::string Describe(long v) { return Describe(static_cast<long long>(v)); }
inline std::string Describe(unsigned v) { return Describe(static_cast<unsigned long long>(v)); }
inline std::string Describe(unsigned long v) { return Describe(static_cast<unsigned long long>(v)); }
inline std::string Describe(bool v) { return v ? "true" : "false"; }
inline std::string Describe(const char* s) { return Describe(std::string(s)); }
inline std::string Describe(const wchar_t* s) { return Describe(std::wstring(s)); }
inline std::string Describe(std::nullopt_t) { return "(none)"; }
template <class T>
std::string Describe(const std::optional<T>& v) { return v ? Describe(*v) : "(none)"; }

#define GUI_CHECK_IMPL(cond, text, onFail)                                   \
  do {                                                                        \
    if (!(cond)) {                                                            \
      ::guitest::RecordFailure(__FILE__, __LINE__, text);                     \
      onFail;                                                                 \
    }                                                                         \
  } while (0)
#define GUI_EQ_TEXT(a, b, what)                                                          \
  (std::string(what) + ": got " + ::guitest::Describe(a) + ", expected " + ::guitest::Describe(b))

#define CHECK(cond) GUI_CHECK_IMPL((cond), std::string("CHECK(") + #cond + ")", (void)0)
#define REQUIRE(cond) GUI_CHECK_IMPL((cond), std::string("REQUIRE(") + #cond + ")", throw ::guitest::ScenarioAbort{})
#define CHECK_EQ(a, b) GUI_CHECK_IMPL(((a) == (b)), GUI_EQ_TEXT((a), (b), #a), (void)0)
#define REQUIRE_EQ(a, b) GUI_CHECK_IMPL(((a) == (b)), GUI_EQ_TEXT((a), (b), #a), throw ::guitest::ScenarioAbort{})
// With a message of your own (a case name in a table, for instance).
#define CHECK_EQ_MSG(a, b, what) GUI_CHECK_IMPL(((a) == (b)), GUI_EQ_TEXT((a), (b), what), (void)0)

// ------------------------------------------------------------------ context

class Context {
 public:
  Context(std::wstring program, std::wstring outDir) : program_(std::move(program)), outDir_(std::move(outDir)) {}
  const std::wstring& Program() const { return program_; }  // talvoric.exe to copy
  const std::wstring& OutDir() const { return outDir_; }    // work folders and screenshots
  // Saves what `window` shows on screen (frame included) as <outDir>\screenshots\<name>.bmp;
  // the test wrapper turns it into a PNG.
  void Screenshot(HWND window, const std::string& name);
  // The same for the smallest rectangle that holds both windows (a window and its menu).
  void ScreenshotArea(HWND first, HWND second, const std::string& name);

 private:
  void SaveScreenArea(const RECT& r, const std::string& name);
  std::wstring program_;
  std::wstring outDir_;
};

// ------------------------------------------------------------------ the program under test

class App {
 public:
  // Makes the fresh folder <outDir>\work\<name> (emptied first) with a copy of
  // talvoric.exe. Nothing runs yet: write the settings files, then Launch().
  App(Context& ctx, const std::string& name);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Starts the program in its folder and waits for its main window.
  void Launch();

  const std::wstring& Dir() const { return dir_; }
  std::wstring PathOf(const std::string& fileName) const;
  // The ANSI (code page 932) form of PathOf, as establish_xor.txt stores a path.
  std::string AnsiPathOf(const std::string& fileName) const;
  void WriteFile(const std::string& fileName, const std::string& bytes) const;
  // None when the file does not exist.
  std::optional<std::string> ReadFile(const std::string& fileName) const;
  void RemoveFile(const std::string& fileName) const;

  HWND Main() const { return main_; }
  DWORD ProcessId() const { return pid_; }

  // WM_COMMAND with the id, posted: returns at once (for commands that open a dialog).
  void PostCommand(int id) const;
  // WM_COMMAND with the id, sent: returns when the command is done.
  void SendCommand(int id) const;
  // Returns once the program has handled everything sent to it so far (WM_NULL round trip).
  void Sync() const;

  // A visible top-level window of the program with this title (and class, "#32770" for
  // dialogs by default), owned by nothing in particular.
  HWND WaitForDialog(const std::wstring& title, const std::wstring& className = L"#32770",
                     DWORD timeoutMs = 15000) const;
  std::optional<HWND> FindTopLevel(const std::wstring& title, const std::wstring& className) const;
  void WaitGone(HWND window, DWORD timeoutMs = 10000) const;
  // Waits for the program to end; its exit code. Fails the scenario on timeout.
  DWORD WaitForExit(DWORD timeoutMs = 15000);
  bool Running() const;

 private:
  Context& ctx_;
  std::wstring dir_;
  std::wstring exe_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

// ------------------------------------------------------------------ controls and windows

HWND Item(HWND parent, int id);                 // fails the scenario when missing
std::wstring GetText(HWND window);              // WM_GETTEXT
void SetText(HWND window, const std::wstring&);  // WM_SETTEXT
std::wstring ClassOf(HWND window);
LONG StyleOf(HWND window);
LONG ExStyleOf(HWND window);
RECT ClientRectIn(HWND child, HWND parent);     // the child's window rectangle in parent's client coordinates
SIZE OuterSize(HWND window);
// BM_CLICK sent to the button `id` of `parent`: returns when the click has been handled.
// Use PostClick for a button that opens a modal window.
void Click(HWND parent, int id);
void PostClick(HWND parent, int id);
bool IsChecked(HWND parent, int id);
// A key press posted to `target` (WM_KEYDOWN/UP; WM_SYSKEYDOWN/UP with Alt).
void PostKey(HWND target, UINT vk, bool alt = false);
// Polls `condition` every 20 ms; fails the scenario with `what` when it stays false.
void WaitUntil(const std::function<bool()>& condition, const std::string& what, DWORD timeoutMs = 10000);

// UTF-8 <-> UTF-16 for messages and literals.
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

}  // namespace guitest
