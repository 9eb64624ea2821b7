#include "writer/emitters.h"

#include <initializer_list>

namespace emit {
namespace {

/// Writes `key`, then each value with `decimals` decimals, each behind one
/// blank, then `tail` (the end of the format).
void Record(platform::OutStream& o, const char* key,
            std::initializer_list<double> v, int decimals, const char* tail) {
  o.Str(key);
  bool first = true;
  for (double x : v) {
    if (!first) o.Chr(' ');
    first = false;
    o.Fixed(x, decimals);
  }
  o.Str(tail);
}

void KeyInt(platform::OutStream& o, const char* key, int32_t n) {
  o.Str(key);
  o.Int(n);
  o.Str(" \n");
}

/// "lc10 #rrggbb", at least six hexadecimal digits of the 32-bit pattern.
void RgbRecord(platform::OutStream& o, uint32_t packed) {
  o.Str("lc10 #");
  o.Hex(packed, 6);
  o.Chr('\n');
}

/// "ch x y 3 0 \"": the common head of the text records.
void TextHead(platform::OutStream& o, double x, double y) {
  Record(o, "ch ", {x, y}, 6, " 3 0 \"");
}

}  // namespace

void Line(platform::OutStream& out, double x1, double y1, double x2,
          double y2) {
  Record(out, " ", {x1, y1, x2, y2}, 12, " \n");
}

void Arc(platform::OutStream& out, double cx, double cy, double r,
         double start, double end, double sixth, double tilt) {
  Record(out, "ci ", {cx, cy, r, start, end, sixth, tilt}, 12, " \n");
}

void Circle(platform::OutStream& out, double cx, double cy, double r) {
  Record(out, "ci ", {cx, cy, r}, 12, " \n");
}

void Point(platform::OutStream& out, double x, double y) {
  Record(out, "pt ", {x, y}, 12, " \n");
}

void LineColour(platform::OutStream& out, int32_t colour) {
  KeyInt(out, "lc", colour);
}

void LineType(platform::OutStream& out, int32_t type) {
  KeyInt(out, "lt", type);
}

void PackedRgbColour(platform::OutStream& out, int32_t rgb) {
  RgbRecord(out, static_cast<uint32_t>(rgb));
}

void RgbColour(platform::OutStream& out, int32_t r, int32_t g, int32_t b) {
  // Shifts and sum in unsigned arithmetic: the wrap is the intended result.
  uint32_t packed = (static_cast<uint32_t>(r) << 16) +
                    (static_cast<uint32_t>(g) << 8) + static_cast<uint32_t>(b);
  RgbRecord(out, packed);
}

void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2) {
  Record(out, "sl ", {x1, y1, x2, y2}, 12, "\n");
}

void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2, double x3, double y3) {
  Record(out, "sl ", {x1, y1, x2, y2, x3, y3}, 12, "\n");
}

void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2, double x3, double y3, double x4, double y4,
           bool short_form) {
  Record(out, "sl ", {x1, y1, x2, y2, x3, y3, x4, y4}, short_form ? 6 : 12,
         "\n");
}

void EightNumbers(platform::OutStream& out, const char* key,
                  const double v[8]) {
  out.Str(key);
  for (int k = 0; k < 8; ++k) {
    out.Chr(' ');
    out.Fixed(v[k], k < 7 ? 10 : 6);
  }
  out.Chr('\n');
}

void TextStyle(platform::OutStream& out, int32_t style) {
  KeyInt(out, "cn", style);
}

void Text(platform::OutStream& out, double x, double y, const char* text) {
  TextHead(out, x, y);
  out.Str(text);
  out.Chr('\n');
}

void TextAndNumber(platform::OutStream& out, double x, double y, double d,
                   const char* text) {
  TextHead(out, x, y);
  out.Str(text);
  out.Chr(' ');
  out.Fixed(d, 6);
  out.Chr('\n');
}

void TextInteger(platform::OutStream& out, double x, double y, int32_t n) {
  TextHead(out, x, y);
  out.Int(n);
  out.Chr('\n');
}

void TextIntegers(platform::OutStream& out, double x, double y, int32_t a,
                  int32_t b) {
  TextHead(out, x, y);
  out.Int(a);
  out.Chr(',');
  out.Int(b);
  out.Chr('\n');
}

}  // namespace emit
