#include "geometry/trig.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "geometry/trig_exact.h"

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

// ---------------------------------------------------------------------------
// The fast path. Each function is first evaluated to a double-double h + l
// whose distance to the value the exact path works towards is proven below
// about 2^-66.5 |h| (against the exact path's own error, well below 2^-90).
// When every number within that distance of h + l rounds to the same double,
// the exact path must round to it too, and that double is the result; else
// (about one argument in seven thousand) the exact path decides.
// ---------------------------------------------------------------------------

#if defined(__GNUC__)
#define TRIG_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define TRIG_ALWAYS_INLINE inline
#endif

/// Rounds x to the nearest multiple of 2^-8 (the tables' step, for
/// |x| < 2^43) or to the nearest integer (for |x| < 2^51), ties to even:
/// adding 1.5 * 2^44 (or 2^52) leaves no bits below that place, and taking
/// it away again is exact. For integers this is nearbyint in the default
/// rounding mode.
constexpr double kToTableSteps = 0x1.8p44;
constexpr double kToIntegers = 0x1.8p52;
TRIG_ALWAYS_INLINE double RoundWith(double x, double shifter) { return (x + shifter) - shifter; }

/// sin(k/256) and cos(k/256) for k = 0 .. 205 (up to 0.80), each rounded to
/// a double-double: the error is below 2^-105 of the value. Worked out with
/// 90-digit decimal arithmetic (Taylor series, checked by sin^2 + cos^2 = 1).
/// Row k holds sin (high, low), then cos (high, low).
constexpr int kSinCosSteps = 256;
constexpr double kSinCosTable[][4] = {
    {0.0, 0.0, 0x1.0000000000000p+0, 0.0},
    {0x1.ffffaaaaaeeefp-9, -0x1.2b12b0ce9b237p-65, 0x1.ffff000015555p-1, 0x1.27d27df7df7bbp-55},
    {0x1.fffeaaaaeeeefp-8, -0x1.e45e2ec67b77cp-62, 0x1.fffc000155552p-1, 0x1.f4a01a0196daep-55},
    {0x1.7ffdc00103330p-7, -0x1.15efa2be503dbp-61, 0x1.fff70006bffe0p-1, -0x1.9984c57e6cfb8p-55},
    {0x1.fffaaaaeeeed5p-7, -0x1.2ab639a9f0776p-63, 0x1.fff000155549fp-1, 0x1.28a28a03a5ef3p-55},
    {0x1.3ffacab12d517p-6, 0x1.519b3218acccfp-60, 0x1.ffe700341529fp-1, -0x1.b3bc25e3e4cb3p-57},
    {0x1.7ff7001033255p-6, 0x1.efe2b51527336p-64, 0x1.ffdc006bff7e6p-1, 0x1.ae6dae86977bdp-55},
    {0x1.bff1b57858e83p-6, 0x1.df20c232a4f03p-60, 0x1.ffcf00c8140e9p-1, -0x1.c3e3e857e2d30p-55},
    {0x1.ffeaaaeeee86fp-6, -0x1.cd406fb224ae2p-60, 0x1.ffc00155527d3p-1, -0x1.3b54492d89b5bp-55},
    {0x1.1ff0d03d81efcp-5, 0x1.b74e4aa1f4c7fp-59, 0x1.ffaf0222ba3bdp-1, -0x1.426013ff0feb7p-57},
    {0x1.3feb2b12d45d5p-5, 0x1.4ec54203d1c11p-60, 0x1.ff9c03414a7bap-1, 0x1.991f4be6c59bfp-57},
    {0x1.5fe445fd1660fp-5, 0x1.d7a6e37a23793p-59, 0x1.ff8704c4021c8p-1, -0x1.d80c59264b631p-57},
    {0x1.7fdc01032fba9p-5, -0x1.599bdf46e997ap-59, 0x1.ff7006bfdf99fp-1, -0x1.8b3b560648d5fp-56},
    {0x1.9fd23c2d680dfp-5, -0x1.70b1a2ba5f590p-60, 0x1.ff57094be0f62p-1, 0x1.780a6d6b9aac9p-55},
    {0x1.bfc6d78586dacp-5, 0x1.8e4fd03dbf236p-62, 0x1.ff3c0c8103a31p-1, 0x1.4856dbddc0e66p-56},
    {0x1.dfb9b316f372ap-5, -0x1.b3adb2cd8fe77p-61, 0x1.ff1f107a44695p-1, 0x1.2552d1d5613d6p-58},
    {0x1.ffaaaeeed4edbp-5, -0x1.2d16d32684b69p-59, 0x1.ff0015549f4d3p-1, 0x1.328387b99426fp-55},
    {0x1.0fccd58e190ecp-4, -0x1.ef54e5b79b73cp-58, 0x1.fedf1b2f0f71dp-1, -0x1.358030423989ep-58},
    {0x1.1fc343d808befp-4, -0x1.f3d32e6f3be4fp-58, 0x1.febc222a8ef9fp-1, 0x1.7934934f54c77p-58},
    {0x1.2fb8925ecc920p-4, -0x1.1aceeb6944bb7p-60, 0x1.fe972a6a16e73p-1, -0x1.9b4127ab3d548p-58},
    {0x1.3facb12d1755bp-4, -0x1.921915299468bp-58, 0x1.fe7034129ef6fp-1, -0x1.cbf4337c96f97p-57},
    {0x1.4f9f904ecb8ffp-4, 0x1.6fdd8bf8cda76p-58, 0x1.fe473f4b1d7d6p-1, 0x1.a001dd2227ed4p-55},
    {0x1.5f911fd10b737p-4, -0x1.0184f02be9102p-58, 0x1.fe1c4c3c873ebp-1, -0x1.5a9c9057c4a02p-60},
    {0x1.6f814fc248d1fp-4, -0x1.1e7a14e279b6ap-59, 0x1.fdef5b11cf45dp-1, -0x1.e833a08634830p-56},
    {0x1.7f701032550e4p-4, 0x1.afc2d1800501ap-60, 0x1.fdc06bf7e6b9bp-1, 0x1.31902b535f8dbp-55},
    {0x1.8f5d5132710c4p-4, 0x1.ae29046de7c88p-61, 0x1.fd8f7f1dbcb07p-1, -0x1.c752ecfaa985bp-55},
    {0x1.9f4902d55d1f9p-4, 0x1.2696d7eac1dc1p-58, 0x1.fd5c94b43e000p-1, -0x1.2e768cb4f92f9p-57},
    {0x1.af33152f68f8fp-4, 0x1.3f7698bdd23f1p-58, 0x1.fd27acee550dbp-1, 0x1.c3f64be936b41p-55},
    {0x1.bf1b78568391dp-4, 0x1.e91841dea4cc8p-58, 0x1.fcf0c800e99b1p-1, 0x1.ea3d786d186acp-57},
    {0x1.cf021c624b168p-4, -0x1.f6aedf73fb13fp-62, 0x1.fcb7e622e090ep-1, 0x1.efee620ded043p-55},
    {0x1.dee6f16c1cce6p-4, -0x1.50f8e2fb71673p-59, 0x1.fc7d078d1bc88p-1, 0x1.075d2447db685p-55},
    {0x1.eec9e78f2502bp-4, 0x1.3535175887f66p-60, 0x1.fc402c7a79d2cp-1, 0x1.f515d61e3b7d1p-56},
    {0x1.feaaeee86ee36p-4, -0x1.afcb2bcc6f03bp-59, 0x1.fc015527d5bd3p-1, 0x1.b68f35094efb8p-55},
    {0x1.0744fbcb7a34fp-3, -0x1.35f080b446e47p-57, 0x1.fbc081d406d54p-1, 0x1.19ca5c619c114p-55},
    {0x1.0f3378ddd71d1p-3, 0x1.d8468724f0f9ep-57, 0x1.fb7db2bfe0695p-1, 0x1.21dadf4f65ab1p-55},
    {0x1.1720e6bcd1c11p-3, -0x1.370a768c28cc9p-57, 0x1.fb38e82e31880p-1, -0x1.cd45c28dde5cfp-56},
    {0x1.1f0d3d7afceafp-3, -0x1.6ef95099769a5p-57, 0x1.faf22263c4bd3p-1, -0x1.52ace133a2769p-58},
    {0x1.26f8752c02859p-3, 0x1.99d3f99560e16p-60, 0x1.faa961a75fcd7p-1, 0x1.154aedc530b90p-55},
    {0x1.2ee285e4ab88fp-3, -0x1.e4d0f05dee058p-57, 0x1.fa5ea641c36f2p-1, 0x1.04da6ed17cc7cp-59},
    {0x1.36cb67bae7e52p-3, -0x1.2b58c9385fe0dp-59, 0x1.fa11f07dab019p-1, 0x1.4c36f0cfac1a2p-55},
    {0x1.3eb312c5d66cbp-3, 0x1.47d666b66cb91p-57, 0x1.f9c340a7cc428p-1, 0x1.c5b6b063b7462p-55},
    {0x1.46997f1dccbd6p-3, 0x1.5772779edaa4cp-61, 0x1.f972970ed7014p-1, 0x1.82d46ff943b09p-55},
    {0x1.4e7ea4dc5f27bp-3, 0x1.949db2ac072fcp-58, 0x1.f91ff40374d01p-1, -0x1.7d03f4d3a9e4cp-57},
    {0x1.56627c1c68959p-3, -0x1.c1a626f9f35f9p-57, 0x1.f8cb57d848b36p-1, -0x1.e28ca6524cc98p-60},
    {0x1.5e44fcfa126f3p-3, -0x1.6f443063f89b6p-57, 0x1.f874c2e1eecf6p-1, -0x1.c6514e1332b16p-55},
    {0x1.66261f92dc7f2p-3, 0x1.4732388b03388p-58, 0x1.f81c3576fc132p-1, -0x1.a210f729d0428p-56},
    {0x1.6e05dc05a4d4cp-3, -0x1.32c5c8b81c919p-66, 0x1.f7c1afeffde24p-1, -0x1.8f55bc47540b1p-56},
    {0x1.75e42a72afa53p-3, 0x1.25101dbbe3de1p-57, 0x1.f76532a779bc3p-1, -0x1.cc2b661f73e17p-56},
    {0x1.7dc102fbaf2b5p-3, 0x1.5ab50e23c97c3p-59, 0x1.f706bdf9ece1cp-1, -0x1.698c80c36dcb4p-55},
    {0x1.859c5dc3cb85dp-3, 0x1.bdacb1bb1532ap-58, 0x1.f6a65245cbf89p-1, 0x1.21006d1ee0324p-55},
    {0x1.8d7632efaa944p-3, -0x1.20fa262cbb953p-57, 0x1.f643efeb82acdp-1, 0x1.6b00ac1fe28acp-56},
    {0x1.954e7aa577d22p-3, 0x1.add11e2b03481p-57, 0x1.f5df974d73509p-1, -0x1.1041b91c41e29p-55},
    {0x1.9d252d0cec312p-3, 0x1.9c43d80b1137dp-58, 0x1.f57948cff6797p-1, 0x1.e3a0d3e03b1d4p-57},
    {0x1.a4fa424f55f0fp-3, 0x1.88fc2611aa255p-57, 0x1.f51104d95a9c8p-1, -0x1.1bc67d4243730p-55},
    {0x1.accdb297a0765p-3, -0x1.9883b57d6cdeap-58, 0x1.f4a6cbd1e3a79p-1, 0x1.13df0edaebb57p-55},
    {0x1.b49f76125c1fdp-3, 0x1.697d0c986b191p-60, 0x1.f43a9e23ca996p-1, -0x1.c057991f742e7p-55},
    {0x1.bc6f84edc6199p-3, 0x1.9c1a56a7b0cabp-57, 0x1.f3cc7c3b3d16ep-1, -0x1.21a3ad28a3494p-57},
    {0x1.c43dd759d02eep-3, -0x1.5bcc2e3046626p-63, 0x1.f35c66865cff8p-1, 0x1.7cda41f3feef8p-55},
    {0x1.cc0a6588289a3p-3, -0x1.868d09bc87c6bp-57, 0x1.f2ea5d753ffedp-1, 0x1.cc4215f56d583p-55},
    {0x1.d3d527ac41d38p-3, -0x1.6fa59a447a134p-58, 0x1.f2766179ef1c7p-1, -0x1.2932f8987bcb6p-57},
    {0x1.db9e15fb5a5d0p-3, -0x1.32e20d6cc6fc2p-57, 0x1.f20073086649fp-1, 0x1.b940416c1984bp-56},
    {0x1.e36528ac848dap-3, -0x1.240b73f3963fep-60, 0x1.f188929693ef2p-1, -0x1.81f656ea94ccfp-55},
    {0x1.eb2a57f8ae5a3p-3, -0x1.0be06af572cebp-57, 0x1.f10ec09c5873bp-1, 0x1.d9072762c1283p-55},
    {0x1.f2ed9c1aa91c4p-3, -0x1.6142de810c2b7p-57, 0x1.f092fd9385c7ep-1, 0x1.750563a9bed86p-59},
    {0x1.faaeed4f31577p-3, -0x1.15d88508e32b8p-57, 0x1.f01549f7deea1p-1, 0x1.d3c1e99e5cafdp-55},
    {0x1.013721ea7b3e5p-2, 0x1.10fa1d5106315p-56, 0x1.ef95a647176b9p-1, -0x1.a2aefc066f251p-55},
    {0x1.0515cbf65155cp-2, -0x1.9b8c29dfd8ec7p-56, 0x1.ef141300d2f26p-1, -0x1.2aa1b08ded372p-55},
    {0x1.08f370ec7138ap-2, -0x1.183d7d425e7ecp-57, 0x1.ee9090a6a4ba0p-1, 0x1.48d59a9171632p-55},
    {0x1.0cd00cef36436p-2, -0x1.9fb0a0c93e2b4p-56, 0x1.ee0b1fbc0f11cp-1, -0x1.bfd2380bbc3b1p-59},
    {0x1.10ab9c2204c59p-2, -0x1.843c6295a07bfp-56, 0x1.ed83c0c682d90p-1, 0x1.8605a9115beaep-57},
    {0x1.14861aa94ddebp-2, -0x1.be881b5b615a4p-57, 0x1.ecfa744d5efa1p-1, -0x1.56d0a4af541d0p-58},
    {0x1.185f84aa9359bp-2, -0x1.5486ede74dbb2p-57, 0x1.ec6f3ad9efe2ap-1, -0x1.0bc0bfbb6aeaap-55},
    {0x1.1c37d64c6b876p-2, 0x1.46076fe0dcff4p-56, 0x1.ebe214f76efa8p-1, -0x1.02f9f12ba543ep-55},
    {0x1.200f0bb685180p-2, 0x1.31bdc968ef588p-57, 0x1.eb53033302187p-1, -0x1.40e3e817e1641p-56},
    {0x1.23e52111aaf36p-2, -0x1.4f080334eff18p-56, 0x1.eac2061bbaf4fp-1, 0x1.2c1d53e94658dp-57},
    {0x1.27ba1287c8102p-2, -0x1.0fb418a5581b0p-59, 0x1.ea2f1e42969b4p-1, -0x1.bd66b6627d017p-55},
    {0x1.2b8ddc43eb49fp-2, 0x1.1553899f2d807p-57, 0x1.e99a4c3a7cd83p-1, -0x1.2264b1bc53ce8p-55},
    {0x1.2f607a724b365p-2, 0x1.70f6b47bd3fc4p-56, 0x1.e90390983fa78p-1, -0x1.28954c7f8dd8fp-55},
    {0x1.3331e94049f87p-2, 0x1.e0cb6b40c302cp-56, 0x1.e86aebf29a9edp-1, 0x1.9397afdbb58a7p-55},
    {0x1.370224dc7913dp-2, -0x1.badca2c0c47d0p-57, 0x1.e7d05ee232573p-1, -0x1.c4621b65d22fbp-55},
    {0x1.3ad129769d3d8p-2, 0x1.03d550487839ap-63, 0x1.e733ea0193d40p-1, -0x1.6428b3546ce13p-55},
    {0x1.3e9ef33fb22cbp-2, -0x1.cd85ab33f11b4p-58, 0x1.e6958ded33e8ep-1, -0x1.a2d4a62b00c99p-59},
    {0x1.426b7e69ee697p-2, -0x1.f09c75705c59fp-56, 0x1.e5f54b436e9d0p-1, 0x1.7eb0fd02fc8bcp-55},
    {0x1.4636c728c71a8p-2, -0x1.3e9c8df9261a7p-57, 0x1.e55322a4868cep-1, -0x1.ff59bf4b08084p-55},
    {0x1.4a00c9b0f3d20p-2, 0x1.823ba6bb08eadp-56, 0x1.e4af14b2a449cp-1, -0x1.68ca02e8a6833p-55},
    {0x1.4dc982387258bp-2, -0x1.57b6fc37e14d8p-56, 0x1.e4092211d5b7ep-1, 0x1.bc7573acc79e9p-56},
    {0x1.5190ecf68a77ap-2, 0x1.b357155eef0f3p-56, 0x1.e3614b680d6a5p-1, -0x1.27793aa015237p-56},
    {0x1.55570623d1c18p-2, 0x1.4cdaa70975dbep-59, 0x1.e2b7915d21fccp-1, 0x1.3149be81a8fd3p-55},
    {0x1.591bc9fa2f597p-2, 0x1.7c74bac3fe0cbp-57, 0x1.e20bf49acd6c1p-1, -0x1.660aec7ef636bp-58},
    {0x1.5cdf34b4dfb98p-2, 0x1.7458b493a1d20p-56, 0x1.e15e75ccac6c3p-1, 0x1.3261811c2a8d6p-55},
    {0x1.60a1429078775p-2, 0x1.b1fd80ba89133p-58, 0x1.e0af15a03dbcep-1, 0x1.fe8e702771ae6p-58},
    {0x1.6461efcaec077p-2, -0x1.94dc7178bd734p-56, 0x1.dffdd4c4e17bep-1, 0x1.51415af290396p-55},
    {0x1.682138a38d7f7p-2, -0x1.d889202444aadp-56, 0x1.df4ab3ebd875ep-1, -0x1.e2d8a7e6736c4p-55},
    {0x1.6bdf195b1456ap-2, -0x1.1c05d4d4179b8p-57, 0x1.de95b3c84374dp-1, 0x1.8b4bf71c7de42p-55},
    {0x1.6f9b8e33a0255p-2, 0x1.42bc14ee9da0dp-56, 0x1.ddded50f228d6p-1, -0x1.e80c8d42ba2bfp-57},
    {0x1.73569370bc62bp-2, 0x1.bf3442bdd527ep-56, 0x1.dd26187754695p-1, 0x1.f16517d83bbcap-56},
    {0x1.7710255764214p-2, -0x1.6ead7314bb6cep-57, 0x1.dc6b7eb995912p-1, 0x1.4b364776dcd35p-58},
    {0x1.7ac8402e05c9bp-2, 0x1.a39e39ea9f25cp-56, 0x1.dbaf08907fb2fp-1, 0x1.9a5395924f2ffp-55},
    {0x1.7e7ee03c86d4ep-2, -0x1.b63bcdabf5af2p-56, 0x1.daf0b6b888e83p-1, 0x1.a249e2b5e5ceap-55},
    {0x1.823401cc47836p-2, -0x1.08091b8d964c7p-56, 0x1.da3089f002f90p-1, -0x1.15b9a62d60141p-55},
    {0x1.85e7a12826949p-2, 0x1.8a40e9b5face0p-56, 0x1.d96e82f71a9dcp-1, 0x1.ff61bd5d2039dp-55},
    {0x1.8999ba9c84fbap-2, 0x1.c1fef1753c7bfp-59, 0x1.d8aaa28fd6bf6p-1, -0x1.d74eb5f28a765p-55},
    {0x1.8d4a4a774992fp-2, 0x1.44a02ea766326p-56, 0x1.d7e4e97e17b4ap-1, -0x1.3b770352bed94p-57},
    {0x1.90f94d07e4ce8p-2, 0x1.32c8fb2f2ea25p-56, 0x1.d71d5887967eep-1, -0x1.516e003d9dd64p-58},
    {0x1.94a6be9f546c5p-2, -0x1.69ce13e683f58p-56, 0x1.d653f073e4040p-1, -0x1.76236434bec37p-55},
    {0x1.98529b9027235p-2, -0x1.70c0c231d4808p-56, 0x1.d588b20c6846ep-1, -0x1.bef54b0f32a77p-55},
    {0x1.9bfce02e80510p-2, 0x1.09e39a320b0a4p-56, 0x1.d4bb9e1c619e0p-1, 0x1.f34bb77858f61p-55},
    {0x1.9fa588d01ba55p-2, -0x1.6aa35ae5de16ap-59, 0x1.d3ecb570e3e87p-1, 0x1.8b4d9843b2bf5p-55},
    {0x1.a34c91cc50ccap-2, -0x1.a310e3b50cecdp-58, 0x1.d31bf8d8d7c06p-1, 0x1.e60dd3089cbddp-56},
    {0x1.a6f1f77c1718ap-2, 0x1.e7b0a3486494fp-56, 0x1.d2496924f9ac7p-1, 0x1.f17673d6927ffp-55},
    {0x1.aa95b63a09277p-2, -0x1.6293eb13c0381p-57, 0x1.d1750727d94f0p-1, 0x1.0d52b1ec1a48ep-55},
    {0x1.ae37ca626888ap-2, 0x1.2d294cf918262p-57, 0x1.d09ed3b5d8937p-1, 0x1.a8d847bc2c5bbp-55},
    {0x1.b1d8305321617p-2, -0x1.ae242cb99f519p-56, 0x1.cfc6cfa52ad9fp-1, 0x1.8b5b5508f2a0dp-55},
    {0x1.b576e46bce0e6p-2, 0x1.beb8a2f9cde89p-56, 0x1.ceecfbcdd4213p-1, 0x1.b682a76d7e904p-60},
    {0x1.b913e30dbac43p-2, -0x1.e38ad2f6c3ff1p-56, 0x1.ce115909a82e5p-1, 0x1.1f139bb31109ap-55},
    {0x1.bcaf289be92ddp-2, 0x1.8b06e5fb8daacp-56, 0x1.cd33e83449b34p-1, 0x1.61068cd16da9fp-57},
    {0x1.c048b17b140a3p-2, 0x1.19fe6757e9fa7p-57, 0x1.cc54aa2b2972ep-1, 0x1.4ee162ba83a98p-57},
    {0x1.c3e07a11b2c6ep-2, -0x1.76c26153de447p-57, 0x1.cb739fcd8563cp-1, -0x1.7e793b55ea6a2p-55},
    {0x1.c7767ec7fd19ep-2, -0x1.eb14d1a3d5826p-58, 0x1.ca90c9fc67d0bp-1, -0x1.46a81485e3462p-57},
    {0x1.cb0abc07ee997p-2, -0x1.2d6ebfce7c050p-56, 0x1.c9ac299aa677fp-1, 0x1.7560844703578p-55},
    {0x1.ce9d2e3d4a51fp-2, -0x1.2fc8a12dae298p-57, 0x1.c8c5bf8ce1a84p-1, 0x1.ab3d1a1590123p-56},
    {0x1.d22dd1d59e5a4p-2, -0x1.3a439e78d5440p-57, 0x1.c7dd8cb9835c3p-1, -0x1.dd23c3aa785f7p-55},
    {0x1.d5bca34047661p-2, 0x1.28a44a75fc29cp-56, 0x1.c6f39208be53bp-1, -0x1.741dbfbaadb42p-55},
    {0x1.d9499eee7456bp-2, 0x1.40792a7dee83dp-59, 0x1.c607d0648d2c1p-1, -0x1.2169fa0e8ce47p-56},
    {0x1.dcd4c15329c9ap-2, 0x1.0d4c6e171fd9ap-56, 0x1.c51a48b8b175ep-1, -0x1.1bbb43b9aa880p-57},
    {0x1.e05e06e345a5dp-2, 0x1.0f838535e3a93p-57, 0x1.c42afbf2b2c93p-1, -0x1.f2a77b07f14e6p-57},
    {0x1.e3e56c1582a69p-2, -0x1.0a4821099f88fp-58, 0x1.c339eb01ddd81p-1, -0x1.caaf5ee82c5c0p-55},
    {0x1.e76aed627be4ep-2, 0x1.8937d7fe3f57fp-56, 0x1.c24716d7437f3p-1, -0x1.4874850e5d927p-56},
    {0x1.eaee8744b05f0p-2, -0x1.789b43c9b027dp-58, 0x1.c1528065b7d50p-1, -0x1.892111312e828p-55},
    {0x1.ee703638867dap-2, -0x1.3872f1aaf5cbdp-56, 0x1.c05c28a1d1369p-1, 0x1.f9a1ac93aee95p-55},
    {0x1.f1eff6bc4f97bp-2, 0x1.17212f8a7525cp-56, 0x1.bf641081e7536p-1, 0x1.b7bd71628a9a1p-55},
    {0x1.f56dc5504b742p-2, 0x1.a18434fc65e81p-56, 0x1.be6a38fe1236ap-1, 0x1.fdab7587b02acp-56},
    {0x1.f8e99e76abc97p-2, 0x1.9d950af2d00a3p-58, 0x1.bd6ea310294f5p-1, 0x1.31bbcc88c109dp-56},
    {0x1.fc637eb397bb8p-2, 0x1.d8f507b2ea243p-56, 0x1.bc714fb3c2766p-1, 0x1.eb19c8a06c310p-56},
    {0x1.ffdb628d2f57ap-2, 0x1.f4a992e905b6ap-57, 0x1.bb723fe630f32p-1, 0x1.72bd2452d0a39p-56},
    {0x1.01a8a345c7871p-1, 0x1.a6deb08435ee0p-55, 0x1.ba7174a6847dep-1, -0x1.defb28953f677p-60},
    {0x1.0362939c69955p-1, -0x1.2d8cd78397b01p-55, 0x1.b96eeef58840ep-1, 0x1.45a3cc78fade0p-58},
    {0x1.051b80908da4ap-1, 0x1.f7686b96f8f0ep-57, 0x1.b86aafd5c1d79p-1, 0x1.a6cc07549db15p-55},
    {0x1.06d3686946e5bp-1, 0x1.3f5ae4538ff1bp-55, 0x1.b764b84b704c2p-1, -0x1.f5848c21b389bp-55},
    {0x1.088a496eada47p-1, 0x1.e07780127666dp-56, 0x1.b65d095c8b12ep-1, 0x1.1d33cb4db26bdp-56},
    {0x1.0a4021e9e1001p-1, -0x1.6f643a13914f6p-55, 0x1.b553a410c104ep-1, 0x1.8ff7947027a15p-58},
    {0x1.0bf4f02508a1cp-1, 0x1.da0ced695fe43p-57, 0x1.b44889717757cp-1, 0x1.b17c0070c2815p-61},
    {0x1.0da8b26b5672ep-1, -0x1.a58def0bee909p-55, 0x1.b33bba89c8948p-1, 0x1.ea6a51d1f6ca9p-55},
    {0x1.0f5b670908515p-1, 0x1.a7ed13e5fbb05p-56, 0x1.b22d3866838c8p-1, -0x1.6e9a5f4ff5b7dp-59},
    {0x1.110d0c4b69c3bp-1, 0x1.d918998809981p-55, 0x1.b11d04162a4c6p-1, 0x1.1dd561efbc0c2p-56},
    {0x1.12bda080d5abcp-1, 0x1.d3a97fee7e959p-55, 0x1.b00b1ea8f10dep-1, -0x1.958d71955fb3fp-55},
    {0x1.146d21f8b7f82p-1, 0x1.bf9535e2739a8p-56, 0x1.aef78930bd275p-1, -0x1.f836279746f94p-56},
    {0x1.161b8f038f54ep-1, -0x1.c5ee5cde48178p-58, 0x1.ade244c123f9fp-1, 0x1.8d3fc4dfa0f9cp-55},
    {0x1.17c8e5f2eedb0p-1, 0x1.35e57102e2488p-57, 0x1.accb526f69de5p-1, 0x1.8fb6a8dd6b6ccp-55},
    {0x1.197525197fbefp-1, 0x1.810a2d8e3468ap-57, 0x1.abb2b352810eep-1, 0x1.db59f6f843f91p-55},
    {0x1.1b204acb02fddp-1, -0x1.f190c70cbb5fep-58, 0x1.aa98688308913p-1, -0x1.b83d607cd5072p-63},
    {0x1.1cca555c5309bp-1, -0x1.fc53db3120a83p-58, 0x1.a97c731b4b1d2p-1, 0x1.1245d6144e0cdp-56},
    {0x1.1e7343236574cp-1, 0x1.22a3fa4f41d5ap-56, 0x1.a85ed4373e02dp-1, 0x1.9be06385ec792p-57},
    {0x1.201b12774c9b6p-1, -0x1.d31fe293d1034p-59, 0x1.a73f8cf4800e8p-1, -0x1.c372ed4bdefbfp-57},
    {0x1.21c1c1b0394cfp-1, 0x1.e5b324b23aa31p-58, 0x1.a61e9e72586afp-1, 0x1.58330e2fd453fp-55},
    {0x1.23674f277c73cp-1, 0x1.87167f61285ffp-56, 0x1.a4fc09d1b5825p-1, -0x1.4cce741fb33a5p-55},
    {0x1.250bb93788bbbp-1, 0x1.ea3d02457bccep-56, 0x1.a3d7d0352bdcfp-1, -0x1.68dbaeca19669p-55},
    {0x1.26aefe3bf437cp-1, -0x1.657b40100c3a6p-60, 0x1.a2b1f2c0f4ff0p-1, 0x1.c9fe748eedc9cp-56},
    {0x1.28511c917a067p-1, -0x1.01df1d9a16b70p-55, 0x1.a18a729aee445p-1, 0x1.95e25736c0357p-60},
    {0x1.29f21295fbf51p-1, -0x1.6bd333b0b0cbbp-55, 0x1.a06150ea97ba3p-1, 0x1.bc4a6cdcbf214p-55},
    {0x1.2b91dea88421ep-1, -0x1.fa371db216ab0p-55, 0x1.9f368ed912f85p-1, -0x1.1d200c5791606p-55},
    {0x1.2d307f29469cfp-1, 0x1.ba5fe5f921e0bp-56, 0x1.9e0a2d9121f73p-1, -0x1.5e7ba2bd64f0ap-56},
    {0x1.2ecdf279a3082p-1, 0x1.d3557e0e7e37ep-55, 0x1.9cdc2e3f25e5cp-1, 0x1.3f99112993f62p-55},
    {0x1.306a36fc26359p-1, -0x1.21305ba6473abp-55, 0x1.9bac92111dfcep-1, 0x1.0ce9c6f353e9ap-55},
    {0x1.32054b148bc4fp-1, 0x1.f6b42095a135bp-55, 0x1.9a7b5a36a6514p-1, 0x1.722cfcc9fa7a9p-55},
    {0x1.339f2d27bfc05p-1, -0x1.ddf4717254e6fp-55, 0x1.994887e0f6a3fp-1, 0x1.0be6cea471d02p-56},
    {0x1.3537db9be0367p-1, 0x1.b327e7af040f0p-57, 0x1.98141c42e1310p-1, 0x1.d1ff80488f08dp-55},
    {0x1.36cf54d83ed56p-1, 0x1.6e1f20c8b5b7dp-57, 0x1.96de1890d17cep-1, 0x1.caa25dc8e6991p-55},
    {0x1.386597456282bp-1, -0x1.10fada93b07a8p-56, 0x1.95a67e00cb1fdp-1, -0x1.0befda21f862dp-55},
    {0x1.39faa14d08f31p-1, -0x1.cd164b88ce902p-57, 0x1.946d4dca688fcp-1, 0x1.02c6f2978af1dp-55},
    {0x1.3b8e715a2840ap-1, -0x1.97653a7d2f07ap-56, 0x1.93328926d9e92p-1, -0x1.bb77003600cdap-55},
    {0x1.3d2105d8f07fep-1, 0x1.1602a42d4b3d4p-57, 0x1.91f63150e3b52p-1, -0x1.80bd33fb3df2ep-57},
    {0x1.3eb25d36cd53ap-1, -0x1.be570e1570fc0p-58, 0x1.90b84784ddaf7p-1, -0x1.0feb10ab93b87p-56},
    {0x1.404275e2677f7p-1, -0x1.f859aade89fd2p-56, 0x1.8f78cd00b1899p-1, -0x1.d5d3da9ac3dd3p-58},
    {0x1.41d14e4ba6790p-1, 0x1.4608fd287ecf5p-55, 0x1.8e37c303d9ad1p-1, -0x1.463a4b53d4bf8p-57},
    {0x1.435ee4e3b1f86p-1, 0x1.fd05667361565p-55, 0x1.8cf52acf5ffc0p-1, 0x1.eb45b71ac7cc5p-56},
    {0x1.44eb381cf386bp-1, -0x1.3ed6c1e6a5505p-55, 0x1.8bb105a5dc900p-1, 0x1.863e03e9474c1p-55},
    {0x1.4676466b180b9p-1, 0x1.d4f2a623cabd3p-56, 0x1.8a6b54cb74779p-1, 0x1.754938eccac38p-55},
    {0x1.48000e431159fp-1, -0x1.b194a7463ed10p-55, 0x1.89241985d871fp-1, 0x1.c48d9c413ed84p-55},
    {0x1.49888e1b17ba8p-1, 0x1.85f236b9ef692p-56, 0x1.87db551c43a98p-1, 0x1.cc790421e159ap-58},
    {0x1.4b0fc46aab761p-1, 0x1.0da05738cc59cp-61, 0x1.869108d77a6c6p-1, 0x1.338ffe2bfe9ddp-56},
    {0x1.4c95afaa965d9p-1, 0x1.99f87b905eef7p-55, 0x1.85453601c8e3ep-1, -0x1.8826853e7560ap-57},
    {0x1.4e1a4e54ed51bp-1, -0x1.a492f89b7c76ap-55, 0x1.83f7dde701ca0p-1, -0x1.152cf609bc6e8p-59},
    {0x1.4f9d9ee511c85p-1, 0x1.2ed6c74c625f7p-55, 0x1.82a901d47d1dcp-1, 0x1.7cbb4128c4c1ep-55},
    {0x1.511f9fd7b351cp-1, -0x1.5c0e861c48831p-55, 0x1.8158a31916d5dp-1, -0x1.de8b90b8228dep-57},
    {0x1.52a04faad11b6p-1, 0x1.07d7bd78bcb9cp-55, 0x1.8006c3052d917p-1, 0x1.aa8fb560a8d95p-55},
    {0x1.541facddbb724p-1, 0x1.232c28520d391p-56, 0x1.7eb362eaa1488p-1, 0x1.a1d65a4a5959fp-58},
    {0x1.559db5f115436p-1, -0x1.7229f7edd6050p-56, 0x1.7d5e841cd1f93p-1, 0x1.ba5492fa6d189p-58},
    {0x1.571a6966d59b3p-1, 0x1.c843b4d0fb197p-58, 0x1.7c0827f09e54fp-1, -0x1.c73d6d72aee68p-57},
    {0x1.5895c5c24923bp-1, 0x1.b97f22c957c4fp-55, 0x1.7ab04fbc626b6p-1, 0x1.36a41f9c8150ap-55},
    {0x1.5a0fc98813a12p-1, -0x1.d82e2b7d4227bp-55, 0x1.7956fcd7f6543p-1, -0x1.ab276e9d45ae4p-55},
    {0x1.5b88733e316d1p-1, -0x1.077c33cd5e751p-55, 0x1.77fc309cacd6ep-1, 0x1.a61550088db65p-58},
    {0x1.5cffc16bf8f0dp-1, 0x1.96cb370eb578ap-55, 0x1.769fec655211fp-1, -0x1.827d5cf8c68c5p-57},
    {0x1.5e75b29a1c1dfp-1, 0x1.c266e6544ba29p-55, 0x1.7542318e2a1fap-1, 0x1.da5b28e9eb3b9p-55},
    {0x1.5fea4552a9e57p-1, 0x1.0b6cef7ee20b7p-55, 0x1.73e30174efba1p-1, -0x1.5d3ae3d94ad5fp-57},
    {0x1.615d78210faddp-1, -0x1.e3827d0c03315p-56, 0x1.72825d78d2dd2p-1, -0x1.5c7ee90b400a9p-55},
    {0x1.62cf49921ac79p-1, -0x1.edd9855b6241ap-55, 0x1.712046fa77678p-1, 0x1.425b0a5029c81p-55},
    {0x1.643fb833f9e07p-1, -0x1.4a1c5cd0442cdp-57, 0x1.6fbcbf5bf3ba2p-1, 0x1.eaec3811b3b5dp-55},
    {0x1.65aec2963e755p-1, 0x1.126f96b71053cp-55, 0x1.6e57c800cf55ep-1, 0x1.60286dedbd0a6p-55},
    {0x1.671c6749de429p-1, -0x1.57b95de1e1fdfp-55, 0x1.6cf1624e01782p-1, 0x1.d2f32a51e82e8p-56},
    {0x1.6888a4e134b2fp-1, -0x1.6b7d37644d5e6p-55, 0x1.6b898fa9efb5dp-1, 0x1.15ac786ccf4b2p-56},
    {0x1.69f379f0044d7p-1, 0x1.d89d29f8584f8p-55, 0x1.6a20517c6c950p-1, 0x1.a6fd059b9724cp-55},
    {0x1.6b5ce50b7821ap-1, -0x1.5d5158f702e0fp-57, 0x1.68b5a92eb6253p-1, -0x1.9a91ad985f89cp-55},
    {0x1.6cc4e4ca25321p-1, -0x1.60095ee08b1c7p-55, 0x1.6749982b7495cp-1, -0x1.c9e7453b2bb61p-55},
    {0x1.6e2b77c40bde1p-1, -0x1.0e729857fad53p-56, 0x1.65dc1fdeb8cbap-1, -0x1.97c1b47337c77p-58},
    {0x1.6f909c929949ap-1, 0x1.da20306b5ddcbp-56, 0x1.646d41b5faf52p-1, 0x1.e17dedc76c083p-56},
};

