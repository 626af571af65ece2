// Decimal text both ways. Any text parses without a crash to a value that depends only on
// its meaningful bytes; whole numbers survive FormatDecimal and ParseDecimal unchanged;
// every formatted text has the documented shape; the count rule stays in range.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "decimal.h"
#include "fuzz_support.h"

using namespace talvoric;

namespace {

// Digits with no leading zero (a lone 0 apart), then optionally "." and one to ten
// digits that do not end in 0; an optional minus sign first.
bool WellFormed(const std::string& t) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t intStart = i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  const std::size_t intLen = i - intStart;
  if (intLen == 0 || (intLen > 1 && t[intStart] == '0')) return false;
  if (i == t.size()) return true;
  if (t[i] != '.') return false;
  ++i;
  const std::size_t fracLen = t.size() - i;
  if (fracLen < 1 || fracLen > 10 || t.back() == '0') return false;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

void CheckCountRule(double x) {
  const CountValue c = ClassifyCount(x);
  const int clamped = ClampCount(x);
  FUZZ_CHECK(clamped >= 1 && clamped <= kMaxCount);
  if (x >= 65536.0) {
    FUZZ_CHECK(c.range == CountRange::Above && clamped == kMaxCount);
  } else if (x < 1.0) {
    FUZZ_CHECK(c.range == CountRange::Below && clamped == 1);
  } else {
    FUZZ_CHECK(c.range == CountRange::Within && c.value == static_cast<int>(std::trunc(x)));
    FUZZ_CHECK(clamped == c.value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Any text: a real number (never NaN), the same after dropping the ignored bytes.
  const double x = ParseDecimal(text);
  FUZZ_CHECK(!std::isnan(x));
  {
    const std::string_view content = text.substr(0, text.find('\0'));
    std::string meaningful = !content.empty() && content[0] == '-' ? "-" : "+";
    for (const char c : content) {
      if ((c >= '0' && c <= '9') || c == '.') meaningful.push_back(c);
    }
    const double y = ParseDecimal(meaningful);
    FUZZ_CHECK(std::memcmp(&x, &y, sizeof x) == 0 || (x == 0 && y == 0));
    if (content.empty() || content[0] != '-') FUZZ_CHECK(!std::signbit(x));
  }
  CheckCountRule(x);

  // Whole numbers from the input: plain digits, and back to the same value.
  if (size >= 4) {
    std::int32_t n;
    std::memcpy(&n, data, sizeof n);
    if (n != INT32_MIN) {
      const std::optional<std::string> t = FormatDecimal(static_cast<double>(n));
      FUZZ_CHECK(t && *t == std::to_string(n));
      FUZZ_CHECK(ParseDecimal(*t) == static_cast<double>(n));
    }
  }

  // Any real below 2^31 in magnitude: the documented shape, and close to the value.
  if (size >= 8) {
    double r;
    std::memcpy(&r, data + size - 8, sizeof r);
    if (std::isfinite(r) && std::fabs(r) < 2147483648.0) {
      const std::optional<std::string> t = FormatDecimal(r);
      FUZZ_CHECK(t && WellFormed(*t));
      const double back = ParseDecimal(*t);
      // Cut after ten places: below by less than 1e-10, plus the parse's own rounding.
      FUZZ_CHECK(std::fabs(back - r) <= 1e-10 + std::fabs(r) * 1e-14);
      CheckCountRule(r);
    }
  }
  return 0;
}
