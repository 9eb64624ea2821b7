#include "dxf/report_json.h"

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

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

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
    if (!IsContinuation(byte(i + k))) return 0;
    point = (point << 6) | (byte(i + k) & 0x3Fu);
  }
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
          } else {
            out += static_cast<char>(c);
          }
      }
      ++i;
      continue;
    }
    uint32_t point = 0;
    size_t length = Utf8Sequence(text, i, point);
    if (length == 0) {
      AppendEscape(out, 0xFFFD);  // a byte that is not UTF-8
      ++i;
    } else {
      AppendCodePoint(out, point);
      i += length;
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  // FormatCoordinate writes the shortest round-trip digits in fixed
  // notation ("10.0", "-0.1"), which JSON reads as they are.
  return std::isfinite(value) ? FormatCoordinate(value) : "null";
}

void JsonObject::Key(std::string_view key) {
  if (text_.size() > 1) text_ += ",";
  text_ += JsonString(key);
  text_ += ":";
}

JsonObject& JsonObject::String(std::string_view key, std::string_view value) {
  Key(key);
  text_ += JsonString(value);
  return *this;
}

JsonObject& JsonObject::Number(std::string_view key, double value) {
  Key(key);
  text_ += JsonNumber(value);
  return *this;
}

JsonObject& JsonObject::Number(std::string_view key,
                               std::optional<double> value) {
  return value ? Number(key, *value) : Raw(key, "null");
}

JsonObject& JsonObject::Integer(std::string_view key, long long value) {
  Key(key);
  text_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) {
  return Raw(key, value ? "true" : "false");
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  Key(key);
  text_ += json;
  return *this;
}

const char* StatusName(OutlineStatus status) {
  switch (status) {
    case OutlineStatus::kFilleted: return "filleted";
    case OutlineStatus::kPartly: return "partly";
    case OutlineStatus::kUnchanged: return "unchanged";
    case OutlineStatus::kSkipped: return "skipped";
  }
  return "";
}

namespace {

/// A vertex index from 0 as the report numbers it, from 1; null for none.
std::string VertexNumber(int index) {
  return index < 0 ? "null" : std::to_string(index + 1);
}

std::string RunJson(const RunReport& run) {
  const rrensen::Problem& p = run.problem;
  const bool measured = p.kind == rrensen::Refusal::kShortSide ||
                        p.kind == rrensen::Refusal::kSharpCorner;
  JsonObject o;
  o.Raw("first_vertex", VertexNumber(run.first_vertex))
      .Raw("last_vertex", VertexNumber(run.last_vertex))
      .String("reason", rrensen::RefusalCode(p.kind))
      .String("message", rrensen::Describe(p))
      .Raw("at_vertex", VertexNumber(p.point))
      .Raw("to_vertex", VertexNumber(p.next_point))
      .Number("needed", measured ? std::optional<double>(p.needed) : std::nullopt)
      .Number("found", measured ? std::optional<double>(p.found) : std::nullopt)
      .Number("largest_size", run.largest_size);
  return o.Text();
}

}  // namespace

std::string ReportLine(const OutlineReport& report) {
  JsonObject o;
  o.String("kind", report.kind);
  if (report.type.empty()) {
    o.Raw("type", "null");
  } else {
    o.String("type", report.type);
  }
  if (report.handle.empty()) {
    o.Raw("handle", "null");
  } else {
    o.String("handle", report.handle);
  }
  o.String("layer", report.layer)
      .Integer("line", report.line)
      .String("style", rrensen::CornerStyleName(report.style))
      .String("status", StatusName(report.status))
      .Bool("closed", report.closed);
  if (report.status == OutlineStatus::kSkipped) {
    o.String("reason", report.skip_code).String("message", report.skip_reason);
  } else {
    std::string runs = "[";
    for (const RunReport& run : report.refused_runs) {
      if (runs.size() > 1) runs += ",";
      runs += RunJson(run);
    }
    o.Integer("corners_filleted", report.corners_filleted)
        .Integer("corners_left", report.corners_left)
        .Raw("refused_runs", runs + "]");
  }
  if (!report.parts.empty()) {
    std::string parts = "[";
    for (const EntityRef& part : report.parts) {
      if (parts.size() > 1) parts += ",";
      JsonObject p;
      p.String("type", part.type);
      if (part.handle.empty()) {
        p.Raw("handle", "null");
      } else {
        p.String("handle", part.handle);
      }
      parts += p.Integer("line", part.line).Text();
    }
    o.Raw("parts", parts + "]");
  }
  return o.Text();
}

}  // namespace dxf
