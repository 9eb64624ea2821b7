#ifndef RRENSEN_PLATFORM_NUMBER_FORMAT_H_
#define RRENSEN_PLATFORM_NUMBER_FORMAT_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

/// The most decimals FormatFixed writes; more are taken as this many.
constexpr int kMaxDecimals = 20;

/// Room for any number these functions write: the largest finite double in
/// fixed notation has 309 integer digits, plus sign, point and kMaxDecimals
/// decimals.
constexpr size_t kNumberBufSize = 340;
static_assert(309 + 2 + kMaxDecimals <= kNumberBufSize, "room for every number");

/// Writes `value` as printf's "%.<decimals>f" does on a correct C runtime:
/// fixed notation, correctly rounded, never an exponent, a minus sign kept on
/// a negative value that rounds to zero; "inf", "-inf", "nan", "-nan" for the
/// non-finite values. The same bytes on every platform. `decimals` is taken
/// into 0 .. kMaxDecimals.
/// Returns the number of bytes written to `out` (no terminating NUL).
size_t FormatFixed(char* out, double value, int decimals);

/// FormatFixed as a string: "%.3f" and the like, for text meant for people.
std::string FixedText(double value, int decimals);

/// "%d": a 32-bit signed integer in decimal.
size_t FormatInt(char* out, int32_t value);

/// "%u": a 32-bit unsigned integer in decimal.
size_t FormatUnsigned(char* out, uint32_t value);

/// "%x" (min_digits 1) or "%06x" (min_digits 6): lowercase hexadecimal of the
/// 32-bit pattern, zero-padded on the left to at least `min_digits` digits.
size_t FormatHex(char* out, uint32_t value, int min_digits);

}  // namespace platform

#endif  // RRENSEN_PLATFORM_NUMBER_FORMAT_H_