/// atan(k/256) in row k for k = 0 .. 256, rounded to a double-double as
/// above (checked by tan(atan(k/256)) = k/256; row 256 is kPiQuarter).
struct AtanEntry {
  double hi, lo;
};
constexpr int kAtanSteps = 256;
constexpr AtanEntry kAtanTable[] = {
    {0.0, 0.0},
    {0x1.ffff5555bbbb7p-9, 0x1.4bb12afb6b6d5p-64},
    {0x1.fffd555bbba97p-8, 0x1.68062351fbbe6p-63},
    {0x1.7ffb80184c30ap-7, -0x1.725017508234bp-61},
    {0x1.fff555bbb729bp-7, -0x1.220c39d4dff50p-61},
    {0x1.3ff595f18a700p-6, -0x1.213eac36cfb2cp-60},
    {0x1.7fee0184a5c36p-6, -0x1.43189fc0a354bp-60},
    {0x1.bfe36df291712p-6, -0x1.e1bec7756100ep-61},
    {0x1.ffd55bba97625p-6, -0x1.5ec431444912cp-60},
    {0x1.1fe1a5c2ec497p-5, 0x1.886091e8fc4cbp-59},
    {0x1.3fd65f169c9d9p-5, 0x1.7230a716461b5p-61},
    {0x1.5fc89a5fa3b2dp-5, 0x1.2bb73bf4e7f99p-59},
    {0x1.7fb818430da2ap-5, -0x1.86ef8f794f105p-63},
    {0x1.9fa49986984dfp-5, 0x1.322907af0abc2p-59},
    {0x1.bf8ddf139c444p-5, -0x1.89fe34b2a7fa8p-59},
    {0x1.df73a9f9f1882p-5, -0x1.251b5c410bcb4p-62},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
    {0x1.0f99ea71d52a7p-4, -0x1.2069feec3624fp-61},
    {0x1.1f86dbf082d59p-4, -0x1.095dc7732ef81p-59},
    {0x1.2f719318a4a9ap-4, 0x1.3fd1779b9801fp-63},
    {0x1.3f59f0e7c559dp-4, 0x1.ac4ce285df847p-58},
    {0x1.4f3fd677292fbp-4, 0x1.008d36264979ep-59},
    {0x1.5f2324fd2d7b2p-4, 0x1.8a8da4401318ep-58},
    {0x1.6f03bdcea4b0dp-4, -0x1.3f00e512fa17dp-60},
    {0x1.7ee182602f10fp-4, -0x1.cfb654c0c3d98p-58},
    {0x1.8ebc54478fb28p-4, 0x1.732880cad24ccp-59},
    {0x1.9e94153cfdcf1p-4, 0x1.a332e1d69c47ep-58},
    {0x1.ae68a71c722b8p-4, 0x1.c014e6910b9dbp-59},
    {0x1.be39ebe6f07c3p-4, 0x1.f7b8f29a05987p-58},
    {0x1.ce07c5c3cca32p-4, 0x1.138e6425918a7p-59},
    {0x1.ddd21701eba6ep-4, 0x1.94effcd76fe58p-58},
    {0x1.ed98c2190043bp-4, -0x1.3a598592c7b13p-61},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.068d584212b3ep-3, -0x1.9e2d283019bfdp-57},
    {0x1.0e6adccf40882p-3, -0x1.d71a31bb98d0dp-57},
    {0x1.1646541060850p-3, 0x1.6bcee8ae7ea92p-57},
    {0x1.1e1fafb043727p-3, -0x1.b485914dacf8cp-59},
    {0x1.25f6e171a535cp-3, 0x1.7c6d7bde1a310p-57},
    {0x1.2dcbdb2fba1ffp-3, 0x1.8f28705561534p-58},
    {0x1.359e8edeb99a4p-3, -0x1.a5fd74e4604c6p-57},
    {0x1.3d6eee8c6626cp-3, 0x1.61a3b0ce9281bp-57},
    {0x1.453cec6092a9ep-3, 0x1.1f653b3a5a78bp-57},
    {0x1.4d087a9da4f17p-3, 0x1.1f323f1adf158p-57},
    {0x1.54d18ba11570ap-3, 0x1.18282f2884073p-57},
    {0x1.5c9811e3ec26ap-3, -0x1.054ab2c010f3dp-58},
    {0x1.645bfffb3aa74p-3, -0x1.f536b677c2cb4p-60},
    {0x1.6c1d4898933d9p-3, -0x1.2954a7603c427p-58},
    {0x1.73dbde8a7d202p-3, -0x1.5ad0f6d4a665dp-58},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
    {0x1.8350be398ebc8p-3, -0x1.5a91332b9c90dp-58},
    {0x1.8b06ee2879c29p-3, -0x1.118cd30308c4fp-57},
    {0x1.92ba37d050272p-3, -0x1.0d3ded0ff4764p-57},
    {0x1.9a6a8e96c8626p-3, 0x1.cf601e7b4348ep-59},
    {0x1.a217e601081a6p-3, -0x1.0def8a60af374p-57},
    {0x1.a9c231b403279p-3, 0x1.0e8bbe89cca85p-57},
    {0x1.b1696574d780cp-3, -0x1.85ab8fc15a673p-58},
    {0x1.b90d7529260a2p-3, 0x1.17b10d2e0e5abp-61},
    {0x1.c0ae54d768467p-3, -0x1.04cdbf55f26dcp-57},
    {0x1.c84bf8a742e6ep-3, -0x1.95bdd0682ea26p-58},
    {0x1.cfe654e1d5395p-3, 0x1.47b9a3f71eafbp-57},
    {0x1.d77d5df205736p-3, 0x1.c648d1534597ep-57},
    {0x1.df110864c9d9ep-3, -0x1.5818b53bf4781p-60},
    {0x1.e6a148e96ec4dp-3, 0x1.866b22029f765p-57},
    {0x1.ee2e1451d980dp-3, -0x1.9a7708c46ba91p-58},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.fd3d1fc40dbe4p-3, 0x1.37146f3a1c5eap-59},
    {0x1.025fa510665b6p-2, -0x1.672df6832fa48p-56},
    {0x1.061eea03d6291p-2, -0x1.5f760db154301p-59},
    {0x1.09dc597d86362p-2, 0x1.62e47390cb865p-56},
    {0x1.0d97ee509acb3p-2, 0x1.47c317bd5a3ebp-56},
    {0x1.1151a362431cap-2, -0x1.4dc8dc9077b9fp-56},
    {0x1.150973a9ce547p-2, -0x1.796ba7f9ca328p-56},
    {0x1.18bf5a30bf178p-2, 0x1.30ca4748b1bf9p-57},
    {0x1.1c735212dd884p-2, -0x1.7d9ac78cb2f2ep-57},
    {0x1.2025567e47c96p-2, -0x1.1832328f4290ep-57},
    {0x1.23d562b381042p-2, -0x1.c531716200088p-58},
    {0x1.278372057ef46p-2, -0x1.077cdd36dfc81p-56},
    {0x1.2b2f7fd9b5fe2p-2, 0x1.423cfc1c2d443p-61},
    {0x1.2ed987a823cfep-2, 0x1.b91258ea012cap-57},
    {0x1.328184fb58952p-2, -0x1.a95f0a9939f2fp-56},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
    {0x1.39cb4eb76157cp-2, -0x1.2f4da5a214713p-56},
    {0x1.3d6d129271134p-2, 0x1.137ca41cc958ap-56},
    {0x1.410cbad6c7d33p-2, -0x1.b0c8bae13b512p-56},
    {0x1.44aa436c2af0ap-2, -0x1.5d5e43c55b3bap-56},
    {0x1.4845a84d0c21bp-2, 0x1.1e28a7563c6a6p-56},
    {0x1.4bdee586890e7p-2, -0x1.e4dc77c22a757p-57},
    {0x1.4f75f73869979p-2, -0x1.95a1cf7ff1108p-58},
    {0x1.530ad9951cd4ap-2, -0x1.2566480884082p-57},
    {0x1.569d88e1b4cd8p-2, -0x1.fec61e713cfe2p-57},
    {0x1.5a2e0175e0f4ep-2, 0x1.13b7a8f82e457p-56},
    {0x1.5dbc3fbbe768dp-2, 0x1.ea0ec1b76f7dap-57},
    {0x1.614840309cfe2p-2, -0x1.a725715711f00p-56},
    {0x1.64d1ff635c1c6p-2, -0x1.fa403e7c0fdbep-56},
    {0x1.685979f5fa6fep-2, -0x1.257814d1ada9cp-59},
    {0x1.6bdeac9cbd76dp-2, -0x1.a5c563e6de828p-58},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.72e22d53aa2aap-2, -0x1.d9c934e79f27cp-56},
    {0x1.7660752817502p-2, -0x1.dd11791cc7600p-59},
    {0x1.79dc6899118d1p-2, 0x1.b7413a0ef606dp-61},
    {0x1.7d5604b63b3f7p-2, 0x1.69c885c2b249ap-56},
    {0x1.80cd46a14b1d1p-2, -0x1.e79f99684fa19p-56},
    {0x1.84422b8df95d7p-2, 0x1.d76a0299b41b6p-56},
    {0x1.87b4b0c1ebedcp-2, -0x1.6dcfaa2fa470fp-56},
    {0x1.8b24d394a1b25p-2, 0x1.b6d0ba3748fa8p-56},
    {0x1.8e92916f5cde8p-2, 0x1.4c0a7e12bfafbp-56},
    {0x1.91fde7cd0c662p-2, 0x1.1074188054b53p-56},
    {0x1.9566d43a34907p-2, 0x1.9b01537e0af2bp-57},
    {0x1.98cd5454d6b18p-2, 0x1.9e6c988fd0a77p-56},
    {0x1.9c3165cc58107p-2, 0x1.b669602250cfbp-59},
    {0x1.9f93066168002p-2, -0x1.c827047c9439ap-56},
    {0x1.a2f233e5e530bp-2, 0x1.814d5f797086bp-58},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
    {0x1.a9a92d59e98cfp-2, 0x1.2e42dff75d817p-59},
    {0x1.ad00f5422058bp-2, 0x1.fc4c33891d2e8p-56},
    {0x1.b056420ae9344p-2, -0x1.9313946363455p-56},
    {0x1.b3a911da65c6cp-2, 0x1.ae187b1ca5040p-56},
    {0x1.b6f962e737efcp-2, -0x1.ca53464981e71p-58},
    {0x1.ba473378624a5p-2, 0x1.519a1b46e4affp-56},
    {0x1.bd9281e528192p-2, -0x1.4b15439af6b66p-56},
    {0x1.c0db4c94ec9f0p-2, -0x1.cc1ce70934c34p-56},
    {0x1.c42191ff11eb7p-2, -0x1.b17df434b3eeep-56},
    {0x1.c76550aad71f9p-2, -0x1.74b8bff7043e4p-56},
    {0x1.caa6872f3631bp-2, 0x1.9506781636f48p-61},
    {0x1.cde53432c1351p-2, -0x1.a2cfa4418f1adp-56},
    {0x1.d121566b7f2adp-2, 0x1.be67835886c30p-56},
    {0x1.d45aec9ec862bp-2, 0x1.89421163ef92dp-57},
    {0x1.d791f5a1226f5p-2, -0x1.4017ea5b64a76p-57},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.ddf85bb026974p-2, 0x1.43bbb0c0a1226p-57},
    {0x1.e127b6b0744b0p-2, -0x1.2b0986398d4abp-58},
    {0x1.e4548066cf51ap-2, 0x1.3a3aa12ce98f2p-59},
    {0x1.e77eb7f175a34p-2, 0x1.0e53dc1bf3435p-56},
    {0x1.eaa65c7cf28c4p-2, 0x1.2fb2ceca3bf05p-57},
    {0x1.edcb6d43f8435p-2, -0x1.fc976330884e4p-58},
    {0x1.f0ede98f393d0p-2, -0x1.2f40a87cb1894p-56},
    {0x1.f40dd0b541418p-2, -0x1.a3992dc382a23p-57},
    {0x1.f72b221a4e495p-2, 0x1.489c20f7eb740p-58},
    {0x1.fa45dd3029259p-2, -0x1.ca563dc28d8b5p-56},
    {0x1.fd5e0175fdf83p-2, 0x1.3a87b1ec49b15p-57},
    {0x1.0039c73c1a40cp-1, -0x1.b32c949c9d593p-55},
    {0x1.01c341e82422dp-1, 0x1.3db44fcca90eep-55},
    {0x1.034b709250488p-1, 0x1.8f9b38d855410p-56},
    {0x1.04d25314342e6p-1, -0x1.1c8636442c767p-55},
    {0x1.0657e94db30d0p-1, -0x1.d5b495f6349e6p-56},
    {0x1.07dc3324e9b38p-1, 0x1.b70c9e04450acp-56},
    {0x1.095f30861a590p-1, -0x1.121b20a15a9f3p-56},
    {0x1.0ae0e1639866cp-1, 0x1.075abf2de445ap-56},
    {0x1.0c6145b5b43dap-1, 0x1.974fa13b5404fp-58},
    {0x1.0de05d7aa6f7dp-1, -0x1.83684b1c529abp-56},
    {0x1.0f5e28b67e295p-1, 0x1.311b17ec990d0p-65},
    {0x1.10daa77307a0dp-1, 0x1.69c33d44c7b05p-55},
    {0x1.1255d9bfbd2a9p-1, -0x1.2bdaee1c0ee35p-58},
    {0x1.13cfbfb1b056ep-1, 0x1.3110e6fc3ed38p-55},
    {0x1.154859637646ap-1, -0x1.4ba7c548bf3c3p-55},
    {0x1.16bfa6f5137e1p-1, 0x1.9606fe141bd35p-56},
    {0x1.1835a88be7c13p-1, 0x1.c621cec00c301p-55},
    {0x1.19aa5e5299f9ap-1, -0x1.a606c2c58f835p-55},
    {0x1.1b1dc87904285p-1, -0x1.21e8c8aef8f29p-57},
    {0x1.1c8fe7341f64fp-1, 0x1.28bbc9d5e792ap-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.1f7043557138ap-1, 0x1.6c659f6d7dd47p-56},
    {0x1.20de813e823b2p-1, -0x1.791d753ebb744p-55},
    {0x1.224b74c1d192ap-1, 0x1.d6d3df88a60c4p-55},
    {0x1.23b71e2cc9e6ap-1, 0x1.c421c9f38224ep-57},
    {0x1.25217dd17e501p-1, 0x1.56aa88c1b679cp-55},
    {0x1.268a940696da6p-1, 0x1.d1348a04c73ccp-58},
    {0x1.27f261273d1b3p-1, 0x1.43bf36151dd9fp-55},
    {0x1.2958e59308e31p-1, -0x1.09e73b0c6c087p-56},
    {0x1.2abe21aded073p-1, 0x1.c28c001ad022ep-55},
    {0x1.2c2215e024466p-1, -0x1.4b810da3a4be1p-59},
    {0x1.2d84c2961e48cp-1, -0x1.f25420a36e506p-56},
    {0x1.2ee628406cbcap-1, 0x1.c5d5e9ff0cf8dp-55},
    {0x1.30464753b090bp-1, -0x1.3e71261da18f3p-56},
    {0x1.31a52048874bep-1, 0x1.40cab87a7ac24p-55},
    {0x1.3302b39b78856p-1, 0x1.5dd2ed87ba82bp-55},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
    {0x1.35ba0b60ecccep-1, 0x1.e3ba19b9368b9p-55},
    {0x1.3713d0df6c504p-1, -0x1.4f789e031606dp-58},
    {0x1.386c52d3db11fp-1, -0x1.b78e1cbebe6a0p-55},
    {0x1.39c391cd4171ap-1, -0x1.2304331d8bf46p-55},
    {0x1.3b198e5e2564bp-1, -0x1.2f9221f0752acp-56},
    {0x1.3c6e491c78dc5p-1, -0x1.e145094fd0ba7p-55},
    {0x1.3dc1c2a188504p-1, 0x1.2ce6370f4e971p-55},
    {0x1.3f13fb89e96f4p-1, 0x1.ecf8b492644f0p-56},
    {0x1.4064f47569f49p-1, -0x1.aad88f91bf2b2p-55},
    {0x1.41b4ae06fea41p-1, 0x1.3d60a53277652p-57},
    {0x1.430328e4b26d6p-1, -0x1.131591070b99fp-55},
    {0x1.445065b795b56p-1, -0x1.f76d0163f79c8p-56},
    {0x1.459c652badc7fp-1, 0x1.199698e8e135cp-55},
    {0x1.46e727efe4716p-1, -0x1.39b9b1b844cc9p-57},
    {0x1.4830aeb5f7bfep-1, -0x1.a265666764a73p-58},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.4ac00b1c71762p-1, 0x1.b20e72382b900p-55},
    {0x1.4c05e22de94e5p-1, -0x1.c0ac1f09f2edfp-55},
    {0x1.4d4a8023414e8p-1, 0x1.e3a891daa88b0p-57},
    {0x1.4e8de5bb6ec04p-1, 0x1.4a33dbeb3796cp-55},
    {0x1.4fd013b7dd17ep-1, 0x1.d513f3e7c24b5p-56},
    {0x1.51110adc5ed81p-1, 0x1.23dcd6832a63ep-56},
    {0x1.5250cbef1e9fbp-1, -0x1.539b7a3228870p-58},
    {0x1.538f57b89061fp-1, -0x1.1bb74abda520cp-55},
    {0x1.54ccaf0362c8fp-1, 0x1.8a3247f8f43c1p-55},
    {0x1.5608d29c70c34p-1, 0x1.9939cf0de8088p-55},
    {0x1.5743c352b33bap-1, -0x1.ea00d34c87ea6p-55},
    {0x1.587d81f732fbbp-1, -0x1.5e5c9d8c5a950p-56},
    {0x1.59b60f5cfab9ep-1, -0x1.1b04c41026bc5p-55},
    {0x1.5aed6c5909517p-1, 0x1.7312f714a9436p-55},
    {0x1.5c2399c244261p-1, -0x1.31bd4e9e56b35p-55},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
    {0x1.5e8c6941043d0p-1, -0x1.0bf75be451e70p-56},
    {0x1.5fbf0d0d5cc4ap-1, -0x1.b4cfd000b7158p-58},
    {0x1.60f084b46e05fp-1, -0x1.dbb8699945193p-55},
    {0x1.6220d115d7b8ep-1, -0x1.2b785350ee8c1p-57},
    {0x1.634ff312d1f3bp-1, 0x1.9d2f315f2b598p-55},
    {0x1.647deb8e20b90p-1, -0x1.eca04023a51cfp-58},
    {0x1.65aabb6c07b03p-1, -0x1.7939b3af32729p-57},
    {0x1.66d663923e087p-1, -0x1.6ea6febe8bbbap-56},
    {0x1.6800e4e7e2858p-1, -0x1.8ea6a1b3e90f0p-58},
    {0x1.692a40556fb6ap-1, 0x1.d94b95a8ea2ccp-55},
    {0x1.6a5276c4b0576p-1, -0x1.f6b659c46a69ep-55},
    {0x1.6b798920b3d99p-1, -0x1.a80386188c50ep-55},
    {0x1.6c9f7855c3198p-1, 0x1.c09de29bd280dp-56},
    {0x1.6dc44551553afp-1, -0x1.bf8863573828ep-58},
    {0x1.6ee7f10204aefp-1, 0x1.692eea3066272p-55},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.712be84295198p-1, 0x1.5cd90337d8881p-55},
    {0x1.724c35b4fae7bp-1, 0x1.948b32db3499bp-58},
    {0x1.736b65a172dffp-1, 0x1.775fd06a892d1p-56},
    {0x1.748978fba8e0fp-1, 0x1.7b2a6165884a1p-59},
    {0x1.75a670b82d8d8p-1, 0x1.ee4ac4c729087p-55},
    {0x1.76c24dcc6c6c0p-1, 0x1.1952551adc83dp-55},
    {0x1.77dd112ea22c7p-1, 0x1.732608fc10d3dp-55},
    {0x1.78f6bbd5d315ep-1, 0x1.406a089803740p-55},
    {0x1.7a0f4eb9c19a2p-1, 0x1.13c67cd815f57p-57},
    {0x1.7b26cad2e50fep-1, -0x1.ce80df30411fbp-55},
    {0x1.7c3d311a6092bp-1, 0x1.bb3cb2d303288p-55},
    {0x1.7d528289fa093p-1, 0x1.560821e2f3aa9p-55},
    {0x1.7e66c01c114fep-1, -0x1.c82b88b760b8dp-55},
    {0x1.7f79eacb97898p-1, 0x1.fd5ca80ead221p-55},
    {0x1.808c03940694bp-1, -0x1.00f327715f6a5p-55},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
    {0x1.82ad036000005p-1, 0x1.4592fce924d24p-56},
    {0x1.83bbec5cdee22p-1, 0x1.3107104ffc6c3p-57},
    {0x1.84c9c7653f7ebp-1, -0x1.83611fe0a3e8fp-60},
    {0x1.85d69576cc2c5p-1, 0x1.6b66e7fc8b8c3p-57},
    {0x1.86e2578f87ae5p-1, 0x1.022b1375cfe34p-55},
    {0x1.87ed0eadc5a2ap-1, 0x1.0af5ad957f4bcp-56},
    {0x1.88f6bbd023119p-1, -0x1.32d1d25aba660p-58},
    {0x1.89ff5ff57f1f8p-1, -0x1.55b9a5e177a1bp-55},
    {0x1.8b06fc1cf3dffp-1, -0x1.0fb312656db6dp-55},
    {0x1.8c0d9145cf49dp-1, 0x1.bea4076dc4333p-55},
    {0x1.8d13206f8c4cbp-1, -0x1.b018cbaa89a8bp-56},
    {0x1.8e17aa99cc05ep-1, -0x1.ec182ab042f61p-56},
    {0x1.8f1b30c44f167p-1, 0x1.dd1cab93933fdp-57},
    {0x1.901db3eeef187p-1, 0x1.68665e5603c8fp-55},
    {0x1.911f35199833bp-1, 0x1.3ae8a0edbf522p-57},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

