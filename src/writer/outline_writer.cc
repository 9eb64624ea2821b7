#include "writer/outline_writer.h"

#include "geometry/angles.h"
#include "writer/emitters.h"

namespace writer {
namespace {

using geometry::CornerTrace;
using geometry::Degrees;

/// "k0(...rad)(...dgree)  re(...)=lenx(...)/tan(k0)\n", shared by the two
/// corner lines: the half turn k0, the signed radius re and the cut back
/// lenx.
void HalfTurnTail(platform::OutStream& o, const CornerTrace& c) {
  o.Str("k0(");
  o.Fixed(c.half_turn, 6);
  o.Str("rad)(");
  o.Fixed(Degrees(c.half_turn), 6);
  o.Str("dgree)  re(");
  o.Fixed(c.signed_radius, 6);
  o.Str(")=lenx(");
  o.Fixed(c.cut_back, 6);
  o.Str(")/tan(k0)\n");
}

}  // namespace

void WriteOutlineRecords(const rrensen::Outline& outline,
                         const geometry::FilletTrace& trace,
                         platform::OutStream& out) {
  if (outline.result != rrensen::Result::kDrawn) return;
  for (const rrensen::Segment& s : trace.segments) {
    if (s.is_arc) {
      // The record's arc runs counter-clockwise about its tilt, whichever
      // way the outline runs through it.
      const geometry::HostArc a =
          geometry::HostArcOf(trace.corners[static_cast<size_t>(s.corner)]);
      emit::Arc(out, a.centre.x, a.centre.y, a.radius, a.start_degrees,
                a.end_degrees, 1.0, a.tilt_degrees);
    } else {
      emit::Line(out, s.start.x, s.start.y, s.end.x, s.end.y);
    }
  }
}

void WriteFilletTrace(const rrensen::Outline& outline,
                      const geometry::FilletTrace& trace, double fillet_size,
                      platform::OutStream& console, platform::OutStream& out) {
  // Spacing lines: "len1" is the side's length. The working points are
  // numbered from 1, and a closed outline's last two are points 1 and 2
  // again.
  for (size_t k = 0; k < trace.side_lengths.size(); ++k) {
    int i = static_cast<int>(k) + 2;
    console.Str("#  P(");
    console.Int(i);
    console.Str(")-P(");
    console.Int(i + 1);
    console.Str(") if len1(");
    console.Fixed(trace.side_lengths[k], 1);
    console.Str(") < 2.0 x Men(");
    console.Fixed(fillet_size, 1);
    console.Str(") error \n");
  }
  // The arc threshold as the corner lines print it ("bcos"); "a" is
  // |cos k0|.
  const double arc_threshold = geometry::ArcThreshold();
  const bool last_not_finite =
      outline.problem.kind == rrensen::Refusal::kCornerNotFinite;
  for (size_t k = 0; k < trace.corners.size(); ++k) {
    const CornerTrace& c = trace.corners[k];
    if (c.is_arc) {
      console.Str("#   ");
      HalfTurnTail(console, c);
    }
    console.Str("#  bcos(");
    console.Fixed(arc_threshold, 6);
    console.Str(") a(");
    console.Fixed(c.cos_half_turn, 6);
    console.Chr(')');
    HalfTurnTail(console, c);
    // A corner whose values are not finite was refused before its markers.
    if (last_not_finite && k + 1 == trace.corners.size()) break;
    // Markers: a text record with radius, start and end angle, tilt and
    // k0 in degrees, and a circle of half the radius at the centre.
    out.Str("ch ");
    out.Fixed(c.centre.x, 1);
    out.Chr(' ');
    out.Fixed(c.centre.y, 1);
    out.Str(" 3,0,\"");
    out.Fixed(c.radius, 1);
    out.Chr(',');
    out.Fixed(-c.half_sweep_degrees, 1);
    out.Chr(',');
    out.Fixed(c.half_sweep_degrees, 1);
    out.Chr(',');
    out.Fixed(c.tilt_degrees, 1);
    out.Str(" k0(");
    out.Fixed(Degrees(c.half_turn), 1);
    out.Str(")\n");
    emit::Circle(out, c.centre.x, c.centre.y, 0.5 * c.radius);
    // "sikaku" and "syukaku" name two angles of the host's drawing; the
    // line always shows them as 0.
    console.Str("#  sikaku(0.0) syukaku(0.0)\n");
  }
  // The count line: "Ccnt" is the number of working points, "i" at least 3.
  const int count = static_cast<int>(trace.working_points.size());
  if (outline.result == rrensen::Result::kDrawn && count >= 3) {
    console.Str("# Ccnt(");
    console.Int(count);
    console.Str(") i(");
    console.Int(count > 3 ? count : 3);
    console.Str(") Men(");
    console.Fixed(fillet_size, 6);
    console.Str(")\n");
  }
}

}  // namespace writer
