#ifndef RRENSEN_VIEW_VIEW_H_
#define RRENSEN_VIEW_VIEW_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/r_rensen.h"
#include "state/drawing_state.h"

namespace view {

/// The drawing records of an exchange file (or of the tool's output).
struct Drawing {
  struct Line {
    double x1, y1, x2, y2;
  };
  /// An arc record: centre, radius, start and end angle counted from the
  /// tilt angle, all angles in degrees, counter-clockwise.
  struct Arc {
    double cx, cy, r, start, end, tilt;
  };
  struct Circle {
    double cx, cy, r;
  };
  std::vector<Line> lines;
  std::vector<Arc> arcs;
  std::vector<Circle> circles;
};

/// Reads exchange-file bytes with the tool's reader: the state it leaves
/// (points, attributes) and every line, arc and circle record on the way.
DrawingState ReadExchange(std::string_view bytes, Drawing* records);

/// The outline the tool would write for the points of `read`, with fillet
/// size `men`, built in memory by the tool's builder from a copy of the
/// state (the closing step overwrites points).
struct Outline {
  int result = 0;
  RensenTrace trace;
  Drawing drawing;
};
Outline BuildOutline(const DrawingState& read, double men);

/// The largest fillet size below 20, at three decimals, with which the
/// builder draws the outline of `read`; none when no size does.
std::optional<double> LargestDrawingSize(const DrawingState& read);

/// The indicated points of `read`, numbers 1 .. n (n at most 19).
struct Point {
  int number;
  double x, y;
};
std::vector<Point> Points(const DrawingState& read);

/// The number of the indicated point that working point `v` of a builder
/// call is: itself, except in a closed outline, where the last corner is
/// point 1 again and the point after it a copy of point 2.
int PointOf(const RensenTrace& trace, int v);

/// One line on why the outline was refused; empty when it was drawn.
std::string Reason(const Outline& outline);

/// A table of the corners of a drawn outline, or the reason a refused one
/// was refused and the size that would draw it; for standard error.
std::string Explain(const DrawingState& read, const Outline& outline);

}  // namespace view

#endif  // RRENSEN_VIEW_VIEW_H_