/// Arguments for which sin, cos and tan take the fast path: from 2^-900 (a
/// result far from the subnormal numbers, so that the relative error bound
/// is not spoilt by underflow) up to 2^26, where n = x / (pi/2) has at most
/// 26 bits and the reduction below is short.
bool InFastTrigRange(double x) {
  const double ax = std::fabs(x);
  return ax >= 0x1p-900 && ax < 0x1p26;
}

/// Veltkamp's split as in Split, for constants.
constexpr DD SplitConstant(double a) {
  const double t = 134217729.0 * a;
  const double hi = t - (t - a);
  return {hi, a - hi};
}
constexpr DD kPiHalfHiSplit = SplitConstant(kPiHalf.hi);
constexpr double kInversePiHalf = 1.0 / kPiHalf.hi;

/// x = n pi/2 + r: the reduced argument as a magnitude |r| (r.hi >= 0) with
/// r's sign apart, and n mod 4.
struct Reduced {
  DD magnitude;
  bool negative;
  unsigned quadrant;
};

/// The reduction of SinCos above, giving exactly the double-double r the
/// exact path computes, with shorter work that these arguments allow:
/// - n = nearbyint(x / kPiHalf.hi): x times the rounded reciprocal is within
///   2^-50.4 |n| < 2^-24 of that quotient, so it rounds to the same integer
///   unless it lies within 2^-20 of a half, where the quotient decides.
/// - MulD(kPiHalf, n): Dekker's product with n, an integer below 2^26, whose
///   split is (n, 0), so the error of kPiHalf.hi n is exactly
///   (head n - p) + tail n (each step exact, as in Dekker's proof).
/// - Sub(x, P): x - P.hi is exact (for n != 0, x lies within a factor 2 of
///   P.hi: Sterbenz), so the two-sum's error term is 0 and only
///   QuickTwoSum(x - P.hi, -P.lo) remains; that one is exact and already
///   normalized (x - P.hi is 0 or at least ulp(P.hi)/2 >= |P.lo|), so the
///   final QuickTwoSum of Add leaves it as it is.
/// The tests compare the results with the exact path bit for bit.
TRIG_ALWAYS_INLINE Reduced ReduceAsExact(double x) {
  const double quotient = x * kInversePiHalf;
  double n = RoundWith(quotient, kToIntegers);
  if (std::fabs(quotient - n) > 0.5 - 0x1p-20) n = RoundWith(x / kPiHalf.hi, kToIntegers);
  const double p = kPiHalf.hi * n;
  const double e = (kPiHalfHiSplit.hi * n - p) + kPiHalfHiSplit.lo * n;
  const DD product = QuickTwoSum(p, e + kPiHalf.lo * n);
  const DD r = QuickTwoSum(x - product.hi, -product.lo);
  const double sign = std::copysign(1.0, r.hi);
  return {{std::fabs(r.hi), r.lo * sign},
          std::signbit(r.hi),
          static_cast<unsigned>(static_cast<int32_t>(n)) & 3u};
}

