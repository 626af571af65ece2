// The driver's machinery: the scenario registry, checks, the program under test, and
// the window helpers. main() runs every registered scenario (or those whose names
// contain one of the arguments after the first two) and exits non-zero on any failure.
#include "gui_test.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace guitest {
namespace {

struct Registry {
  std::vector<std::pair<std::string, ScenarioFunction>> scenarios;
  int failuresInScenario = 0;
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}

std::wstring JoinPath(const std::wstring& a, const std::wstring& b) {
  if (!a.empty() && (a.back() == L'\\' || a.back() == L'/')) return a + b;
  return a + L"\\" + b;
}

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  const HANDLE h = FindFirstFileW(JoinPath(dir, L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = JoinPath(dir, name);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

void MakeDirs(const std::wstring& dir) {
  for (std::size_t i = 3; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == L'\\') CreateDirectoryW(dir.substr(0, i).c_str(), nullptr);
  }
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = bytes.empty() || ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

struct TopLevelSearch {
  DWORD pid;
  const std::wstring* title;
  const std::wstring* className;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<TopLevelSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  if (ClassOf(w) != *s->className || GetText(w) != *s->title) return TRUE;
  s->found = w;
  return FALSE;
}

void WriteBmp(const std::wstring& path, HBITMAP bitmap, HDC dc, int width, int height) {
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
  WriteWholeFile(path, bytes);
}

}  // namespace

ScenarioRegistrar::ScenarioRegistrar(const char* name, ScenarioFunction function) {
  TheRegistry().scenarios.emplace_back(name, function);
}

void RecordFailure(const char* file, int line, const std::string& message) {
  const char* base = file;
  for (const char* p = file; *p; ++p) {
    if (*p == '/' || *p == '\\') base = p + 1;
  }
  std::printf("  %s:%d: %s\n", base, line, message.c_str());
  std::fflush(stdout);
  ++TheRegistry().failuresInScenario;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Describe(const std::string& bytes) {
  std::string out = "\"";
  const std::size_t shown = std::min<std::size_t>(bytes.size(), 200);
  for (std::size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  out += "\"";
  if (shown < bytes.size()) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

std::string Describe(const std::wstring& text) {
  std::string out = "L\"" + Utf8(text.substr(0, 200)) + "\"";
  if (text.size() > 200) out += "... (" + std::to_string(text.size()) + " units)";
  return out;
}

std::string Describe(long long value) { return std::to_string(value); }
std::string Describe(unsigned long long value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llu (0x%llX)", value, value);
  return buf;
}

namespace {
// Lets a window finish painting before it is copied from the screen.
void LetPaint(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}
}  // namespace

void Context::Screenshot(HWND window, const std::string& name) {
  LetPaint(window);
  Sleep(300);
  RECT r;
  if (!GetWindowRect(window, &r)) {
    RecordFailure(__FILE__, __LINE__, "screenshot " + name + ": no window");
    return;
  }
  SaveScreenArea(r, name);
}

void Context::ScreenshotArea(HWND first, HWND second, const std::string& name) {
  LetPaint(first);
  Sleep(300);
  RECT a, b, u;
  if (!GetWindowRect(first, &a) || !GetWindowRect(second, &b)) {
    RecordFailure(__FILE__, __LINE__, "screenshot " + name + ": no window");
    return;
  }
  UnionRect(&u, &a, &b);
  SaveScreenArea(u, name);
}

void Context::SaveScreenArea(const RECT& r, const std::string& name) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const std::wstring dir = JoinPath(outDir_, L"screenshots");
  MakeDirs(dir);
  WriteBmp(JoinPath(dir, Wide(name) + L".bmp"), bitmap, memory, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// ------------------------------------------------------------------ App

App::App(Context& ctx, const std::string& name) : ctx_(ctx) {
  dir_ = JoinPath(JoinPath(ctx.OutDir(), L"work"), Wide(name));
  RemoveTree(dir_);
  MakeDirs(dir_);
  exe_ = JoinPath(dir_, L"talvoric.exe");
  if (!CopyFileW(ctx.Program().c_str(), exe_.c_str(), FALSE)) {
    RecordFailure(__FILE__, __LINE__, "cannot copy " + Utf8(ctx.Program()) + " to " + Utf8(exe_));
    throw ScenarioAbort{};
  }
}

App::~App() {
  if (process_ != nullptr) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
  }
}

void App::Launch() {
  // The program's standard handles go nowhere: a failed read writes an alert byte there.
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi = {};
  std::wstring commandLine = L"\"" + exe_ + L"\"";
  const BOOL started =
      CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, dir_.c_str(), &si, &pi);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!started) {
    RecordFailure(__FILE__, __LINE__, "cannot start " + Utf8(exe_));
    throw ScenarioAbort{};
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  WaitForInputIdle(process_, 20000);
  WaitUntil([this] {
    const auto w = FindTopLevel(L"TALVORIC", L"MAINWINDOW_MENU");
    if (w) main_ = *w;
    return w.has_value() && IsWindowVisible(main_);
  }, "main window of " + Utf8(exe_), 30000);
  Sync();
}

std::wstring App::PathOf(const std::string& fileName) const { return JoinPath(dir_, Wide(fileName)); }

std::string App::AnsiPathOf(const std::string& fileName) const {
  const std::wstring w = PathOf(fileName);
  const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n) - 1);
  return out;
}

void App::WriteFile(const std::string& fileName, const std::string& bytes) const {
  if (!WriteWholeFile(PathOf(fileName), bytes)) {
    RecordFailure(__FILE__, __LINE__, "cannot write " + fileName);
    throw ScenarioAbort{};
  }
}

std::optional<std::string> App::ReadFile(const std::string& fileName) const {
  return ReadWholeFile(PathOf(fileName));
}

void App::RemoveFile(const std::string& fileName) const { DeleteFileW(PathOf(fileName).c_str()); }

void App::PostCommand(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void App::SendCommand(int id) const {
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 60000, &ignored)) {
    RecordFailure(__FILE__, __LINE__, "command " + std::to_string(id) + " did not return");
    throw ScenarioAbort{};
  }
}

void App::Sync() const {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

std::optional<HWND> App::FindTopLevel(const std::wstring& title, const std::wstring& className) const {
  TopLevelSearch search{pid_, &title, &className, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return std::nullopt;
  return search.found;
}

HWND App::WaitForDialog(const std::wstring& title, const std::wstring& className, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil([&] {
    const auto w = FindTopLevel(title, className);
    if (w) found = *w;
    return w.has_value();
  }, "window " + Utf8(title), timeoutMs);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  return found;
}

void App::WaitGone(HWND window, DWORD timeoutMs) const {
  WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, "window to close", timeoutMs);
}

DWORD App::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
    RecordFailure(__FILE__, __LINE__, "program did not end");
    throw ScenarioAbort{};
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

bool App::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

// ------------------------------------------------------------------ windows

HWND Item(HWND parent, int id) {
  const HWND w = GetDlgItem(parent, id);
  if (w == nullptr) {
    RecordFailure(__FILE__, __LINE__, "no control with id " + std::to_string(id));
    throw ScenarioAbort{};
  }
  return w;
}

std::wstring GetText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000, &copied);
  text.resize(copied);
  return text;
}

