#include "dxf/number_text.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "dxf/tag_reader.h"

namespace dxf {
namespace {

/// Copies `text` to `out`; returns its length.
size_t copy_at(char* out, std::string_view text) {
  text.copy(out, text.size());
  return text.size();
}

}  // namespace

size_t WriteCoordinate(char* out, double value) {
  auto copy = [out](std::string_view text) {
    text.copy(out, text.size());
    return text.size();
  };
  if (value == 0.0) return copy("0.0");  // also for -0.0
  // From 2^53 up every double is a whole number, and the shortest fixed text
  // that reads back as it is its exact value: no other whole number is
  // nearer, and padding fewer digits with zeros gives as many or more
  // characters ("1e23" is 99999999999999991611392). {fmt} writes it exactly
  // with no decimals.
  if (std::fabs(value) >= 9007199254740992.0 && std::isfinite(value)) {
    const size_t length =
        fmt::format_to_n(out, kCoordinateBytes - 2, "{:.0f}", value).size;
    return length + copy_at(out + length, ".0");
  }
  if (!std::isfinite(value)) {  // "inf", "-nan", ...
    return static_cast<size_t>(fmt::format_to(out, FMT_COMPILE("{}"), value) - out);
  }
  // Below, Dragonbox (through {fmt}) gives the fewest significant digits
  // that read back as the same double, as a whole number and a power of
  // ten; they are laid out here in fixed notation.
  size_t length = 0;
  if (value < 0.0) out[length++] = '-';
  const auto decimal = fmt::detail::dragonbox::to_decimal(std::fabs(value));
  // The significand's digits, two at a time from the last.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char digits[24];
  char* first = digits + sizeof digits;
  uint64_t rest = decimal.significand;
  while (rest >= 100) {
    const size_t pair = static_cast<size_t>(rest % 100) * 2;
    rest /= 100;
    *--first = kPairs[pair + 1];
    *--first = kPairs[pair];
  }
  if (rest >= 10) {
    const size_t pair = static_cast<size_t>(rest) * 2;
    *--first = kPairs[pair + 1];
    *--first = kPairs[pair];
  } else {
    *--first = static_cast<char>('0' + rest);
  }
  const auto count = static_cast<size_t>(digits + sizeof digits - first);
  const std::string_view significant(first, count);
  const int exponent = decimal.exponent;
  if (exponent >= 0) {
    length += copy_at(out + length, significant);
    for (int k = 0; k < exponent; ++k) out[length++] = '0';
    return length + copy_at(out + length, ".0");
  }
  const auto decimals = static_cast<size_t>(-exponent);
  if (count > decimals) {
    const size_t whole = count - decimals;
    length += copy_at(out + length, significant.substr(0, whole));
    out[length++] = '.';
    return length + copy_at(out + length, significant.substr(whole));
  }
  length += copy_at(out + length, "0.");
  for (size_t k = count; k < decimals; ++k) out[length++] = '0';
  return length + copy_at(out + length, significant);
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