/// The Taylor polynomials of t for |t| <= 2^-9 that the table's sums need,
/// with t_hi + t_lo = t exactly and t_hi a multiple of 2^-61 or t itself.
struct Offset {
  double hi, lo;           // t
  double sin_t_minus_t;    // -t^3/6 + t^5/120 - t^7/5040
  double cos_t_minus_1;    // -t^2/2 + t^4/24 - t^6/720
};

/// Splits r (0 <= r.hi <= 0.8, |r.lo| <= ulp(r.hi)/2) into k/256 + t.
/// r.hi - k/256 is exact: for k = 0 it is r.hi; otherwise r.hi > 2^-9, so
/// both are multiples of 2^-61 and the difference is at most 2^-9.
TRIG_ALWAYS_INLINE Offset OffsetFromTable(DD r, int* k) {
  const double a = RoundWith(r.hi, kToTableSteps);
  *k = static_cast<int>(a * kSinCosSteps);
  Offset o;
  o.hi = r.hi - a;
  o.lo = r.lo;
  const double t = o.hi + o.lo;
  const double t2 = t * t;
  o.sin_t_minus_t = t * t2 *
                    (-0x1.5555555555555p-3 +                                      // -1/6
                     t2 * (0x1.1111111111111p-7 + t2 * -0x1.a01a01a01a01ap-13));  // 1/120, -1/5040
  o.cos_t_minus_1 = t2 * (-0.5 + t2 * (0x1.5555555555555p-5 +                     // 1/24
                                       t2 * -0x1.6c16c16c16c17p-10));             // -1/720
  return o;
}

