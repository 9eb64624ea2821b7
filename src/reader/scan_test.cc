#include "reader/scan.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <system_error>

namespace {

TEST(Scan, IntegersWrapModulo2To32) {
  struct {
    std::string text;
    bool hex;
    bool ok;
    int32_t value;
    size_t end;
  } cases[] = {
      {"5", false, true, 5, 1},
      {"  +12x", false, true, 12, 5},
      {"-7 ", false, true, -7, 2},
      {"4294967301", false, true, 5, 10},
      {"-2147483648", false, true, std::numeric_limits<int32_t>::min(), 11},
      {"2147483648", false, true, std::numeric_limits<int32_t>::min(), 10},
      {"99999999999999999999", false, true, 1661992959, 20},
      {"-", false, false, 0, 0},
      {"x1", false, false, 0, 0},
      {std::string("\0" "1", 2), false, false, 0, 0},  // NUL is no space
      {"ffffffff", true, true, -1, 8},
      {"1f", true, true, 31, 2},
      {"0x1F", true, true, 31, 4},
      {"Aa09fF", true, true, 0xaa09ff, 6},  // the first and last of each kind
      {"-1", true, true, -1, 2},
      {"0x", true, true, 0, 1},
      {"100000010", true, true, 16, 9},
      {"g", true, false, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t v = 0;
    size_t pos = 0;
    bool ok = c.hex ? reader::scan::ParseHex(c.text, &pos, &v)
                    : reader::scan::ParseInt(c.text, &pos, &v);
    EXPECT_EQ(ok, c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(pos, c.end) << c.text;
  }
}

// Where the value of a plain decimal is exact is left to the properties
// below; these pin how far a text is read and what it reads as.
TEST(Scan, RealsAreDecimalOrInfOrNan) {
  const double inf = std::numeric_limits<double>::infinity();
  struct {
    std::string text;
    bool ok;
    double value;
    size_t end;
  } cases[] = {
      {"10", true, 10.0, 2},
      {" -2.5e3,", true, -2500.0, 7},
      {".5", true, 0.5, 2},
      {"5.", true, 5.0, 2},
      {"1e", true, 1.0, 1},
      {"1e+", true, 1.0, 1},
      {"0x10", true, 0.0, 1},  // no hexadecimal reals
      {"+3", true, 3.0, 2},
      {"-00.0625e1", true, -0.625, 10},
      {"12345678901234567890123", true, 12345678901234567890123.0, 23},
      {"1e22", true, 1e22, 4},
      {"1e23", true, 1e23, 4},
      {"9007199254740993", true, 9007199254740992.0, 16},
      {"1e400", true, inf, 5},
      {"-1e400", true, -inf, 6},
      {"1e-400", true, 0.0, 6},
      {"0.000001e-320", true, 0.0, 13},
      {"inf", true, inf, 3},
      {"-Infinity", true, -inf, 9},
      {"INFINITE", true, inf, 3},
      {".", false, 0.0, 0},
      {"e5", false, 0.0, 0},
      {"", false, 0.0, 0},
  };
  for (const auto& c : cases) {
    double v = 0.0;
    size_t pos = 0;
    EXPECT_EQ(reader::scan::ParseReal(c.text, &pos, &v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(pos, c.end) << c.text;
  }
  double nan = 0.0;
  size_t pos = 0;
  EXPECT_TRUE(reader::scan::ParseReal("NaN", &pos, &nan));
  EXPECT_TRUE(std::isnan(nan));
}

TEST(Scan, RealsRoundCorrectly) {
  // Against std::from_chars, which rounds correctly: in turn, random
  // decimals of the forms the host writes and of every length around the
  // exact fast path; and long mantissas with exponents up to and past the
  // ends of the doubles' range, where fast_float does the reading, and
  // which read as infinity or zero where from_chars finds them out of range.
  std::mt19937_64 rng(42);
  for (int trial = 0; trial < 400000; ++trial) {
    std::string text;
    if (trial % 2 == 0) {
      const int int_digits = static_cast<int>(rng() % 12);
      const int frac_digits = static_cast<int>(rng() % 14);
      for (int k = 0; k < int_digits; ++k) text += static_cast<char>('0' + rng() % 10);
      if (frac_digits > 0 || int_digits == 0) {
        text += '.';
        for (int k = 0; k < frac_digits + (int_digits == 0); ++k) {
          text += static_cast<char>('0' + rng() % 10);
        }
      }
      if (rng() % 4 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 60) - 30);
    } else {
      const int digits = 1 + static_cast<int>(rng() % 30);
      for (int k = 0; k < digits; ++k) text += static_cast<char>('0' + rng() % 10);
      if (rng() % 2 == 0) text.insert(rng() % text.size(), ".");
      text += "e" + std::to_string(static_cast<int>(rng() % 700) - 350);
    }
    double mine = 0.0, theirs = 0.0;
    size_t pos = 0;
    ASSERT_TRUE(reader::scan::ParseReal(text, &pos, &mine)) << text;
    ASSERT_EQ(pos, text.size()) << text;
    std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), theirs);
    if (r.ec == std::errc::result_out_of_range) {
      ASSERT_TRUE(mine == 0.0 || std::isinf(mine)) << text;
    } else {
      ASSERT_EQ(mine, theirs) << text;
    }
  }
}

TEST(Scan, StopsAtTheFirstFieldThatDoesNotConvert) {
  double a = -1, b = -1, c = -1;
  int32_t n = -1;
  // Commas are no white space: only the first value converts.
  EXPECT_EQ(reader::scan::Scan("cn0 2.5, 3, 0.5, 1", 3, "%lf %lf %lf %d",
                       {&a, &b, &c, &n}),
            1);
  EXPECT_EQ(a, 2.5);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(n, -1);
  // A start past the end of the line reads nothing.
  EXPECT_EQ(reader::scan::Scan("hp", 3, "%lf %lf", {&a, &b}), 0);
  // A literal must match exactly.
  int32_t k = 0;
  EXPECT_EQ(reader::scan::Scan("12- 7", 0, "%d-", {&k}), 1);
  EXPECT_EQ(k, 12);
}

TEST(Scan, TextWordIsCutToItsField) {
  double x = 0, y = 0, dx = 0, dy = 0;
  char word[128] = "old";
  std::string line = "ch 1 2 3 4 \"" + std::string(200, 'w') + " tail\n";
  EXPECT_EQ(reader::scan::Scan(line, 2, "%lf %lf %lf %lf \"%s",
                       {&x, &y, &dx, &dy, reader::scan::Target(word, sizeof word)}),
            5);
  EXPECT_EQ(std::string(word), std::string(127, 'w'));
  // Without the quote the word keeps its value.
  char kept[128] = "kept";
  reader::scan::Scan("ch 1 2 3 4 text\n", 2, "%lf %lf %lf %lf \"%s",
             {&x, &y, &dx, &dy, reader::scan::Target(kept, sizeof kept)});
  EXPECT_STREQ(kept, "kept");
}

}  // namespace
