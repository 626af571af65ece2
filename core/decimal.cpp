#include "decimal.h"

#include <cmath>
#include <cstdint>
#include <new>

namespace talvoric {

double ParseDecimal(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return 0.0;
  const double sign = text[0] == '-' ? -1.0 : 1.0;
  double value = 0.0;
  double p = 1.0;
  bool fraction = false;
  for (const char c : text) {
    if (c == '.') {
      fraction = true;
    } else if (c >= '0' && c <= '9') {
      const double d = c - '0';
      if (fraction) {
        p = p * 10.0;
        value = value + d / p;
      } else {
        value = value * 10.0 + d;
      }
    }
  }
  return value * sign;
}

std::optional<std::string> FormatDecimal(double x) {
  try {
    std::string text;
    double a = x;
    if (x < 0) {
      text.push_back('-');
      a = -x;
    }
    const std::int32_t n = static_cast<std::int32_t>(a);  // truncation toward zero
    text += std::to_string(n);
    char digits[10];
    double r = a - n;
    for (char& digit : digits) {
      const double t = r * 10.0;
      const int d = static_cast<int>(t);
      digit = static_cast<char>('0' + d);
      r = t - d;
    }
    int keep = 10;
    while (keep > 0 && digits[keep - 1] == '0') --keep;
    if (keep > 0) {
      text.push_back('.');
      text.append(digits, static_cast<std::size_t>(keep));
    }
    return text;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

CountValue ClassifyCount(double x) {
  if (x >= 65536.0) return {CountRange::Above, 0};
  if (!(x >= 1.0)) return {CountRange::Below, 0};
  return {CountRange::Within, static_cast<int>(x)};
}

int ClampCount(double x) {
  const CountValue c = ClassifyCount(x);
  switch (c.range) {
    case CountRange::Above: return kMaxCount;
    case CountRange::Below: return 1;
    case CountRange::Within: break;
  }
  return c.value;
}

}  // namespace talvoric
