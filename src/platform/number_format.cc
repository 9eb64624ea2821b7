#include "platform/number_format.h"

#include <fmt/format.h>

#include <cmath>
#include <string>
#include <string_view>

namespace platform {

namespace {

/// An unsigned 128-bit number as two 64-bit halves.
struct U128 {
  uint64_t hi, lo;
};

/// The full product of two 64-bit numbers.
U128 Multiply(uint64_t a, uint64_t b) {
  uint64_t a_lo = a & 0xffffffffu, a_hi = a >> 32;
  uint64_t b_lo = b & 0xffffffffu, b_hi = b >> 32;
  uint64_t ll = a_lo * b_lo, lh = a_lo * b_hi, hl = a_hi * b_lo,
           hh = a_hi * b_hi;
  uint64_t mid = (ll >> 32) + (lh & 0xffffffffu) + (hl & 0xffffffffu);
  return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32),
          (mid << 32) | (ll & 0xffffffffu)};
}

/// Bit `k` of `x`; 0 outside 0..127.
bool Bit(U128 x, int k) {
  if (k < 0 || k > 127) return false;
  return k >= 64 ? ((x.hi >> (k - 64)) & 1u) != 0 : ((x.lo >> k) & 1u) != 0;
}

/// Whether any of the bits below bit `k` of `x` is set (all of them for k
/// past 127).
bool AnyBelow(U128 x, int k) {
  if (k <= 0) return false;
  if (k > 127) return x.lo != 0 || x.hi != 0;
  if (k >= 64) {
    return x.lo != 0 || (x.hi & ((uint64_t{1} << (k - 64)) - 1)) != 0;
  }
  return (x.lo & ((uint64_t{1} << k) - 1)) != 0;
}

/// `x` shifted right by `k` (1..127) bits.
U128 ShiftRight(U128 x, int k) {
  if (k >= 64) return {0, x.hi >> (k - 64)};
  return {x.hi >> k, (x.lo >> k) | (x.hi << (64 - k))};
}

/// The fixed form of a finite |value| below 2^53 with at most 19 decimals,
/// worked out exactly: value = m 2^e, and m 10^decimals 2^e is rounded to
/// an integer, ties to even, in 128-bit arithmetic. False when the rounded
/// number does not fit 64 bits (then the general conversion takes over).
bool FixedFast(char* out, size_t* size, double value, int decimals) {
  int e = 0;
  double fraction = std::frexp(std::fabs(value), &e);  // |value| = f 2^e
  if (e > 53 || decimals > 19) return false;
  uint64_t m = static_cast<uint64_t>(std::ldexp(fraction, 53));  // exact
  int shift = 53 - e;  // |value| = m / 2^shift
  uint64_t scale = 1;
  for (int k = 0; k < decimals; ++k) scale *= 10;
  U128 p = Multiply(m, scale);  // below 2^117
  uint64_t n = 0;
  if (shift == 0) {
    if (p.hi != 0) return false;
    n = p.lo;
  } else if (shift < 118) {
    U128 q = ShiftRight(p, shift);
    if (q.hi != 0) return false;
    n = q.lo;
    // Round to nearest, ties to the even neighbour.
    if (Bit(p, shift - 1) && (AnyBelow(p, shift - 1) || (n & 1u) != 0)) {
      if (++n == 0) return false;
    }
  }  // else below half a unit of the last decimal: 0
  char digits[24];
  int len = 0;
  do {
    digits[len++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  while (len <= decimals) digits[len++] = '0';  // at least one integer digit
  size_t k = 0;
  if (std::signbit(value)) out[k++] = '-';
  for (int i = len - 1; i >= 0; --i) {
    out[k++] = digits[i];
    if (i == decimals && decimals > 0) out[k++] = '.';
  }
  *size = k;
  return true;
}

}  // namespace

size_t FormatFixed(char* out, double value, int decimals) {
  if (!std::isfinite(value)) {
    std::string_view text = std::isnan(value)
                                ? (std::signbit(value) ? "-nan" : "nan")
                                : (value < 0 ? "-inf" : "inf");
    return text.copy(out, text.size());
  }
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  size_t size = 0;
  if (FixedFast(out, &size, value, decimals)) return size;
  // {fmt}'s fixed form with a precision is exact decimal conversion with
  // round-half-even on the exact binary value, as glibc's printf; it keeps
  // the sign of a negative value that rounds to zero.
  fmt::format_to_n_result<char*> r =
      fmt::format_to_n(out, kNumberBufSize, "{:.{}f}", value, decimals);
  // The buffer holds every number with kMaxDecimals decimals, so this never
  // happens; should it, nothing is written rather than a partial number.
  if (r.size > kNumberBufSize) return 0;
  return r.size;
}

size_t FormatUnsigned(char* out, uint32_t value) {
  char tmp[10];
  size_t n = 0;
  do {
    tmp[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (size_t i = 0; i < n; ++i) out[i] = tmp[n - 1 - i];
  return n;
}

size_t FormatInt(char* out, int32_t value) {
  if (value >= 0) return FormatUnsigned(out, static_cast<uint32_t>(value));
  out[0] = '-';
  // The magnitude in unsigned arithmetic: well defined for INT32_MIN too.
  uint32_t magnitude = 0u - static_cast<uint32_t>(value);
  return 1 + FormatUnsigned(out + 1, magnitude);
}

size_t FormatHex(char* out, uint32_t value, int min_digits) {
  static const char kDigits[] = "0123456789abcdef";
  char tmp[8];
  int n = 0;
  do {
    tmp[n++] = kDigits[value & 0xfu];
    value >>= 4;
  } while (value != 0);
  size_t len = 0;
  for (int pad = min_digits - n; pad > 0; --pad) out[len++] = '0';
  while (n > 0) out[len++] = tmp[--n];
  return len;
}

std::string FixedText(double value, int decimals) {
  char buf[kNumberBufSize];
  return std::string(buf, FormatFixed(buf, value, decimals));
}

}  // namespace platform