void SetText(HWND window, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &ignored);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG ExStyleOf(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

RECT ClientRectIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE OuterSize(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void Click(HWND parent, int id) {
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(Item(parent, id), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &ignored)) {
    RecordFailure(__FILE__, __LINE__, "click on " + std::to_string(id) + " did not return");
    throw ScenarioAbort{};
  }
}

void PostClick(HWND parent, int id) { PostMessageW(Item(parent, id), BM_CLICK, 0, 0); }

bool IsChecked(HWND parent, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(Item(parent, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state);
  return state == BST_CHECKED;
}

void PostKey(HWND target, UINT vk, bool alt) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (1L << 30) | (1L << 31);
  if (alt) {
    down |= 1L << 29;
    up |= 1L << 29;
  }
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, down);
  PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, up);
}

void WaitUntil(const std::function<bool()>& condition, const std::string& what, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) {
      RecordFailure(__FILE__, __LINE__, "timed out waiting for " + what);
      throw ScenarioAbort{};
    }
    Sleep(20);
  }
}

}  // namespace guitest

int wmain(int argc, wchar_t** argv) {
  using namespace guitest;
  if (argc < 3) {
    std::fprintf(stderr, "usage: talvoric_gui_driver TALVORIC_EXE OUT_DIR [SCENARIO_NAME_PART...]\n");
    return 2;
  }
  Context ctx(argv[1], argv[2]);
  std::vector<std::string> filters;
  for (int i = 3; i < argc; ++i) filters.push_back(Utf8(argv[i]));
  int failed = 0, run = 0;
  for (const auto& [name, function] : TheRegistry().scenarios) {
    if (!filters.empty() && std::none_of(filters.begin(), filters.end(),
                                         [&](const std::string& f) { return name.find(f) != std::string::npos; })) {
      continue;
    }
    ++run;
    std::printf("[ RUN      ] %s\n", name.c_str());
    std::fflush(stdout);
    TheRegistry().failuresInScenario = 0;
    const DWORD start = GetTickCount();
    try {
      function(ctx);
    } catch (const ScenarioAbort&) {
      if (TheRegistry().failuresInScenario == 0) ++TheRegistry().failuresInScenario;
    }
    const bool ok = TheRegistry().failuresInScenario == 0;
    if (!ok) ++failed;
    std::printf("[ %s ] %s (%lu ms)\n", ok ? "      OK" : " FAILED ", name.c_str(),
                static_cast<unsigned long>(GetTickCount() - start));
    std::fflush(stdout);
  }
  std::printf("%d of %d scenarios passed\n", run - failed, run);
  return failed == 0 && run > 0 ? 0 : 1;
}
