#include "dxf/json_writer.h"

#include <cmath>
#include <cstdint>

#include "dxf/number_text.h"

namespace dxf {
namespace {

/// Appends "\uXXXX" for a code unit.
void AppendEscape(std::string& out, uint32_t unit) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) {
    out += kHex[(unit >> static_cast<uint32_t>(shift)) & 0xFu];
  }
}

/// Appends a code point outside ASCII as one escape, or as a surrogate
/// pair above U+FFFF.
void AppendCodePoint(std::string& out, uint32_t point) {
  if (point < 0x10000) {
    AppendEscape(out, point);
    return;
  }
  point -= 0x10000;
  AppendEscape(out, 0xD800 + (point >> 10));
  AppendEscape(out, 0xDC00 + (point & 0x3FF));
}

/// The length of the well-formed UTF-8 sequence at `text[i]` (2 to 4) and
/// its code point, or 0 when the bytes there are not one. The bounds of the
/// second byte are those of the Unicode standard's table of well-formed
/// sequences: they rule out overlong forms, surrogates and points above
/// U+10FFFF.
size_t Utf8Sequence(std::string_view text, size_t i, uint32_t& point) {
  const auto byte = [&text](size_t k) {
    return static_cast<unsigned char>(text[k]);
  };
  const unsigned char lead = byte(i);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  point = lead & (0x7Fu >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(i + k) & 0x3Fu);
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
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '"': text_ += "\\\""; break;
        case '\\': text_ += "\\\\"; break;
        case '\n': text_ += "\\n"; break;
        case '\r': text_ += "\\r"; break;
        case '\t': text_ += "\\t"; break;
        default:
          if (c < 0x20 || c == 0x7F) {
            AppendEscape(text_, c);
          } else {
            text_ += static_cast<char>(c);
          }
      }
      ++i;
      continue;
    }
    uint32_t point = 0;
    const size_t length = Utf8Sequence(text, i, point);
    if (length == 0) {
      AppendEscape(text_, 0xFFFD);  // a byte that is not UTF-8
      ++i;
    } else {
      AppendCodePoint(text_, point);
      i += length;
    }
  }
  text_ += '"';
}

void JsonWriter::Number(double value) {
  if (!std::isfinite(value)) {
    Null();
    return;
  }
  Separate();
  // FormatCoordinate writes the shortest round-trip digits in fixed
  // notation ("10.0", "-0.1"), which JSON reads as they are.
  AppendCoordinate(text_, value);
}

void JsonWriter::Number(const std::optional<double>& value) {
  if (value) {
    Number(*value);
  } else {
    Null();
  }
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

}  // namespace dxf
