#include "geometry/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "geometry/test_geometry.h"
#include "geometry/trig_exact.h"

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
  EXPECT_TRUE(std::signbit(trig::Tan(-0.0)));
  EXPECT_FALSE(std::signbit(trig::Tan(0.0)));
  EXPECT_EQ(trig::Cos(-0.0), 1.0);
  EXPECT_TRUE(std::isnan(trig::Tan(inf)));
  EXPECT_TRUE(std::isnan(trig::Sin(std::nan(""))));
  // The reduction stops at 2^900: from there on the three give nan.
  for (double huge : {0x1p900, -0x1p900, 0x1p1000, std::numeric_limits<double>::max()}) {
    EXPECT_TRUE(std::isnan(trig::Sin(huge))) << huge;
    EXPECT_TRUE(std::isnan(trig::Cos(huge))) << huge;
    EXPECT_TRUE(std::isnan(trig::Tan(huge))) << huge;
  }
}

// ---------------------------------------------------------------------------
// The fast path against the exact one. Each function first evaluates a
// short approximation with a proven error bound and falls back on the exact
// double-double evaluation only when the bound leaves the rounding open; the
// two must give the same bits for every argument. A million arguments per
// function in an optimized build (a few seconds, most of it in the exact
// path); fewer in a debug or sanitizer build, where the exact path is many
// times slower.
// ---------------------------------------------------------------------------

#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr int kArgumentsPerFunction = 1000000;
#else
constexpr int kArgumentsPerFunction = 25000;
#endif

/// The same double, bit for bit; any two nans count as the same (the sign
/// of a nan that arithmetic makes depends on the order the compiler gives
/// the operands, and carries no value).
bool SameBits(double a, double b) {
  return test_geometry::SameBits(a, b) || (std::isnan(a) && std::isnan(b));
}

/// A double of random sign and magnitude 2^e with e uniform in
/// [low_exponent, high_exponent), its significand random too.
double LogUniform(std::mt19937_64& rng, int low_exponent, int high_exponent) {
  std::uniform_int_distribution<int> exponent(low_exponent, high_exponent - 1);
  std::uniform_real_distribution<double> significand(1.0, 2.0);
  const double magnitude = std::ldexp(significand(rng), exponent(rng));
  return (rng() & 1) ? -magnitude : magnitude;
}

/// Arguments for sin, cos and tan, in turn: uniform over the angles of a
/// drawing; uniform up to 10^4; tiny (down to the subnormal numbers); the
/// doubles nearest to multiples of pi/2 and pi/4 and their neighbours a few
/// units away (where the reduced argument is smallest, or where the
/// reduction's rounding of n is closest to a tie); any size up to 2^1000.
double TrigArgument(std::mt19937_64& rng, int k) {
  std::uniform_real_distribution<double> angle(-3.2, 3.2), wide(-1e4, 1e4);
  std::uniform_int_distribution<int> multiple(-6400, 6400), nudge(-3, 3);
  switch (k % 6) {
    case 0: return angle(rng);
    case 1: return wide(rng);
    case 2: return LogUniform(rng, -1074, -20);
    case 3:
    case 4: {
      // k pi/2 (case 3) or (k + 1/2) pi/2 (case 4), rounded, then nudged.
      const double m = multiple(rng) + (k % 6 == 4 ? 0.5 : 0.0);
      double x = m * 1.5707963267948966 + m * 6.123233995736766e-17;
      for (int steps = nudge(rng); steps != 0; steps += steps > 0 ? -1 : 1) {
        x = std::nextafter(x, steps > 0 ? HUGE_VAL : -HUGE_VAL);
      }
      return x;
    }
    default: return LogUniform(rng, -20, 1000);
  }
}

/// Arguments for atan2: coordinate differences of a drawing; random signs
/// and magnitudes over the whole range, subnormal numbers included; now and
/// then a zero of either sign, an infinity or a nan in either place; equal
/// and nearly equal magnitudes (the diagonal).
void Atan2Arguments(std::mt19937_64& rng, int k, double* y, double* x) {
  std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
  const double specials[] = {0.0, -0.0, HUGE_VAL, -HUGE_VAL,
                             std::numeric_limits<double>::quiet_NaN()};
  switch (k % 5) {
    case 0:
      *y = coordinate(rng);
      *x = coordinate(rng);
      return;
    case 1:
      *y = LogUniform(rng, -1074, 1024);
      *x = LogUniform(rng, -1074, 1024);
      return;
    case 2:
      *y = LogUniform(rng, -30, 30);
      *x = std::nextafter(std::fabs(*y), (rng() & 1) ? 0.0 : HUGE_VAL) * ((rng() & 1) ? 1 : -1);
      return;
    case 3:
      *y = coordinate(rng);
      *x = coordinate(rng);
      *((rng() & 1) ? y : x) = specials[rng() % 5];
      return;
    default:
      *y = LogUniform(rng, -60, 60);
      *x = LogUniform(rng, -60, 60);
      return;
  }
}

TEST(Trig, FastPathGivesTheExactPathsBits) {
  std::mt19937_64 trig_rng(2024), atan2_rng(2025);
  int differ[4] = {0, 0, 0, 0};
  auto check = [&](int f, double fast, double exact, double y, double x) {
    if (!SameBits(fast, exact) && ++differ[f] <= 5) {
      ADD_FAILURE() << "function " << f << " " << std::hexfloat << y << " " << x;
    }
  };
  for (int k = 0; k < kArgumentsPerFunction; ++k) {
    const double a = TrigArgument(trig_rng, k);
    check(0, trig::Sin(a), trig::internal::SinExact(a), a, 0);
    check(1, trig::Cos(a), trig::internal::CosExact(a), a, 0);
    check(2, trig::Tan(a), trig::internal::TanExact(a), a, 0);
    double y = 0, x = 0;
    Atan2Arguments(atan2_rng, k, &y, &x);
    check(3, trig::Atan2(y, x), trig::internal::Atan2Exact(y, x), y, x);
  }
  for (int f = 0; f < 4; ++f) EXPECT_EQ(differ[f], 0) << "function " << f;
}

}  // namespace
