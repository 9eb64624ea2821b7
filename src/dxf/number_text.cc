#include "dxf/number_text.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <system_error>

#include "dxf/tag_reader.h"

namespace dxf {
namespace {

/// 10^0 to 10^17.
constexpr uint64_t kPowersOfTen[] = {1,
                                     10,
                                     100,
                                     1000,
                                     10000,
                                     100000,
                                     1000000,
                                     10000000,
                                     100000000,
                                     1000000000,
                                     10000000000,
                                     100000000000,
                                     1000000000000,
                                     10000000000000,
                                     100000000000000,
                                     1000000000000000,
                                     10000000000000000,
                                     100000000000000000};

/// The number of decimal digits of `value`, which is 1 to 10^17 - 1.
int DigitCount(uint64_t value) {
#if defined(__GNUC__)
  // A number of b bits has floor(b log10 2) or one more digits; 1233 / 4096
  // is log10 2 closely enough for b up to 64. The power of ten tells which.
  const int bits = 64 - __builtin_clzll(value);
  const int guess = (bits * 1233) >> 12;
  return guess + (value >= kPowersOfTen[guess] ? 1 : 0);
#else
  int count = 1;
  while (count < 17 && value >= kPowersOfTen[count]) ++count;
  return count;
#endif
}

/// Writes the 8 digits of `value` (below 10^8), leading zeros too, at `out`,
/// a pair at a time. Each pair is a quotient of `value` by a power of 100
/// less 100 times the next one: the three divisions (multiplications, in
/// 32-bit arithmetic) do not wait on each other, as repeated `% 100` and
/// `/ 100` would.
void WriteEightDigits(char* out, uint32_t value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  const uint32_t hundreds = value / 100;
  const uint32_t ten_thousands = value / 10000;
  const uint32_t millions = value / 1000000;
  auto pair = [](uint32_t below_100) { return kPairs + size_t{2} * below_100; };
  std::memcpy(out, pair(millions), 2);
  std::memcpy(out + 2, pair(ten_thousands - 100 * millions), 2);
  std::memcpy(out + 4, pair(hundreds - 100 * ten_thousands), 2);
  std::memcpy(out + 6, pair(value - 100 * hundreds), 2);
}

/// Writes `value` (below 10^count) as `count` digits (1 to 17), leading
/// zeros too, at `out`. Scaled up to fill 8, 16 or 17 digits, it is written
/// as one or two halves of 8 and a top digit; the digits past `count` are
/// zeros, which the caller writes over or leaves past the end of its text.
void WriteDigits(char* out, uint64_t value, int count) {
  if (count <= 8) {
    WriteEightDigits(out, static_cast<uint32_t>(value * kPowersOfTen[8 - count]));
    return;
  }
  if (count == 17) {
    const uint64_t high = value / 100000000;  // below 10^9
    *out++ = static_cast<char>('0' + high / 100000000);
    WriteEightDigits(out, static_cast<uint32_t>(high % 100000000));
    WriteEightDigits(out + 8, static_cast<uint32_t>(value % 100000000));
    return;
  }
  value *= kPowersOfTen[16 - count];
  WriteEightDigits(out, static_cast<uint32_t>(value / 100000000));
  WriteEightDigits(out + 8, static_cast<uint32_t>(value % 100000000));
}

}  // namespace

size_t WriteCoordinate(char* out, double value) {
  if (value == 0.0) {  // also for -0.0
    out[0] = '0';
    out[1] = '.';
    out[2] = '0';
    return 3;
  }
  const double magnitude = std::fabs(value);
  // From 2^53 up every double is a whole number, and the shortest fixed text
  // that reads back as it is its exact value: no other whole number is
  // nearer, and padding fewer digits with zeros gives as many or more
  // characters ("1e23" is 99999999999999991611392). {fmt} writes it exactly
  // with no decimals.
  if (magnitude >= 9007199254740992.0 && std::isfinite(value)) {
    const size_t length =
        fmt::format_to_n(out, kCoordinateBytes - 2, "{:.0f}", value).size;
    out[length] = '.';
    out[length + 1] = '0';
    return length + 2;
  }
  if (!std::isfinite(value)) {  // "inf", "-nan", ...
    return static_cast<size_t>(fmt::format_to(out, FMT_COMPILE("{}"), value) - out);
  }
  // The sign is written always and kept only for a negative value, where
  // a branch would guess wrong for half of a drawing's coordinates.
  out[0] = '-';
  char* const text = out + (value < 0.0 ? 1 : 0);
  // Below 2^53 every whole number is a double, so a whole number is the
  // fewest digits that read back as itself.
  const auto whole = static_cast<int64_t>(magnitude);
  if (static_cast<double>(whole) == magnitude) {
    const auto digits = static_cast<uint64_t>(whole);
    const int count = DigitCount(digits);
    WriteDigits(text, digits, count);
    text[count] = '.';
    text[count + 1] = '0';
    return static_cast<size_t>(text + count + 2 - out);
  }
  // Dragonbox (through {fmt}) gives the fewest significant digits that read
  // back as the same double, as a whole number and a power of ten, here
  // negative (the value is not whole).
  const auto decimal = fmt::detail::dragonbox::to_decimal(magnitude);
  const uint64_t significand = decimal.significand;
  const int decimals = -decimal.exponent;
  if (magnitude < 1.0) {
    // "0." and the significand with leading zeros to make `decimals`
    // digits; past 17, more than it has, those zeros first.
    text[0] = '0';
    text[1] = '.';
    char* first = text + 2;
    if (decimals > 17) {
      std::memset(first, '0', static_cast<size_t>(decimals - 17));
      first += decimals - 17;
    }
    WriteDigits(first, significand, std::min(decimals, 17));
    return static_cast<size_t>(text + 2 + decimals - out);
  }
  // The significand's digits, the point among them. Its whole part and its
  // decimals have 16 digits at most (the significand has 17), so they are
  // copied from `digits` 16 bytes at a time, which compilers do without a
  // call. The bytes past the text are scratch.
  const int count = DigitCount(significand);
  const int whole_count = count - decimals;
  char digits[32] = {};
  WriteDigits(digits, significand, count);
  std::memcpy(text, digits, 16);
  text[whole_count] = '.';
  std::memcpy(text + whole_count + 1, digits + whole_count, 16);
  return static_cast<size_t>(text + count + 1 - out);
}

std::string FormatCoordinate(double value) {
  char text[kCoordinateBytes];
  return std::string(text, WriteCoordinate(text, value));
}

void AppendCoordinate(std::string& out, double value) {
  char text[kCoordinateBytes];
  out.append(text, WriteCoordinate(text, value));
}

namespace {

/// Reads all of [first, last) as a double, as std::from_chars does: fast_float
/// rounds correctly, the same on every platform. A number too large or too
/// small for a double (one that fast_float reads as infinity or zero from
/// digits that are not all zero) is out of range and not read.
bool ReadAll(const char* first, const char* last, double& value) {
  double read_value = 0.0;
  fast_float::from_chars_result read =
      fast_float::from_chars(first, last, read_value);
  if (read.ec != std::errc() || read.ptr != last) return false;
  if (std::isinf(read_value) || read_value == 0.0) {
    // Digits, not the word "inf" (an 'e' starts the exponent).
    const std::string_view text(first, static_cast<size_t>(last - first));
    const bool written_in_digits = text.find_first_of("iI") == std::string_view::npos;
    const bool nonzero = text.substr(0, text.find_first_of("eE"))
                             .find_first_of("123456789") != std::string_view::npos;
    if (written_in_digits && (std::isinf(read_value) || nonzero)) return false;
  }
  value = read_value;
  return true;
}

/// Reads all of [first, last) as an int.
bool ReadAll(const char* first, const char* last, int& value) {
  std::from_chars_result read = std::from_chars(first, last, value);
  return read.ec == std::errc() && read.ptr == last;
}

/// The whole of `text`, blanks around it aside, as a number of type T: an
/// optional sign ("+" as well as "-") and the number, nothing else.
template <typename T>
bool ParseWhole(std::string_view text, T& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  return !text.empty() && ReadAll(text.data(), text.data() + text.size(), value);
}

}  // namespace

bool ParseReal(std::string_view text, double& value) {
  return ParseWhole(text, value);
}

bool ParseInteger(std::string_view text, int& value) {
  return ParseWhole(text, value);
}

bool ParseHandle(std::string_view text, uint64_t& value) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 16) return false;
  std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return read.ec == std::errc() && read.ptr == text.data() + text.size();
}

std::string FormatHandle(uint64_t value) {
  char buffer[20];
  std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string text(buffer, written.ptr);
  for (char& c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace dxf
