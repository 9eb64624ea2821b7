#ifndef RRENSEN_VIEW_VIEW_H_
#define RRENSEN_VIEW_VIEW_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/fillet_trace.h"
#include "reader/exchange_contents.h"
#include "rrensen/fillet.h"

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

/// What the preview shows of an exchange file: its indicated points, its
/// drawing records, and the outline the tool would write for the points.
struct Preview {
  reader::ExchangeContents contents;
  Drawing records;
  /// The indicated points 1 to n, in order (as the tool fillets them).
  std::vector<rrensen::Point> points;
  double fillet_size = 5.0;
  /// How the corners are cut. Only kChordArc is the tool's; for the other
  /// styles the captions name what the size measures.
  rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc;
  /// False when the file carries more than 19 point records or a last point
  /// numbered outside 0 to 19: the tool refuses those before filleting.
  bool within_limits = true;
  rrensen::Outline outline;
  /// The filleting's working values, for the arc records the tool writes;
  /// empty for the styles other than kChordArc.
  geometry::FilletTrace trace;
  /// For a refused outline within the limits: the largest fillet size below
  /// 20 that draws it, if any (searched once, for every explanation).
  std::optional<double> largest_size;

  bool has_points() const { return contents.points.record_count > 0; }
  /// The tool's result for these points: 0 drawn, 1, 2 or 3 refused.
  int result() const {
    return within_limits ? static_cast<int>(outline.result) : 1;
  }
};

/// Reads exchange-file bytes with the tool's reader and fillets the
/// indicated points with `fillet_size`, as the tool would, or in another
/// corner style.
Preview MakePreview(std::string_view bytes, double fillet_size,
                    rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc);

/// The arc record of an arc segment drawn without a trace (the styles other
/// than kChordArc): counter-clockwise from its start angle, tilt 0.
Drawing::Arc ArcOf(const rrensen::Segment& arc);

/// The arc record that the tool writes for an arc corner.
Drawing::Arc ArcOf(const geometry::CornerTrace& corner);

/// One line on why the outline was refused; empty when it was drawn.
std::string Reason(const Preview& preview);

/// A table of the corners of a drawn outline, or the reason a refused one
/// was refused and the size that would draw it; for standard error.
std::string Explain(const Preview& preview);

/// The picture's caption, one line each: the fillet size and whether the
/// outline was closed; for a refused outline the reason and the largest
/// size that would draw it; for a file without points, what is drawn.
std::vector<std::string> Caption(const Preview& preview);

}  // namespace view

#endif  // RRENSEN_VIEW_VIEW_H_
