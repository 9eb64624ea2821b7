#include "dxf/plan.h"

#include <fmt/format.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "dxf/number_text.h"
#include "geometry/fillet_rules.h"
#include "platform/ascii.h"
#include "platform/number_format.h"

namespace dxf {
namespace {

/// How a polyline came out of rrensen::FilletPolyline: filleted (no run
/// refused), partly (some corners filleted, some runs refused) or unchanged.
OutlineStatus StatusOf(const rrensen::PolylineResult& f) {
  if (f.refused_runs.empty()) return OutlineStatus::kFilleted;
  return f.corners_filleted > 0 ? OutlineStatus::kPartly
                                : OutlineStatus::kUnchanged;
}

/// Whether `f` is `p` as it was: the same vertices, bit for bit, and the
/// same closing.
bool Unchanged(const Polyline& p, const rrensen::PolylineResult& f) {
  if (f.closed != p.closed || f.vertices.size() != p.vertices.size()) {
    return false;
  }
  for (size_t k = 0; k < f.sources.size(); ++k) {
    if (f.sources[k] != static_cast<int>(k)) return false;
  }
  return true;
}

/// The outline through `vertices` filleted, or re-cut when asked.
rrensen::PolylineResult Cut(const std::vector<rrensen::BulgeVertex>& vertices,
                            const rrensen::FilletOptions& options,
                            const Settings& settings) {
  return settings.refillet
             ? rrensen::RecutPolyline(vertices, options, settings.earlier_cuts)
             : rrensen::FilletPolyline(vertices, options);
}

/// "3 lines" or "1 arc".
std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

bool Considered(const Polyline& p, const Settings& settings) {
  return IsTwoDimensional(p) &&
         (!settings.layer ||
          platform::EqualIgnoringCase(*settings.layer, p.layer));
}

bool HasInside(const Polyline& p, const Settings& settings) {
  return Considered(p, settings) && UnfitOf(p).code.empty() &&
         (p.closed || ClosesByGap(p.vertices, p.closed, settings.close_gap));
}

std::vector<rrensen::BulgeVertex> InsideVertices(const Polyline& p) {
  std::vector<rrensen::BulgeVertex> vertices = p.vertices;
  if (!p.closed && !vertices.empty()) vertices.pop_back();  // closed by the gap
  return vertices;
}

bool ClosesByGap(const std::vector<rrensen::BulgeVertex>& vertices,
                 bool closed, const std::optional<double>& close_gap) {
  if (closed || !close_gap || vertices.size() < 3) return false;
  return geometry::Distance(vertices.front().point, vertices.back().point) <=
         *close_gap;
}

rrensen::PolylineResult PlanOutline(
    const std::vector<rrensen::BulgeVertex>& vertices, bool closed,
    const Settings& settings, OutlineReport& report) {
  report.style = settings.style;
  rrensen::FilletOptions options;
  options.size = settings.size;
  options.style = settings.style;
  options.corners = settings.corners;
  options.tool_side = settings.tool_side;
  options.relief_max_angle = settings.relief_max_angle;
  options.tbone_side = settings.tbone_side;
  rrensen::PolylineResult f;
  if (ClosesByGap(vertices, closed, settings.close_gap)) {
    // Closed by the gap: without its last vertex.
    const std::vector<rrensen::BulgeVertex> shorter(vertices.begin(),
                                                    vertices.end() - 1);
    options.closing = rrensen::Closing::kClosed;
    f = Cut(shorter, options, settings);
  } else {
    options.closing = closed ? rrensen::Closing::kClosed : rrensen::Closing::kOpen;
    f = Cut(vertices, options, settings);
  }
  report.refillet = settings.refillet;
  report.earlier_cuts = f.earlier_cuts;
  report.earlier_cuts_recut = f.earlier_cuts_recut;
  report.corners = settings.corners;
  report.selection_applied = f.closed;
  report.corners_filleted = f.corners_filleted;
  report.corners_left = f.corners_left;
  report.corners_unselected = f.corners_unselected;
  report.refused_runs.clear();
  for (const rrensen::RefusedRun& run : f.refused_runs) {
    report.refused_runs.push_back(
        {run.first_vertex, run.last_vertex, run.problem, run.largest_size});
  }
  report.status = StatusOf(f);
  report.closed =
      report.status == OutlineStatus::kUnchanged ? closed : f.closed;
  return f;
}

PolylinePlan PlanPolyline(const Polyline& p, const Settings& settings) {
  PolylinePlan plan;
  plan.considered = Considered(p, settings);
  if (!plan.considered) {
    plan.ignored = IsTwoDimensional(p) ? "other_layer" : "not_2d";
    return plan;
  }
  OutlineReport& report = plan.report;
  report.type = p.type;
  report.handle = p.handle;
  report.layer = p.layer;
  report.line = p.line;
  report.style = settings.style;
  report.closed = p.closed;
  Unfit unfit = UnfitOf(p);
  if (!unfit.code.empty()) {
    report.status = OutlineStatus::kSkipped;
    report.skip_code = std::move(unfit.code);
    report.skip_reason = std::move(unfit.reason);
    return plan;
  }
  plan.result = PlanOutline(p.vertices, p.closed, settings, report);
  plan.rewritten = report.status != OutlineStatus::kUnchanged &&
                   !Unchanged(p, plan.result);
  return plan;
}

double TypeableSize(double largest, rrensen::CornerStyle style) {
  if (style == rrensen::CornerStyle::kChordArc || !std::isfinite(largest) ||
      !(largest > 0.0)) {
    return largest;
  }
  // Six significant digits: the first six of the size's (seventeen, all a
  // double has), as a whole number, and their power of ten, read back as
  // the double nearest them; one less in the last digit while that lies
  // above the size.
  const std::string text = fmt::format("{:.16e}", largest);  // "7.2822773270328480e+01"
  const size_t e = text.find('e');
  int64_t mantissa = 0;
  int digits = 0;
  for (size_t k = 0; k < e && digits < 6; ++k) {
    if (text[k] >= '0' && text[k] <= '9') {
      mantissa = mantissa * 10 + (text[k] - '0');
      ++digits;
    }
  }
  int exponent = 0;
  ParseInteger(text.substr(e + 1 + (text[e + 1] == '+' ? 1 : 0)), exponent);
  double typed = largest;
  for (; mantissa > 0; --mantissa) {
    if (!ParseReal(fmt::format("{}e{}", mantissa, exponent - 5), typed)) break;
    if (typed <= largest) return typed;
  }
  return largest;
}

std::string TypeableSizeText(double largest, rrensen::CornerStyle style) {
  const double typed = TypeableSize(largest, style);
  if (style == rrensen::CornerStyle::kChordArc) {
    return platform::FixedText(typed, 3);
  }
  return fmt::format("{}", typed);
}

std::string DescribeOutline(const OutlineReport& r) {
  std::string text;
  if (r.kind == "chain") {
    int lines = 0;
    for (const EntityRef& part : r.parts) lines += part.type == "LINE" ? 1 : 0;
    const int arcs = static_cast<int>(r.parts.size()) - lines;
    text = "chain of ";
    if (lines > 0) text += Counted(lines, "line");
    if (lines > 0 && arcs > 0) text += " and ";
    if (arcs > 0) text += Counted(arcs, "arc");
    // The piece first in the file: the one on the line given.
    for (const EntityRef& part : r.parts) {
      if (part.line != r.line) continue;
      text += " from " + part.type;
      if (!part.handle.empty()) text += " " + part.handle;
    }
  } else {
    text = r.type;
    if (!r.handle.empty()) text += " " + r.handle;
  }
  return text + " on layer \"" + r.layer + "\" (line " +
         std::to_string(r.line) + ")";
}

bool ProseNamesRuns(const OutlineReport& r) {
  return !(r.status == OutlineStatus::kUnchanged && r.refused_runs.size() == 1);
}

std::vector<std::string> Prose(const OutlineReport& r) {
  std::vector<std::string> lines;
  const std::string what = DescribeOutline(r);
  if (r.status == OutlineStatus::kSkipped) {
    lines.push_back(what + " left unchanged: " + r.skip_reason);
    return lines;
  }
  // (A relief on an open polyline is refused, and says so below.)
  if (r.corners != rrensen::CornerSelection::kAll && !r.selection_applied &&
      !geometry::IsRelief(r.style)) {
    lines.push_back(what + " is open: it has no inside to tell " +
                    rrensen::CornerSelectionName(r.corners) +
                    " corners by, and every corner was cut");
  }
  for (const RunReport& run : r.refused_runs) {
    std::string line = what;
    line += r.status == OutlineStatus::kPartly ? " partly filleted"
                                               : " left unchanged";
    if (ProseNamesRuns(r)) {
      line += ": the run from point " + std::to_string(run.first_vertex + 1) +
              " to point " + std::to_string(run.last_vertex + 1) +
              " is left as it is";
    }
    line += ": " + rrensen::Describe(run.problem) + "; ";
    line += run.largest_size ? "the largest size that fillets it is " +
                                   TypeableSizeText(*run.largest_size, r.style)
                             : std::string("no size fillets it");
    lines.push_back(line);
  }
  return lines;
}

std::optional<double> LargestPolylineSize(const Polyline& p,
                                          const Settings& settings) {
  if (!Considered(p, settings) || !UnfitOf(p).code.empty()) {
    return std::nullopt;
  }
  // At the largest size there is, every run with a corner to cut is refused
  // (no side holds a cut of that size), and each says the largest size that
  // fillets it.
  Settings largest = settings;
  largest.size = DBL_MAX;
  OutlineReport report;
  const rrensen::PolylineResult f =
      PlanOutline(p.vertices, p.closed, largest, report);
  std::optional<double> smallest;
  for (const rrensen::RefusedRun& run : f.refused_runs) {
    if (run.largest_size && (!smallest || *run.largest_size < *smallest)) {
      smallest = run.largest_size;
    }
  }
  if (smallest) return TypeableSize(*smallest, settings.style);
  // Runs that some size fillets, none of which DBL_MAX refuses.
  if (f.corners_filleted > 0 || f.refused_runs.empty()) return HUGE_VAL;
  return std::nullopt;
}

}  // namespace dxf
