#include "dxf/number_text.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "dxf/tag_reader.h"

namespace dxf {

std::string FormatCoordinate(double value) {
  if (value == 0.0) return "0.0";  // also for -0.0
  // From 2^53 up every double is a whole number, and the shortest fixed text
  // that reads back as it is its exact value: no other whole number is
  // nearer, and padding fewer digits with zeros gives as many or more
  // characters ("1e23" is 99999999999999991611392). {fmt} writes it exactly
  // with no decimals.
  if (std::fabs(value) >= 9007199254740992.0 && std::isfinite(value)) {
    return fmt::format("{:.0f}", value) + ".0";
  }
  // Below, {fmt} gives the fewest significant digits that read back as the
  // same double (Dragonbox), in plain or exponent form ("1.5e-07"); they are
  // laid out here in fixed notation.
  char shortest[32];
  fmt::format_to_n_result<char*> written =
      fmt::format_to_n(shortest, sizeof shortest, "{}", value);
  const std::string_view text(shortest, written.size);
  if (!std::isfinite(value)) return std::string(text);  // "inf", "-nan", ...
  std::string fixed;
  std::string digits;  // the significant digits, the number being
  int exponent = 0;    // digits x 10^exponent
  bool after_point = false;
  size_t k = 0;
  for (; k < text.size() && text[k] != 'e'; ++k) {
    if (text[k] == '-') {
      fixed += '-';
    } else if (text[k] == '.') {
      after_point = true;
    } else {
      digits += text[k];
      if (after_point) --exponent;
    }
  }
  int power = 0;
  if (k < text.size()) ParseInteger(text.substr(k + 1), power);
  exponent += power;
  if (exponent >= 0) {
    fixed += digits;
    fixed.append(static_cast<size_t>(exponent), '0');
    return fixed + ".0";
  }
  const size_t decimals = static_cast<size_t>(-exponent);
  if (digits.size() > decimals) {
    const size_t whole = digits.size() - decimals;
    fixed += digits.substr(0, whole) + "." + digits.substr(whole);
  } else {
    fixed += "0.";
    fixed.append(decimals - digits.size(), '0');
    fixed += digits;
  }
  return fixed;
}

void AppendCoordinate(std::string& out, double value) {
  out += FormatCoordinate(value);
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
