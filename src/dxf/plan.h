#ifndef RRENSEN_DXF_PLAN_H_
#define RRENSEN_DXF_PLAN_H_

/// What becomes of one polyline of a drawing, or one chain of lines and
/// arcs: the one decision every face takes from here. rrensen-dxf writes
/// it, the page draws and lists it, the Python module returns it; none of
/// them decides anything of its own.

#include <optional>
#include <string>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/report_json.h"
#include "dxf/settings.h"
#include "rrensen/polyline.h"

namespace dxf {

/// Everything about one polyline that any face needs.
struct PolylinePlan {
  /// Whether the run looks at it: a 2-D polyline (IsTwoDimensional) on the
  /// layer asked for. One it does not look at is copied without a word, and
  /// the rest of the plan is empty.
  bool considered = false;
  /// Why it is not considered: "not_2d" or "other_layer"; empty when it is.
  std::string ignored;
  /// What became of it, as the report gives it: the entity, the style, the
  /// status (with the reason of a skipped one), the closing as written, the
  /// corners filleted and left, and the runs left as they were, each with
  /// its refusal and its exact largest size.
  OutlineReport report;
  /// The library's result, for a polyline that was filleted (status not
  /// kSkipped): the new vertices, the caller's vertex each one is (-1 for a
  /// new one), and the runs refused.
  rrensen::PolylineResult result;
  /// Whether the entity is written anew with `result`; false when it is
  /// copied as it was (skipped, every run refused, or no vertex changed).
  bool rewritten = false;
};

/// Whether the run looks at `p` at all (see PolylinePlan::considered).
bool Considered(const Polyline& p, const Settings& settings);

/// Whether `p` is filleted as a closed outline, one with an inside: a
/// considered polyline, not skipped, flagged closed or closed by the gap.
/// For reliefs its place among the others decides where the cutter runs.
bool HasInside(const Polyline& p, const Settings& settings);

/// The vertices `p` is filleted through when it has an inside (HasInside):
/// its own, or, closed by the gap, all but its last.
std::vector<rrensen::BulgeVertex> InsideVertices(const Polyline& p);

/// The plan for `p`: skipped when UnfitOf says so; else filleted with
/// rrensen::FilletPolyline, closed by its flag, or by the gap (ClosesByGap)
/// without its last vertex.
PolylinePlan PlanPolyline(const Polyline& p, const Settings& settings);

/// Fillets the outline through `vertices` (a chain's, or a polyline's),
/// closed or not, as `settings` say: the library's result, with what
/// became of it in `report` (style, status, closing as written, corners
/// and refused runs).
rrensen::PolylineResult PlanOutline(
    const std::vector<rrensen::BulgeVertex>& vertices, bool closed,
    const Settings& settings, OutlineReport& report);

/// Whether `close_gap` closes the polyline through `vertices`: an open one
/// of three or more vertices whose last vertex lies within the gap of its
/// first.
bool ClosesByGap(const std::vector<rrensen::BulgeVertex>& vertices,
                 bool closed, const std::optional<double>& close_gap);

/// A largest size as a person would type it, never above `largest`: for
/// chord arcs the size itself (a whole number of thousandths); for the other
/// styles, whose largest sizes are exact to the last bit
/// (50.00000000000001), six significant digits rounded down, so that the
/// size typed still fillets and 1.0001 times it does not.
double TypeableSize(double largest, rrensen::CornerStyle style);

/// TypeableSize as text: to three decimals for chord arcs, else with the
/// fewest digits that read back ("72.8227").
std::string TypeableSizeText(double largest, rrensen::CornerStyle style);

/// The outline's name for a person: "LWPOLYLINE 2F on layer "walls" (line
/// 12)", or for a chain "chain of 3 lines and 2 arcs from LINE 2A on layer
/// "walls" (line 12)".
std::string DescribeOutline(const OutlineReport& report);

/// The lines rrensen-dxf says on standard error about an outline not wholly
/// filleted (none for one that was): one for a skipped outline, one for
/// each refused run of the others, with the largest size that fillets it.
std::vector<std::string> Prose(const OutlineReport& report);

/// Whether Prose names the vertices of a refused run: not when the outline
/// was left unchanged for that one run's sake (all else in it is arcs).
bool ProseNamesRuns(const OutlineReport& report);

/// The largest size, typed as TypeableSize gives it, at which every run of
/// `p` that some size fillets is filleted, with `settings`' style and
/// closing; infinity when no run has a corner that limits the size (every
/// size fillets it); none when `p` is not considered or skipped, or no size
/// fillets any of its runs.
std::optional<double> LargestPolylineSize(const Polyline& p,
                                          const Settings& settings);

}  // namespace dxf

#endif  // RRENSEN_DXF_PLAN_H_
