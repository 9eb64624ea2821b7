#ifndef RRENSEN_WRITER_EMITTERS_H_
#define RRENSEN_WRITER_EMITTERS_H_

#include "state/drawing_state.h"

/// The drawing records the tool can write. Each emitter formats its values
/// into exactly one record and appends it to `s.fpw`; none keeps state or
/// reports a failed write. Reals are fixed-point with the decimals of their
/// format, the same bytes on every platform.

/// " x1 y1 x2 y2 ": a straight line, 12 decimals, leading blank.
void Sen(DrawingState& s, double x1, double y1, double x2, double y2);
/// "pt x y ": a point.
void Ten(DrawingState& s, double x, double y);
/// "lc<n> ": line colour.
void Lcout(DrawingState& s, int32_t colour);
/// "lt<n> ": line type.
void Ltout(DrawingState& s, int32_t type);
/// "lc10 #rrggbb": r, g, b packed by wrapping 32-bit addition, not by or.
void SRGBout(DrawingState& s, int32_t r, int32_t g, int32_t b);
/// "lc10 #rrggbb" of an already packed value.
void S16RGBout(DrawingState& s, int32_t rgb);
/// "sl": a chain of straight lines through two, three or four points.
void SL2out(DrawingState& s, double x1, double y1, double x2, double y2);
void SL3out(DrawingState& s, double x1, double y1, double x2, double y2,
            double x3, double y3);
/// Six decimals exactly when isTest is 1, twelve otherwise.
void SL4out(DrawingState& s, double x1, double y1, double x2, double y2,
            double x3, double y3, double x4, double y4);
/// "sc", "se", "so": eight numbers, ten decimals and six for the last.
void SCout(DrawingState& s, const double v[8]);
void SEout(DrawingState& s, const double v[8]);
void SOout(DrawingState& s, const double v[8]);
/// "cn<n> ": text style number.
void Cnout(DrawingState& s, int32_t style);
/// "ch x y 3 0 \"text": text at a position (no closing quote).
void MojiOutS(DrawingState& s, double x, double y, const char* text);
/// "ch x y 3 0 \"text d": the number is passed first but printed last.
void MojiOutSD(DrawingState& s, double x, double y, double d, const char* text);
void MojiOutD1(DrawingState& s, double x, double y, int32_t n);
void MojiOutD2(DrawingState& s, double x, double y, int32_t a, int32_t b);
/// "ci cx cy r ": a circle.
void Kci(DrawingState& s, double cx, double cy, double r);
/// "ci cx cy r start end sixth tilt ": an arc; start and end angles are
/// counted from the tilt angle, in degrees.
void Kdci(DrawingState& s, double cx, double cy, double r, double start,
          double end, double sixth, double tilt);

#endif  // RRENSEN_WRITER_EMITTERS_H_
