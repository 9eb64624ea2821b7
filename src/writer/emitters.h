#ifndef RRENSEN_WRITER_EMITTERS_H_
#define RRENSEN_WRITER_EMITTERS_H_

#include <cstdint>

#include "platform/out_stream.h"

/// The drawing records the tool can write: the host's vocabulary. Each
/// emitter formats its values into exactly one record and appends it to
/// `out`; none keeps state or reports a failed write (the stream does).
/// Reals are fixed-point with the decimals of their format, the same bytes
/// on every platform. The outline uses the line, arc and circle records; the
/// others complete the vocabulary for the host's other tools.
namespace emit {

/// " x1 y1 x2 y2 ": a straight line, 12 decimals, leading blank.
void Line(platform::OutStream& out, double x1, double y1, double x2,
          double y2);
/// "ci cx cy r start end sixth tilt ": an arc; start and end angles are
/// counted from the tilt angle, in degrees, counter-clockwise.
void Arc(platform::OutStream& out, double cx, double cy, double r,
         double start, double end, double sixth, double tilt);
/// "ci cx cy r ": a circle.
void Circle(platform::OutStream& out, double cx, double cy, double r);
/// "pt x y ": a point.
void Point(platform::OutStream& out, double x, double y);
/// "lc<n> ": line colour.
void LineColour(platform::OutStream& out, int32_t colour);
/// "lt<n> ": line type.
void LineType(platform::OutStream& out, int32_t type);
/// "lc10 #rrggbb": r, g, b packed by wrapping 32-bit addition, not by or,
/// so a component outside 0..255 carries into its neighbour.
void RgbColour(platform::OutStream& out, int32_t r, int32_t g, int32_t b);
/// "lc10 #rrggbb" of an already packed value.
void PackedRgbColour(platform::OutStream& out, int32_t rgb);
/// "sl": a chain of straight lines through two, three or four points. The
/// four-point chain has six decimals with `short_form` (the host's debug
/// level 1), twelve otherwise.
void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2);
void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2, double x3, double y3);
void Chain(platform::OutStream& out, double x1, double y1, double x2,
           double y2, double x3, double y3, double x4, double y4,
           bool short_form);
/// "sc", "se", "so": eight numbers, ten decimals and six for the last.
void EightNumbers(platform::OutStream& out, const char* key,
                  const double v[8]);
/// "cn<n> ": text style number.
void TextStyle(platform::OutStream& out, int32_t style);
/// "ch x y 3 0 \"text": text at a position (no closing quote).
void Text(platform::OutStream& out, double x, double y, const char* text);
/// "ch x y 3 0 \"text d": the number is passed first but printed last.
void TextAndNumber(platform::OutStream& out, double x, double y, double d,
                   const char* text);
/// "ch x y 3 0 \"n" and "ch x y 3 0 \"a,b".
void TextInteger(platform::OutStream& out, double x, double y, int32_t n);
void TextIntegers(platform::OutStream& out, double x, double y, int32_t a,
                  int32_t b);

}  // namespace emit

#endif  // RRENSEN_WRITER_EMITTERS_H_
