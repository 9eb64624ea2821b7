#include "platform/number_format.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace platform {

size_t FormatFixed(char* out, double value, int decimals) {
  if (!std::isfinite(value)) {
    std::string_view text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                              : (value < 0 ? "-inf" : "inf");
    return text.copy(out, text.size());
  }
  // std::to_chars in fixed form is exact decimal conversion with round-half-
  // even on the exact binary value, as glibc's printf; it keeps the sign of a
  // negative value that rounds to zero.
  std::to_chars_result r = std::to_chars(out, out + kNumberBufSize, value,
                                         std::chars_format::fixed, decimals);
  return static_cast<size_t>(r.ptr - out);
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

}  // namespace platform
