// Conversions between real numbers and decimal text, and the count rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvoric {

// Never fails: digits, at most one meaningful full stop, and a leading minus sign
// count; every other byte is passed over. The text ends at its first zero byte.
double ParseDecimal(std::string_view text);

// Up to ten fractional digits, cut without rounding, trailing zeros removed.
// |x| must be below 2^31. None only when memory runs out.
std::optional<std::string> FormatDecimal(double x);

// The count rule: where a parsed value falls against the range 1..65535.
enum class CountRange { Below, Within, Above };
struct CountValue {
  CountRange range;
  int value;  // the truncated value when Within, otherwise 0
};
CountValue ClassifyCount(double x);

// The count rule as generation and the settings dialog apply it: 1 below, 65535 above.
int ClampCount(double x);

inline constexpr int kMaxCount = 65535;

}  // namespace talvoric
