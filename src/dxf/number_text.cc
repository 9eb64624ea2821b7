#include "dxf/number_text.h"

#include <charconv>
#include <system_error>

#include "dxf/tag_reader.h"

namespace dxf {

void AppendCoordinate(std::string& out, double value) {
  if (value == 0.0) {  // also for -0.0
    out += "0.0";
    return;
  }
  // The shortest round-trip text of a double in fixed notation has at most
  // 309 integer digits or 324 decimals, plus sign and point.
  char buffer[400];
  std::to_chars_result written = std::to_chars(
      buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  const std::string_view text(buffer,
                              static_cast<size_t>(written.ptr - buffer));
  out.append(text);
  if (text.find_first_of(".ni") == std::string_view::npos) out += ".0";
}

std::string FormatCoordinate(double value) {
  std::string text;
  AppendCoordinate(text, value);
  return text;
}

namespace {

/// The whole of `text`, blanks around it aside, as a number of type T: an
/// optional sign ("+" as well as "-") and the number, nothing else.
template <typename T>
bool ParseWhole(std::string_view text, T& value) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && read.ec == std::errc() &&
         read.ptr == text.data() + text.size();
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