/// f(a + t) = A + B t + A (cos t - 1) + B (sin t - t) with (A, B) the
/// table entry's (sin a, cos a) for f = sin (want_cos = 0) and
/// (cos a, -sin a) for f = cos (want_cos = 1), picked by index and sign.
/// A + B t is formed exactly (Dekker's product; |B t| <= |A| unless A = 0,
/// so the fast two-sum is exact) but for the table's 2^-105, the rounding of
/// the products with t's low part and the table's low parts, and the
/// additions of the small terms, smallest first. The result h + l has
/// |l| <= 2^-17.9 |h|, not normalized (RoundsSurely allows for that).
///
/// The error, relative to f(a + t), with |t| <= 2^-9: cos t - 1 (at most
/// 2^-19) and sin t - t (at most 2^-27 / 6) are evaluated in double from t
/// rounded to a double, relative errors below 6 and 7 units of 2^-53,
/// truncation below 2^-87 absolute. The largest part is A (cos t - 1):
/// 2^-19 * 6 * 2^-53 of A, and A is at most twice f(a + t) (sin, k = 1,
/// t = -2^-9), so 2^-68.4; B (sin t - t) adds 2^-70.8 (sin(a + t) >= |t|
/// when k = 0, >= 2^-9 otherwise), the additions 2^-71, the rest less than
/// 2^-90. The sum is below 2^-67.6 (the tests' survey finds below 2^-69).
TRIG_ALWAYS_INLINE DD SinOrCosOfTable(const double* entry, size_t want_cos, const Offset& t) {
  const double b_sign = 1.0 - 2.0 * static_cast<double>(want_cos);
  const DD a = {entry[2 * want_cos], entry[2 * want_cos + 1]};
  const DD b = {b_sign * entry[2 - 2 * want_cos], b_sign * entry[3 - 2 * want_cos]};
  const DD bt = TwoProd(b.hi, t.hi);
  DD f = QuickTwoSum(a.hi, bt.hi);
  f.lo = ((f.lo + a.lo + bt.lo + b.hi * t.lo + b.lo * t.hi) + b.hi * t.sin_t_minus_t) +
         a.hi * t.cos_t_minus_1;
  return f;
}

