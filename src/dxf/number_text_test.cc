#include "dxf/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <system_error>

#include "dxf/tag_writer.h"

namespace dxf {
namespace {

/// What FormatCoordinate wrote when it was std::to_chars in fixed form with
/// the fewest digits, and ".0" where that has no point.
std::string ToCharsCoordinate(double value) {
  if (value == 0.0) return "0.0";
  char buffer[400];
  std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, written.ptr);
  if (text.find_first_of(".ni") == std::string::npos) text += ".0";
  return text;
}

double FromBits(uint64_t bits) {
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST(NumberText, CoordinatesAgreeWithToCharsEverywhere) {
  // Random bit patterns cover every magnitude from the subnormals to 1e308;
  // the other half of the trials are drawing-sized values and integers
  // around 2^53, where the exact value and the shortest digits part ways.
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> drawing(-1e6, 1e6);
  for (int trial = 0; trial < 300000; ++trial) {
    double v = 0.0;
    switch (trial % 4) {
      case 0: v = FromBits(rng()); break;
      case 1: v = drawing(rng); break;
      case 2: v = std::round(drawing(rng) * 1000) / 1000; break;
      default: v = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 40)); break;
    }
    if (std::isnan(v)) continue;
    ASSERT_EQ(FormatCoordinate(v), ToCharsCoordinate(v)) << v;
  }
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatCoordinate(infinity), ToCharsCoordinate(infinity));
  EXPECT_EQ(FormatCoordinate(-infinity), ToCharsCoordinate(-infinity));
  // Zeros of either sign; 1e23 and 2^53 + 1, whose exact values are
  // shorter than their shortest digits followed by zeros; where the digits
  // are cut into halves of 8 (whole numbers of 8, 9 and 16 digits, the
  // largest below 2^53); 17 digits with the point after the first or the
  // 16th; 17 decimals after "0." and more.
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0.0"}, {-0.0, "0.0"}, {10.0, "10.0"}, {1e23, "99999999999999991611392.0"},
      {9007199254740993.0, "9007199254740992.0"}, {9007199254740991.0, "9007199254740991.0"},
      {-99999999.0, "-99999999.0"}, {100000000.0, "100000000.0"},
      {1.0000000000000002, "1.0000000000000002"}, {-12345678.901234567, "-12345678.901234567"},
      {4503599627370495.5, "4503599627370495.5"}, {0.9999999999999999, "0.9999999999999999"},
      {0.30000000000000004, "0.30000000000000004"}, {-1e-17, "-0.00000000000000001"},
      {2.5e-18, "0.0000000000000000025"}, {1.5e-7, "0.00000015"}};
  for (const auto& c : cases) EXPECT_EQ(FormatCoordinate(c.value), c.text);
}

TEST(NumberText, CoordinateTagsAreLaidOutAsTheFileIs) {
  // Group codes of one to four digits, padded to three columns or not, and
  // either line end.
  const struct {
    bool padded;
    const char* line_end;
    int code;
    double value;
    const char* text;
  } cases[] = {{true, "\n", 10, -1.5, " 10\n-1.5\n"},
               {true, "\r\n", 0, 100.0, "  0\r\n100.0\r\n"},
               {true, "\n", 330, 0.25, "330\n0.25\n"},
               {true, "\r\n", 1010, 12345.678901234567, "1010\r\n12345.678901234567\r\n"},
               {false, "\r\n", 5, 0.1, "5\r\n0.1\r\n"},
               {false, "\n", 42, -0.001953125, "42\n-0.001953125\n"},
               {false, "\n", 1020, 3.0, "1020\n3.0\n"}};
  for (const auto& c : cases) {
    TagLayout layout;
    layout.padded_codes = c.padded;
    layout.line_end = c.line_end;
    std::string out = "0\n";
    AppendCoordinateTag(out, layout, c.code, c.value);
    EXPECT_EQ(out, std::string("0\n") + c.text);
  }
}

TEST(NumberText, RealsAgreeWithFromChars) {
  // Shortest texts of random doubles read back exactly; long and far-out
  // texts read as std::from_chars reads them, out of range refused.
  std::mt19937_64 rng(13);
  for (int trial = 0; trial < 200000; ++trial) {
    std::string text;
    if (trial % 2 == 0) {
      double v = FromBits(rng());
      if (!std::isfinite(v)) continue;
      text = FormatCoordinate(v);
      double back = 0.0;
      ASSERT_TRUE(ParseReal(text, back)) << text;
      ASSERT_EQ(back, v) << text;
      continue;
    }
    if (rng() % 3 == 0) text += '-';
    const int digits = 1 + static_cast<int>(rng() % 25);
    for (int k = 0; k < digits; ++k) text += static_cast<char>('0' + rng() % 10);
    if (rng() % 2 == 0) text.insert(text.size() - rng() % static_cast<size_t>(digits), ".");
    if (rng() % 2 == 0) text += "E" + std::to_string(static_cast<int>(rng() % 720) - 360);
    double mine = -1.0, theirs = -1.0;
    bool read = ParseReal(text, mine);
    std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), theirs);
    ASSERT_EQ(read, r.ec == std::errc() && r.ptr == text.data() + text.size()) << text;
    if (read) {
      ASSERT_EQ(mine, theirs) << text;
    }
  }
  for (const char* word : {"inf", "-INF", "infinity", "nan", "+nan", " 1.5 ", "+2", "+-1", "1e",
                           "--1", "0x10", "", "1.5x", "1,5"}) {
    double mine = 0.0, theirs = 0.0;
    std::string_view text(word);
    bool read = ParseReal(text, mine);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+' && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), theirs);
    const bool expected = !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
    EXPECT_EQ(read, expected) << word;
  }
}

TEST(NumberText, HandlesAreHexadecimalAndFitIn64Bits) {
  uint64_t handle = 0;
  EXPECT_TRUE(ParseHandle("2f", handle));
  EXPECT_EQ(FormatHandle(handle), "2F");
  EXPECT_FALSE(ParseHandle("12345678901234567", handle));
  EXPECT_FALSE(ParseHandle("ARCHTICK", handle));
}

}  // namespace
}  // namespace dxf
