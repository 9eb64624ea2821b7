#ifndef RRENSEN_WRITER_EMITTERS_H_
#define RRENSEN_WRITER_EMITTERS_H_

#include "platform/out_stream.h"

/// The drawing records the tool writes, in the host's vocabulary. Each
/// emitter formats its values into exactly one record and appends it to
/// `out`; none keeps state or reports a failed write (the stream does).
/// Reals are fixed-point with 12 decimals, the same bytes on every
/// platform.
namespace writer::emit {

/// " x1 y1 x2 y2 ": a straight line, 12 decimals, leading blank.
void Line(platform::OutStream& out, double x1, double y1, double x2,
          double y2);
/// "ci cx cy r start end sixth tilt ": an arc; start and end angles are
/// counted from the tilt angle, in degrees, counter-clockwise.
void Arc(platform::OutStream& out, double cx, double cy, double r,
         double start, double end, double sixth, double tilt);
/// "ci cx cy r ": a circle.
void Circle(platform::OutStream& out, double cx, double cy, double r);

}  // namespace writer::emit

#endif  // RRENSEN_WRITER_EMITTERS_H_