/// The relative error bounds that RoundsSurely is given: SinOrCosOfTable's
/// 2^-67.6 with a margin, the exact path's own error (well below 2^-90) and
/// 2^-70 for the rounding of l -/+ the bound in RoundsSurely (|l| up to
/// 2^-17 |h|).
constexpr double kSinCosError = 0x1.6p-67;  // 2^-66.5
/// tan = sin / cos: the two relative errors add, and the division (one
/// correction step) adds less than 2^-100.
constexpr double kTanError = 2.0 * kSinCosError;
/// See Atan2Fast.
constexpr double kAtanError = 0x1.6p-67;

/// a / b for normalized double-doubles with b.hi != 0, to about 2^-100:
/// one reciprocal, one correction from the exact remainder. Normalized.
TRIG_ALWAYS_INLINE DD DivFast(DD a, DD b) {
  const double reciprocal = 1.0 / b.hi;
  const double q = a.hi * reciprocal;  // within 2^-51 of a.hi / b.hi
  const DD qb = TwoProd(q, b.hi);
  // a.hi - qb.hi is exact (Sterbenz: the two are within 2^-50 of each other).
  const double remainder = (((a.hi - qb.hi) - qb.lo) + a.lo) - q * b.lo;
  return QuickTwoSum(q, remainder * reciprocal);
}

