#include "platform/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Fixed(double v, int decimals) {
  char buf[platform::kNumberBufSize];
  return std::string(buf, platform::FormatFixed(buf, v, decimals));
}

TEST(NumberFormat, FixedMatchesACorrectCRuntime) {
  struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {0.0, 12, "0.000000000000"},
      {-0.0, 6, "-0.000000"},
      {-1e-20, 6, "-0.000000"},  // rounds to zero, keeps the sign
      {0.5, 0, "0"},             // ties go to even on the exact binary value
      {2.5, 0, "2"},
      {0.125, 2, "0.12"},
      {1.005, 2, "1.00"},        // 1.005 is 1.00499999999999989... in binary
      {96.46446609406726, 12, "96.464466094067"},
      {3.535533905932738, 12, "3.535533905933"},
      {-45.0, 12, "-45.000000000000"},
      {1e20, 1, "100000000000000000000.0"},
      {123456789012345678.0, 6, "123456789012345680.000000"},
      {std::numeric_limits<double>::infinity(), 6, "inf"},
      {-std::numeric_limits<double>::infinity(), 6, "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), 6, "nan"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value;
  }
  // The largest double fits the buffer.
  EXPECT_EQ(Fixed(std::numeric_limits<double>::max(), 20).size(), 309u + 21u);
}

TEST(NumberFormat, FixedAgreesWithToCharsAtEveryPrecisionAndMagnitude) {
  // Against std::to_chars, an exact conversion: values of every magnitude
  // the quick path takes, ties of short decimals and small binary fractions
  // at the precisions the records use; and every bit pattern alike (1e-308
  // to 1e308, far above 2^53 where the quick path gives way to {fmt}) at
  // every precision up to kMaxDecimals.
  std::mt19937_64 rng(5);
  std::uniform_int_distribution<int> exponent(-80, 70);
  std::uniform_real_distribution<double> mantissa(1.0, 2.0);
  char a[platform::kNumberBufSize], b[platform::kNumberBufSize];
  auto expect = [&](double v, int d) {
    std::string mine(a, platform::FormatFixed(a, v, d));
    std::to_chars_result r = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, d);
    ASSERT_EQ(mine, std::string(b, r.ptr)) << v << " " << d;
  };
  for (int trial = 0; trial < 400000; ++trial) {
    if (trial % 4 == 3) {
      const uint64_t bits = rng();
      double v = 0.0;
      std::memcpy(&v, &bits, sizeof v);
      if (!std::isfinite(v)) continue;
      if (trial % 3 == 0) v = std::ldexp(v, -std::ilogb(v) + static_cast<int>(rng() % 80));
      expect(v, static_cast<int>(rng() % (platform::kMaxDecimals + 1)));
      continue;
    }
    double v = std::ldexp(mantissa(rng), exponent(rng)) * (rng() % 2 ? 1 : -1);
    if (trial % 7 == 0) v = std::round(v * 1000) / 1000;
    if (trial % 11 == 0) v = std::ldexp(static_cast<double>(rng() % 4096), -static_cast<int>(rng() % 14));
    for (int d : {0, 1, 6, 8, 10, 12}) expect(v, d);
  }
}

TEST(NumberFormat, Integers) {
  char buf[32];
  auto Int = [&](int32_t v) { return std::string(buf, platform::FormatInt(buf, v)); };
  auto Uns = [&](uint32_t v) { return std::string(buf, platform::FormatUnsigned(buf, v)); };
  auto Hex = [&](uint32_t v, int w) { return std::string(buf, platform::FormatHex(buf, v, w)); };
  EXPECT_EQ(Int(0), "0");
  EXPECT_EQ(Int(-1), "-1");
  EXPECT_EQ(Int(std::numeric_limits<int32_t>::min()), "-2147483648");
  EXPECT_EQ(Int(std::numeric_limits<int32_t>::max()), "2147483647");
  EXPECT_EQ(Uns(4294967295u), "4294967295");
  EXPECT_EQ(Hex(0, 1), "0");
  EXPECT_EQ(Hex(20, 1), "14");
  EXPECT_EQ(Hex(0xffffffffu, 1), "ffffffff");
  EXPECT_EQ(Hex(0, 6), "000000");
  EXPECT_EQ(Hex(0x20000, 6), "020000");
  EXPECT_EQ(Hex(0xffffffffu, 6), "ffffffff");
}

}  // namespace
