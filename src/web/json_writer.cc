#include "web/json_writer.h"

#include <fmt/format.h>

#include <cmath>
#include <iterator>

namespace web {
namespace {

/// The length of the UTF-8 sequence that starts at `text[k]`, or 0 when it
/// is not a well-formed one (a stray continuation byte, an overlong form, a
/// surrogate, past U+10FFFF, or cut short).
size_t Utf8Length(std::string_view text, size_t k) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(k);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (text.size() - k < length) return 0;
  if (byte(k + 1) < low || byte(k + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(k + i) < 0x80 || byte(k + i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

void JsonWriter::Separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_) text_ += ',';
  first_ = false;
}

void JsonWriter::Open(char bracket) {
  Separate();
  text_ += bracket;
  first_ = true;
}

void JsonWriter::Close(char bracket) {
  text_ += bracket;
  first_ = false;
}

void JsonWriter::Key(std::string_view name) {
  String(name);
  text_ += ':';
  after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
  Separate();
  text_ += '"';
  for (size_t k = 0; k < text.size();) {
    const char c = text[k];
    const size_t length = Utf8Length(text, k);
    if (length == 0) {
      text_ += "\\ufffd";
      ++k;
      continue;
    }
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      text_ += fmt::format("\\u{:04x}", static_cast<unsigned>(c));
    } else {
      text_.append(text.substr(k, length));
    }
    k += length;
  }
  text_ += '"';
}

void JsonWriter::Number(double value) {
  if (!std::isfinite(value)) {
    Null();
    return;
  }
  Separate();
  // {fmt}'s shortest form ("0.1", "1e+23") is a JSON number as it stands.
  fmt::format_to(std::back_inserter(text_), "{}", value);
}

void JsonWriter::Integer(long long value) {
  Separate();
  text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  Separate();
  text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  Separate();
  text_ += "null";
}

}  // namespace web