/// The double nearest to v = v.hi + v.lo (v.hi > 0, |v.lo| <= 2^-17 v.hi)
/// when every number within relative_error * v.hi of v rounds to it; false
/// when that is not so. Rounding is monotonic, so the two ends decide.
/// v.lo -/+ the bound is itself rounded, by at most 2^-53 of it, that is
/// below 2^-70 of v.hi, which the bounds above leave room for.
TRIG_ALWAYS_INLINE bool RoundsSurely(DD v, double relative_error, double* result) {
  const double bound = relative_error * v.hi;
  const double low = v.hi + (v.lo - bound);
  const double high = v.hi + (v.lo + bound);
  *result = low;
  return low == high && v.hi >= 0x1p-960;  // below, the bound would underflow
}

/// Which function of the reduced argument r each quadrant n mod 4 takes,
/// with r >= 0 standing for |r| (sin is odd, cos even):
///   sin x: sin r, cos r, -sin r, -cos r
///   cos x: cos r, -sin r, -cos r, sin r
///   tan x: tan r, -1 / tan r
/// The choices are made by index and sign, without branches: the quadrant
/// of random arguments is unpredictable.
enum class Function { kSin, kCos, kTan };

template <Function kFunction>
bool SinCosTanFast(double x, double* result) {
  if (!InFastTrigRange(x)) return false;
  const Reduced r = ReduceAsExact(x);
  if (!(r.magnitude.hi <= 0.8)) return false;  // the table's end; never for these x
  int k = 0;
  const Offset t = OffsetFromTable(r.magnitude, &k);
  const double* entry = kSinCosTable[k];
  const size_t odd = r.quadrant & 1u;
  const size_t negative_r = r.negative ? 1u : 0u;
  if (kFunction == Function::kTan) {
    // tan r = sin r / cos r, or the other way round for -1 / tan r.
    const DD num = SinOrCosOfTable(entry, odd, t);
    const DD den = SinOrCosOfTable(entry, 1 - odd, t);
    const DD tan_r = DivFast(QuickTwoSum(num.hi, num.lo), QuickTwoSum(den.hi, den.lo));
    if (!RoundsSurely(tan_r, kTanError, result)) return false;
    *result = (odd ^ negative_r) ? -*result : *result;
    return true;
  }
  // want_cos: whether the quadrant calls for cos r rather than sin r.
  const size_t want_cos = kFunction == Function::kSin ? odd : 1u - odd;
  const DD f = SinOrCosOfTable(entry, want_cos, t);
  if (!RoundsSurely(f, kSinCosError, result)) return false;
  const size_t negative =
      kFunction == Function::kSin
          ? ((r.quadrant >> 1) & 1u) ^ ((1u - odd) & negative_r)
          : (((r.quadrant + 1) >> 1) & 1u) ^ (odd & negative_r);
  *result = negative ? -*result : *result;
  return true;
}

