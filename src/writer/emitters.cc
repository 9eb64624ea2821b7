#include "writer/emitters.h"

#include <initializer_list>

#include "platform/out_stream.h"

namespace {

/// Writes `key`, then each value with `decimals` decimals, each behind one
/// blank, then `tail` (the end of the format).
void Record(DrawingState& s, const char* key, std::initializer_list<double> v,
            int decimals, const char* tail) {
  platform::OutStream& o = *s.fpw;
  o.Str(key);
  bool first = true;
  for (double x : v) {
    if (!first) o.Chr(' ');
    first = false;
    o.Fixed(x, decimals);
  }
  o.Str(tail);
}

void EightNumbers(DrawingState& s, const char* key, const double v[8]) {
  platform::OutStream& o = *s.fpw;
  o.Str(key);
  for (int k = 0; k < 8; ++k) {
    o.Chr(' ');
    o.Fixed(v[k], k < 7 ? 10 : 6);
  }
  o.Chr('\n');
}

void KeyInt(DrawingState& s, const char* key, int32_t n) {
  s.fpw->Str(key);
  s.fpw->Int(n);
  s.fpw->Str(" \n");
}

/// "ch x y 3 0 \"": the common head of the text records.
void TextHead(DrawingState& s, double x, double y) {
  Record(s, "ch ", {x, y}, 6, " 3 0 \"");
}

}  // namespace

void Sen(DrawingState& s, double x1, double y1, double x2, double y2) {
  Record(s, " ", {x1, y1, x2, y2}, 12, " \n");
}

void Ten(DrawingState& s, double x, double y) {
  Record(s, "pt ", {x, y}, 12, " \n");
}

void Lcout(DrawingState& s, int32_t colour) { KeyInt(s, "lc", colour); }

void Ltout(DrawingState& s, int32_t type) { KeyInt(s, "lt", type); }

void S16RGBout(DrawingState& s, int32_t rgb) {
  s.fpw->Str("lc10 #");
  s.fpw->Hex(static_cast<uint32_t>(rgb), 6);
  s.fpw->Chr('\n');
}

void SRGBout(DrawingState& s, int32_t r, int32_t g, int32_t b) {
  // Shifts and sum in unsigned arithmetic: the wrap is the intended result.
  uint32_t packed = (static_cast<uint32_t>(r) << 16) +
                    (static_cast<uint32_t>(g) << 8) + static_cast<uint32_t>(b);
  s.fpw->Str("lc10 #");
  s.fpw->Hex(packed, 6);
  s.fpw->Chr('\n');
}

void SL2out(DrawingState& s, double x1, double y1, double x2, double y2) {
  Record(s, "sl ", {x1, y1, x2, y2}, 12, "\n");
}

void SL3out(DrawingState& s, double x1, double y1, double x2, double y2,
            double x3, double y3) {
  Record(s, "sl ", {x1, y1, x2, y2, x3, y3}, 12, "\n");
}

void SL4out(DrawingState& s, double x1, double y1, double x2, double y2,
            double x3, double y3, double x4, double y4) {
  Record(s, "sl ", {x1, y1, x2, y2, x3, y3, x4, y4}, s.isTest == 1 ? 6 : 12,
         "\n");
}

void SCout(DrawingState& s, const double v[8]) { EightNumbers(s, "sc", v); }
void SEout(DrawingState& s, const double v[8]) { EightNumbers(s, "se", v); }
void SOout(DrawingState& s, const double v[8]) { EightNumbers(s, "so", v); }

void Cnout(DrawingState& s, int32_t style) { KeyInt(s, "cn", style); }

void MojiOutS(DrawingState& s, double x, double y, const char* text) {
  TextHead(s, x, y);
  s.fpw->Str(text);
  s.fpw->Chr('\n');
}

void MojiOutSD(DrawingState& s, double x, double y, double d,
               const char* text) {
  TextHead(s, x, y);
  s.fpw->Str(text);
  s.fpw->Chr(' ');
  s.fpw->Fixed(d, 6);
  s.fpw->Chr('\n');
}

void MojiOutD1(DrawingState& s, double x, double y, int32_t n) {
  TextHead(s, x, y);
  s.fpw->Int(n);
  s.fpw->Chr('\n');
}

void MojiOutD2(DrawingState& s, double x, double y, int32_t a, int32_t b) {
  TextHead(s, x, y);
  s.fpw->Int(a);
  s.fpw->Chr(',');
  s.fpw->Int(b);
  s.fpw->Chr('\n');
}

void Kci(DrawingState& s, double cx, double cy, double r) {
  Record(s, "ci ", {cx, cy, r}, 12, " \n");
}

void Kdci(DrawingState& s, double cx, double cy, double r, double start,
          double end, double sixth, double tilt) {
  Record(s, "ci ", {cx, cy, r, start, end, sixth, tilt}, 12, " \n");
}
