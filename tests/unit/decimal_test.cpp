#include "decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace talvoric {
namespace {

TEST(Decimal, FormatTable) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0, "0"},          {16, "16"},       {65536, "65536"},
      {-3, "-3"},        {2.5, "2.5"},     {-0.25, "-0.25"},
      {12.375, "12.375"}, {1.0 / 3, "0.3333333333"}, {2.3, "2.2999999999"},
      {0.00000000001, "0"}, {0.1, "0.1"},  {-0.0, "0"},
      {2147483647.0, "2147483647"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(*FormatDecimal(x), text) << x;
}

TEST(Decimal, FormatOfEveryCountIsItsPlainDigits) {
  for (int n = 0; n <= 65536; ++n) {
    ASSERT_EQ(*FormatDecimal(n), std::to_string(n));
  }
}

TEST(Decimal, ParseTable) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"", 0},     {"16", 16},   {"0016", 16}, {"-5", -5},    {"--5", -5},
      {"5-", 5},   {" -5", 5},   {"+7", 7},    {"1.5", 1.5},  {".5", 0.5},
      {"12.", 12}, {"1.2.3", 1.23}, {"1a2", 12}, {"1 000", 1000}, {"1e3", 13},
      {"12\r\n", 12}, {"12\n", 12}, {"abc", 0}, {std::string("7\0" "9", 3), 7},
      {"\x82\x4f" "5", 5},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(ParseDecimal(text), value) << text;
  const double minusZero = ParseDecimal("-");
  EXPECT_EQ(minusZero, 0.0);
  EXPECT_TRUE(std::signbit(minusZero));
}

TEST(Decimal, ParseKeepsLongFractionsFiniteAndClose) {
  const double nearFive = ParseDecimal("4.99999999999");
  EXPECT_LT(nearFive, 5.0);
  EXPECT_EQ(ClampCount(nearFive), 4);
  const double forty = ParseDecimal("1." + std::string(40, '3'));
  EXPECT_TRUE(std::isfinite(forty));
  EXPECT_NEAR(forty, 4.0 / 3.0, 1e-12);
  EXPECT_TRUE(std::isinf(ParseDecimal(std::string(400, '9'))));
}

TEST(Decimal, CountRule) {
  struct Case {
    std::string text;
    CountRange range;
    int clamped;
  };
  const std::vector<Case> cases = {
      {"16", CountRange::Within, 16},     {"3.9", CountRange::Within, 3},
      {"65535", CountRange::Within, 65535}, {"65535.99", CountRange::Within, 65535},
      {"65536", CountRange::Above, 65535}, {"70000", CountRange::Above, 65535},
      {"99999999999", CountRange::Above, 65535}, {std::string(1000, '9'), CountRange::Above, 65535},
      {"5000000000", CountRange::Above, 65535},
      {"0.5", CountRange::Below, 1},      {"0", CountRange::Below, 1},
      {"-", CountRange::Below, 1},        {"-5", CountRange::Below, 1},
      {"", CountRange::Below, 1},         {"1", CountRange::Within, 1},
  };
  for (const Case& c : cases) {
    const double x = ParseDecimal(c.text);
    EXPECT_EQ(ClassifyCount(x).range, c.range) << c.text;
    EXPECT_EQ(ClampCount(x), c.clamped) << c.text;
  }
}

TEST(Decimal, WholeNumbersRoundTrip) {
  for (double x : {0.0, 1.0, 16.0, 65535.0, 65536.0, 123456789.0, -42.0, 2147483647.0}) {
    EXPECT_EQ(ParseDecimal(*FormatDecimal(x)), x);
  }
}

}  // namespace
}  // namespace talvoric