/// atan2 for |x| and |y| both in [2^-400, 2^400], where every product and
/// quotient below is free of overflow and underflow (so Dekker's product is
/// exact) and the exact path's scaling by a power of two is exact, so it
/// works on the same ratio. With p / q the smaller over the larger of |y|,
/// |x| and c = k/256 nearest to it,
///   atan(p/q) = atan(c) + atan(v),  v = (p - c q) / (q + c p),  |v| <= 2^-9.
/// p - c q is exact (Dekker's product, then Sterbenz's lemma for k >= 1:
/// p/q lies within 2^-9 of c >= 2^-8), q + c p is exact to 2^-105, and v
/// comes to 2^-100 from one correction step. atan v - v = -v^3/3 + v^5/5 -
/// v^7/7 (truncation below v^9/9, 2^-75 of v) is evaluated in double from
/// v.hi, within 2^-51 of v: relative error below 2^-49.1 of a term of at
/// most v^3/3, so 2^-68.7 of |v|, and |v| is at most the result (k = 0:
/// atan(p/q) >= v (1 - v^2/3); k >= 1: atan(p/q) >= atan(2^-9) against
/// |v| <= 2^-9). With the table's 2^-105 and the additions (below 2^-71)
/// the error stays below 2^-68.2 of atan(p/q); adding a multiple of pi/2
/// only lowers the relative error, and the exact path's own error (below
/// 2^-90), the rounding test's 2^-70 and a margin make kAtanError.
bool Atan2Fast(double y, double x, double* result) {
  const double ax = std::fabs(x), ay = std::fabs(y);
  if (!(ax >= 0x1p-400 && ax <= 0x1p400 && ay >= 0x1p-400 && ay <= 0x1p400)) return false;
  const bool steep = ay > ax;  // the angle lies above the diagonal
  const double p = steep ? ax : ay, q = steep ? ay : ax;
  const double k = RoundWith(p / q * kAtanSteps, kToIntegers);
  const double c = k * (1.0 / kAtanSteps);
  const DD cq = TwoProd(c, q);
  const DD numerator = TwoSum(p - cq.hi, -cq.lo);
  const DD cp = TwoProd(c, p);
  DD denominator = QuickTwoSum(q, cp.hi);
  denominator.lo += cp.lo;
  const DD v = DivFast(numerator, denominator);
  const double v2 = v.hi * v.hi;
  const double atan_v_minus_v =
      v.hi * v2 *
      (-0x1.5555555555555p-2 +                                  // -1/3
       v2 * (0x1.999999999999ap-3 + v2 * -0x1.2492492492492p-3));  // 1/5, -1/7
  const AtanEntry& a = kAtanTable[static_cast<int>(k)];
  DD angle = QuickTwoSum(a.hi, v.hi);  // a.hi = 0 or a.hi > 2 |v.hi|
  angle.lo = ((angle.lo + a.lo) + v.lo) + atan_v_minus_v;
  // atan2(|y|, |x|): the first octant's angle, mirrored as the exact path
  // does: steep: pi/2 - angle; x < 0: pi - that.
  if (steep || x < 0) {
    const DD base = steep ? kPiHalf : kPiDD;
    const double sign = steep && x < 0 ? 1.0 : -1.0;  // pi - (pi/2 - a) = pi/2 + a
    DD sum = QuickTwoSum(base.hi, sign * angle.hi);
    sum.lo += base.lo + sign * angle.lo;
    angle = sum;
  }
  if (!RoundsSurely(angle, kAtanError, result)) return false;
  *result = y < 0 ? -*result : *result;
  return true;
}

#undef TRIG_ALWAYS_INLINE

}  // namespace

namespace internal {

// The exact functions are called, not inlined, by the public ones, so that
// these return exactly what those do, down to the sign of a nan made by
// arithmetic (for huge arguments), which follows the operand order the
// compiler picks.
#if defined(__GNUC__)
#define TRIG_NOINLINE __attribute__((noinline))
#else
#define TRIG_NOINLINE
#endif

TRIG_NOINLINE double SinExact(double x) {
  double r;
  if (x == 0.0) return x;  // keeps the sign of a zero
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  return s.hi + s.lo;
}

TRIG_NOINLINE double CosExact(double x) {
  double r;
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  return c.hi + c.lo;
}

TRIG_NOINLINE double TanExact(double x) {
  double r;
  if (x == 0.0) return x;
  if (NotReduced(x, &r)) return r;
  DD s, c;
  SinCos(x, &s, &c);
  DD t = Div(s, c);
  return t.hi + t.lo;
}

TRIG_NOINLINE double Atan2Exact(double y, double x) {
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

#undef TRIG_NOINLINE

}  // namespace internal

double Sin(double x) {
  double result;
  return SinCosTanFast<Function::kSin>(x, &result) ? result : internal::SinExact(x);
}

double Cos(double x) {
  double result;
  return SinCosTanFast<Function::kCos>(x, &result) ? result : internal::CosExact(x);
}

double Tan(double x) {
  double result;
  return SinCosTanFast<Function::kTan>(x, &result) ? result : internal::TanExact(x);
}

double Atan2(double y, double x) {
  double result;
  return Atan2Fast(y, x, &result) ? result : internal::Atan2Exact(y, x);
}

}  // namespace trig
