#include "geometry/trig.h"

#include <cmath>
#include <limits>

// Error-free transformations need every operation rounded on its own.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("fp-contract=off")
#endif
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace trig {
namespace {

/// A double-double: the unevaluated sum hi + lo with |lo| <= ulp(hi) / 2.
struct DD {
  double hi;
  double lo;
};

DD TwoSum(double a, double b) {
  double s = a + b;
  double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

DD QuickTwoSum(double a, double b) {
  double s = a + b;
  return {s, b - (s - a)};
}

/// Veltkamp's split of a into two halves of 26 bits, exact for |a| < 2^996.
void Split(double a, double* hi, double* lo) {
  double t = 134217729.0 * a;  // 2^27 + 1
  *hi = t - (t - a);
  *lo = a - *hi;
}

/// Dekker's exact product: a * b = p + e.
DD TwoProd(double a, double b) {
  double p = a * b;
  double ah, al, bh, bl;
  Split(a, &ah, &al);
  Split(b, &bh, &bl);
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DD Add(DD a, DD b) {
  DD s = TwoSum(a.hi, b.hi);
  DD t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

DD Neg(DD a) { return {-a.hi, -a.lo}; }
DD Sub(DD a, DD b) { return Add(a, Neg(b)); }

DD Mul(DD a, DD b) {
  DD p = TwoProd(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

DD MulD(DD a, double b) {
  DD p = TwoProd(a.hi, b);
  p.lo += a.lo * b;
  return QuickTwoSum(p.hi, p.lo);
}

DD Div(DD a, DD b) {
  double q1 = a.hi / b.hi;
  DD r = Sub(a, MulD(b, q1));
  double q2 = r.hi / b.hi;
  r = Sub(r, MulD(b, q2));
  double q3 = r.hi / b.hi;
  DD q = QuickTwoSum(q1, q2);
  return Add(q, DD{q3, 0.0});
}

DD Sqrt(DD a) {
  if (a.hi <= 0.0) return {0.0, 0.0};
  double s = std::sqrt(a.hi);  // IEEE square root: exact rounding everywhere
  DD ss = TwoProd(s, s);
  double correction = ((a.hi - ss.hi) - ss.lo + a.lo) / (2.0 * s);
  return QuickTwoSum(s, correction);
}

// pi and its halves and quarters, to 106 bits.
constexpr DD kPiDD = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
constexpr DD kPiHalf = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr DD kPiQuarter = {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55};

/// A table of 106-bit constants, worked out once.
template <int N>
struct Table {
  DD v[N];
};

/// 1 / k! for k = 0 .. 31, to 106 bits. The table is built once, on first
/// use; the language makes that initialisation safe from any thread.
const DD* InverseFactorials() {
  static const Table<32> table = [] {
    Table<32> t{};
    t.v[0] = {1.0, 0.0};
    for (int k = 1; k < 32; ++k) t.v[k] = Div(t.v[k - 1], DD{double(k), 0.0});
    return t;
  }();
  return table.v;
}

/// Whether a series term no longer reaches the 106th bit of a sum of size
/// `scale`.
bool Negligible(DD term, double scale) {
  return std::fabs(term.hi) <= std::fabs(scale) * 0x1p-110;
}

/// Taylor series of sin and cos for |r| <= pi/4.
void SinCosReduced(DD r, DD* sin_r, DD* cos_r) {
  const DD* inv = InverseFactorials();
  DD r2 = Mul(r, r);
  DD s = r, c = {1.0, 0.0};
  DD power = r;  // r^(2k+1) for sin, then times r for the next cos power
  DD even = {1.0, 0.0};
  for (int k = 1; 2 * k + 1 < 32; ++k) {
    even = Neg(Mul(even, r2));    // (-1)^k r^(2k)
    power = Neg(Mul(power, r2));  // (-1)^k r^(2k+1)
    DD tc = Mul(even, inv[static_cast<size_t>(2 * k)]);
    DD ts = Mul(power, inv[static_cast<size_t>(2 * k + 1)]);
    c = Add(c, tc);
    s = Add(s, ts);
    if (Negligible(tc, 1.0) && Negligible(ts, r.hi)) break;
  }
  *sin_r = s;
  *cos_r = c;
}

/// sin and cos of x: x = n pi/2 + r with |r| <= pi/4, reduced in
/// double-double (accurate for the angles of a drawing; any x gives the
/// same result on every platform).
void SinCos(double x, DD* sin_x, DD* cos_x) {
  double n = std::nearbyint(x / kPiHalf.hi);
  DD r = Sub(DD{x, 0.0}, MulD(kPiHalf, n));
  DD s, c;
  SinCosReduced(r, &s, &c);
  double q = std::fmod(n, 4.0);
  if (q < 0) q += 4.0;
  switch (static_cast<int>(q)) {
    case 0:
      *sin_x = s;
      *cos_x = c;
      break;
    case 1:
      *sin_x = c;
      *cos_x = Neg(s);
      break;
    case 2:
      *sin_x = Neg(s);
      *cos_x = Neg(c);
      break;
    default:
      *sin_x = Neg(c);
      *cos_x = s;
      break;
  }
}

/// 1 / (2k + 1) for k = 0 .. 39, to 106 bits, built once as above.
const DD* InverseOdds() {
  static const Table<40> table = [] {
    Table<40> t{};
    for (int k = 0; k < 40; ++k) t.v[k] = Div(DD{1.0, 0.0}, DD{2.0 * k + 1.0, 0.0});
    return t;
  }();
  return table.v;
}

/// atan(t) for 0 <= t <= 1: three halvings of the angle,
/// atan(t) = 2 atan(t / (1 + sqrt(1 + t^2))), bring t below tan(pi/32), where
/// the Taylor series converges quickly.
DD AtanReduced(DD t) {
  const DD* inv = InverseOdds();
  for (int k = 0; k < 3; ++k) {
    DD root = Sqrt(Add(DD{1.0, 0.0}, Mul(t, t)));
    t = Div(t, Add(DD{1.0, 0.0}, root));
  }
  DD t2 = Mul(t, t);
  DD sum = t, power = t;
  for (int k = 1; k < 40; ++k) {
    power = Neg(Mul(power, t2));
    DD term = Mul(power, inv[k]);
    sum = Add(sum, term);
    if (Negligible(term, t.hi)) break;
  }
  return MulD(sum, 8.0);
}

/// Arguments beyond this size would overflow the reduction; a drawing's
/// angles never come near it, and they give nan.
bool TooLarge(double x) { return std::fabs(x) >= 0x1p900; }

/// The nan that sin, cos and tan give for x when x is nan, infinite or too
/// large; false (and nothing stored) for an argument they reduce.
bool NotReduced(double x, double* result) {
  if (std::isnan(x)) {
    *result = x;
  } else if (std::isinf(x) || TooLarge(x)) {
    *result = std::numeric_limits<double>::quiet_NaN();
  } else {
    return false;
  }
  return true;
}

}  // namespace

double Sin(double x) {
  double r;
  if (x == 0.0) return x;  // keeps the sign of a zero
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  return s.hi + s.lo;
}

double Cos(double x) {
  double r;
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  return c.hi + c.lo;
}

double Tan(double x) {
  double r;
  if (x == 0.0) return x;
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  DD t = Div(s, c);
  return t.hi + t.lo;
}

double Atan2(double y, double x) {
  if (std::isnan(x) || std::isnan(y)) return x + y;
  const double pi = kPiDD.hi, half = kPiHalf.hi, quarter = kPiQuarter.hi;
  if (y == 0.0) {
    return std::signbit(x) ? std::copysign(pi, y) : std::copysign(0.0, y);
  }
  if (std::isinf(y)) {
    if (std::isinf(x)) return std::copysign(x > 0 ? quarter : 3 * quarter, y);
    return std::copysign(half, y);
  }
  if (x == 0.0) return std::copysign(half, y);
  if (std::isinf(x))
    return x > 0 ? std::copysign(0.0, y) : std::copysign(pi, y);

  // Both finite and non-zero. The angle of (|x|, |y|) in the first octant
  // comes from atan of the smaller over the larger. Both are first scaled by
  // one power of two (exactly) so that the larger lies in [0.5, 1) and no
  // step of the double-double arithmetic overflows.
  double ax = std::fabs(x), ay = std::fabs(y);
  int e = 0;
  std::frexp(ax > ay ? ax : ay, &e);
  ax = std::ldexp(ax, -e);
  ay = std::ldexp(ay, -e);
  DD a;
  if (ay <= ax) {
    a = AtanReduced(Div(DD{ay, 0.0}, DD{ax, 0.0}));
  } else {
    a = Sub(kPiHalf, AtanReduced(Div(DD{ax, 0.0}, DD{ay, 0.0})));
  }
  if (x < 0) a = Sub(kPiDD, a);
  double r = a.hi + a.lo;
  return y < 0 ? -r : r;
}

}  // namespace trig
