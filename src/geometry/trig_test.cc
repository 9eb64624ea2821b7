#include "geometry/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

/// Distance in units in the last place between two finite doubles.
int64_t Ulps(double a, double b) {
  int64_t ia, ib;
  std::memcpy(&ia, &a, 8);
  std::memcpy(&ib, &b, 8);
  if (ia < 0) ia = std::numeric_limits<int64_t>::min() - ia;
  if (ib < 0) ib = std::numeric_limits<int64_t>::min() - ib;
  return ia > ib ? ia - ib : ib - ia;
}

TEST(Trig, AgreesWithTheCRuntimeToTheLastBitAlmostAlways) {
  // glibc's functions are within a unit in the last place and mostly
  // correctly rounded; these are correctly rounded but in vanishingly rare
  // cases. Over the angles and coordinate differences of drawings they agree
  // to the bit nearly everywhere and never differ by more than one unit.
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> angle(-3.2, 3.2);
  std::uniform_real_distribution<double> coord(-1000.0, 1000.0);
  int differ = 0;
  const int trials = 100000;
  for (int k = 0; k < trials; ++k) {
    double a = angle(rng);
    double y = coord(rng), x = coord(rng);
    ASSERT_LE(Ulps(trig::Sin(a), std::sin(a)), 1) << a;
    ASSERT_LE(Ulps(trig::Cos(a), std::cos(a)), 1) << a;
    ASSERT_LE(Ulps(trig::Tan(a), std::tan(a)), 1) << a;
    ASSERT_LE(Ulps(trig::Atan2(y, x), std::atan2(y, x)), 1) << y << " " << x;
    // Where they differ, these are never the farther from the value that
    // the 64-bit long double functions give (beyond those functions' own
    // error, for values that lie almost halfway between two doubles).
    const double mine[4] = {trig::Sin(a), trig::Cos(a), trig::Tan(a), trig::Atan2(y, x)};
    const double libc[4] = {std::sin(a), std::cos(a), std::tan(a), std::atan2(y, x)};
    const long double wide[4] = {sinl(a), cosl(a), tanl(a), atan2l(y, x)};
    for (int f = 0; f < 4; ++f) {
      if (mine[f] == libc[f]) continue;
      ++differ;
      EXPECT_LE(fabsl(mine[f] - wide[f]),
                fabsl(libc[f] - wide[f]) + fabsl(wide[f]) * 1e-18L)
          << f << " " << a;
    }
  }
  EXPECT_LT(differ, trials * 4 / 100);
}

TEST(Trig, ValuesTheOutlinesDependOn) {
  const double pai = 3.141592653589793;
  EXPECT_EQ(trig::Cos(pai / 36), std::cos(pai / 36));
  EXPECT_EQ(trig::Cos(pai / 4), 0.7071067811865476);
  EXPECT_EQ(trig::Tan(pai / 4), std::tan(pai / 4));
  EXPECT_EQ(trig::Atan2(1, 1), pai / 4);
  EXPECT_EQ(trig::Atan2(100, 0), pai / 2);
  EXPECT_EQ(trig::Atan2(-100, 0), -pai / 2);
  EXPECT_EQ(trig::Atan2(0, -100), pai);
  EXPECT_EQ(trig::Cos(pai / 2), std::cos(pai / 2));  // 6.1e-17, not 0
  EXPECT_EQ(trig::Sin(pai), std::sin(pai));
  EXPECT_EQ(trig::Atan2(1e308, 1e300), std::atan2(1e308, 1e300));
  EXPECT_EQ(trig::Atan2(-1e-310, 3e-320), std::atan2(-1e-310, 3e-320));
}

TEST(Trig, SpecialValuesFollowTheCStandard) {
  const double inf = std::numeric_limits<double>::infinity();
  const double pi = 3.141592653589793;
  struct {
    double y, x, expected;
  } atan2_cases[] = {
      {0.0, 1.0, 0.0},      {-0.0, 1.0, -0.0},   {0.0, -1.0, pi},
      {-0.0, -1.0, -pi},    {0.0, -0.0, pi},     {-0.0, 0.0, -0.0},
      {1.0, 0.0, pi / 2},   {-1.0, -0.0, -pi / 2}, {inf, inf, pi / 4},
      {inf, -inf, 3 * pi / 4}, {-inf, 5.0, -pi / 2}, {5.0, inf, 0.0},
      {-5.0, -inf, -pi},
  };
  for (const auto& c : atan2_cases) {
    double r = trig::Atan2(c.y, c.x);
    EXPECT_EQ(r, c.expected) << c.y << " " << c.x;
    EXPECT_EQ(std::signbit(r), std::signbit(c.expected)) << c.y << " " << c.x;
  }
  EXPECT_TRUE(std::isnan(trig::Atan2(std::nan(""), 1.0)));
  EXPECT_TRUE(std::isnan(trig::Sin(inf)));
  EXPECT_TRUE(std::isnan(trig::Cos(-inf)));
  EXPECT_TRUE(std::signbit(trig::Sin(-0.0)));
  EXPECT_EQ(trig::Cos(0.0), 1.0);
}

}  // namespace
