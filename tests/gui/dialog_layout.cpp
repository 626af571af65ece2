#include "dialog_layout.h"

#include <cstring>
#include <cwctype>

namespace guitest {
namespace {

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

// A reader of the classic DLGTEMPLATE layout.
class TemplateReader {
 public:
  TemplateReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  bool Ok() const { return ok_; }
  WORD Word() {
    WORD w = 0;
    Copy(&w, 2);
    return w;
  }
  DWORD Dword() {
    DWORD d = 0;
    Copy(&d, 4);
    return d;
  }
  short Short() { return static_cast<short>(Word()); }
  std::wstring String() {
    std::wstring s;
    for (WORD w = Word(); ok_ && w != 0; w = Word()) s += static_cast<wchar_t>(w);
    return s;
  }
  // A string, or 0xFFFF and an ordinal (given back as "#n").
  std::wstring StringOrOrdinal() {
    const WORD first = Word();
    if (first == 0) return L"";
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    std::wstring s(1, static_cast<wchar_t>(first));
    return s + String();
  }
  void AlignDword() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  void Skip(std::size_t n) { pos_ += n; }

 private:
  void Copy(void* out, std::size_t n) {
    if (pos_ + n > size_) {
      ok_ = false;
      return;
    }
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
  }
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

std::wstring ClassFromTemplate(const std::wstring& c) {
  if (c == L"#128") return L"Button";
  if (c == L"#129") return L"Edit";
  if (c == L"#130") return L"Static";
  return c;
}

// The base units are not readable from another process; find those that map the
// dialog's client size exactly (x = MulDiv(units, base, 4), y = MulDiv(units, base, 8)),
// and a control's size too.
std::optional<int> BaseUnit(int pixels, int units, int divisor, int controlPixels, int controlUnits) {
  for (int base = 1; base < 64; ++base) {
    if (MulDiv(units, base, divisor) == pixels && MulDiv(controlUnits, base, divisor) == controlPixels) return base;
  }
  return std::nullopt;
}

}  // namespace

void CheckDialogTemplate(const std::wstring& program, const wchar_t* name, const ExpectedDialog& expected) {
  const std::string what = "template " + Utf8(name);
  const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  REQUIRE(module != nullptr);
  const HRSRC found = FindResourceExW(module, RT_DIALOG, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  CHECK_EQ_MSG(found != nullptr, true, what + " with language 1033");
  if (found == nullptr) {
    FreeLibrary(module);
    return;
  }
  TemplateReader r(static_cast<const unsigned char*>(LockResource(LoadResource(module, found))),
                   SizeofResource(module, found));
  CHECK_EQ_MSG(static_cast<unsigned long>(r.Dword()), expected.style, what + " style");
  CHECK_EQ_MSG(static_cast<unsigned long>(r.Dword()), 0ul, what + " extended style");
  const int count = r.Word();
  CHECK_EQ_MSG(count, static_cast<int>(expected.controls.size()), what + " number of controls");
  CHECK_EQ_MSG(r.Short(), short{0}, what + " x");
  CHECK_EQ_MSG(r.Short(), short{0}, what + " y");
  CHECK_EQ_MSG(static_cast<int>(r.Short()), expected.width, what + " width");
  CHECK_EQ_MSG(static_cast<int>(r.Short()), expected.height, what + " height");
  CHECK_EQ_MSG(r.StringOrOrdinal(), std::wstring(), what + " menu");
  CHECK_EQ_MSG(r.StringOrOrdinal(), std::wstring(), what + " class");
  CHECK_EQ_MSG(r.String(), expected.caption, what + " caption");
  CHECK_EQ_MSG(static_cast<int>(r.Word()), expected.fontPoints, what + " font size");
  CHECK_EQ_MSG(r.String(), expected.fontName, what + " font");
  for (int i = 0; i < count && i < static_cast<int>(expected.controls.size()) && r.Ok(); ++i) {
    const ExpectedControl& e = expected.controls[static_cast<std::size_t>(i)];
    const std::string item = what + " control " + std::to_string(i + 1) + " (" + Utf8(e.text) + ")";
    r.AlignDword();
    CHECK_EQ_MSG(static_cast<unsigned long>(r.Dword()), e.style, item + " style");
    CHECK_EQ_MSG(static_cast<unsigned long>(r.Dword()), 0ul, item + " extended style");
    const int x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
    auto rect = [](int a, int b, int c, int d) {
      return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
    };
    CHECK_EQ_MSG(rect(x, y, cx, cy), rect(e.x, e.y, e.width, e.height), item + " rectangle");
    CHECK_EQ_MSG(static_cast<int>(r.Word()), e.id, item + " id");
    CHECK_EQ_MSG(SameTextIgnoringCase(ClassFromTemplate(r.StringOrOrdinal()), e.className), true, item + " class");
    CHECK_EQ_MSG(r.StringOrOrdinal(), e.text, item + " text");
    r.Skip(r.Word());  // creation data
  }
  CHECK_EQ_MSG(r.Ok(), true, what + " is complete");
  FreeLibrary(module);
}

void CheckLiveDialog(HWND dialog, const ExpectedDialog& expected, const std::string& what) {
  CHECK_EQ_MSG(GetText(dialog), expected.caption, what + " caption");
  const unsigned long added = WS_VISIBLE | DS_3DLOOK | WS_CLIPSIBLINGS;
  CHECK_EQ_MSG(static_cast<unsigned long>(StyleOf(dialog)) & ~added, expected.style, what + " style");

  std::vector<HWND> children;
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  const auto& controls = expected.controls;
  CHECK_EQ_MSG(children.size(), controls.size(), what + ": number of controls");
  REQUIRE(!children.empty() && !controls.empty());

  RECT client;
  GetClientRect(dialog, &client);
  const ExpectedControl& last = controls.back();
  const RECT lastRect = ClientRectIn(children.back(), dialog);
  const auto bx = BaseUnit(client.right, expected.width, 4, lastRect.right - lastRect.left, last.width);
  const auto by = BaseUnit(client.bottom, expected.height, 8, lastRect.bottom - lastRect.top, last.height);
  CHECK_EQ_MSG(bx.has_value() && by.has_value(), true,
               what + ": client size " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
                   " is not " + std::to_string(expected.width) + "x" + std::to_string(expected.height) +
                   " dialog units");
  if (!bx || !by) return;

  for (std::size_t i = 0; i < children.size() && i < controls.size(); ++i) {
    const ExpectedControl& e = controls[i];
    const HWND h = children[i];
    const std::string name = what + " control " + std::to_string(i + 1) + " (" + Utf8(e.text) + ")";
    const bool isIcon = (e.style & SS_TYPEMASK) == SS_ICON && SameTextIgnoringCase(e.className, L"Static");
    CHECK_EQ_MSG(SameTextIgnoringCase(ClassOf(h), e.className), true, name + " class " + Utf8(ClassOf(h)));
    CHECK_EQ_MSG(static_cast<int>(static_cast<WORD>(GetDlgCtrlID(h))), e.id, name + " id");
    if (!isIcon) CHECK_EQ_MSG(GetText(h), e.text, name + " text");

    unsigned long style = static_cast<unsigned long>(StyleOf(h));
    unsigned long want = e.style;
    if (SameTextIgnoringCase(e.className, L"Edit") && (want & WS_BORDER) && (ExStyleOf(h) & WS_EX_CLIENTEDGE)) {
      style |= WS_BORDER;
    }
    const unsigned long buttonType = want & BS_TYPEMASK;
    if (SameTextIgnoringCase(e.className, L"Button") && (buttonType == BS_PUSHBUTTON || buttonType == BS_DEFPUSHBUTTON)) {
      style &= ~static_cast<unsigned long>(BS_DEFPUSHBUTTON);
      want &= ~static_cast<unsigned long>(BS_DEFPUSHBUTTON);
    }
    CHECK_EQ_MSG(style, want, name + " style");

    const RECT r = ClientRectIn(h, dialog);
    CHECK_EQ_MSG(r.left, static_cast<LONG>(MulDiv(e.x, *bx, 4)), name + " x");
    CHECK_EQ_MSG(r.top, static_cast<LONG>(MulDiv(e.y, *by, 8)), name + " y");
    if (!isIcon) {
      CHECK_EQ_MSG(r.right - r.left, static_cast<LONG>(MulDiv(e.width, *bx, 4)), name + " width");
      CHECK_EQ_MSG(r.bottom - r.top, static_cast<LONG>(MulDiv(e.height, *by, 8)), name + " height");
    }
  }
}

}  // namespace guitest
