// Fuzz target for rrensen-dxf: the first byte of the input picks the fillet
// size and the corner style, the second the --close-gap distance (0: none),
// the rest is the DXF file. The file is run twice, without and with --join,
// and once more with reliefs (dogbones or T-bones, by the style's bits),
// and each polyline is planned at its largest size, one double either side
// and size 0, where the side that limits it is used up exactly: there every
// run that some size fillets must be filleted. Whatever the bytes,
// each run must finish without a fault; a file it writes must read back
// with as many polylines, each keeping the arcs it had (with --join: as
// many more polylines as chains were joined, and as many fewer lines and
// arcs as they took); a file where nothing was rewritten must come back
// unchanged; $HANDSEED, when it changed, must lie above every handle; and
// the two passes over a source that gives three bytes at a time, read in
// chunks of 7, must write the same bytes as over the whole file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/fillet_dxf.h"
#include "dxf/join.h"
#include "dxf/number_text.h"
#include "dxf/plan.h"
#include "dxf/tag_stream.h"
#include "dxf/tag_reader.h"
#include "dxf/test_support.h"
#include "geometry/test_geometry.h"

namespace {

/// The bulges of the pieces of `p` that are arcs with two distinct ends, in
/// order.
std::vector<double> ArcBulges(const dxf::Polyline& p) {
  std::vector<double> bulges;
  const size_t n = p.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    if (!p.closed && i + 1 == n) break;
    const rrensen::Point& a = p.vertices[i].point;
    const rrensen::Point& b = p.vertices[(i + 1) % n].point;
    if (p.vertices[i].bulge != 0.0 && (a.x != b.x || a.y != b.y)) {
      bulges.push_back(p.vertices[i].bulge);
    }
  }
  return bulges;
}

/// Whether every arc of `before` is among the pieces of `after`, bit for
/// bit and in order (round a closed polyline, from any start).
bool ArcsKept(const dxf::Polyline& before, const dxf::Polyline& after) {
  std::vector<double> wanted = ArcBulges(before);
  if (wanted.empty()) return true;
  std::vector<double> found;
  for (const rrensen::BulgeVertex& v : after.vertices) found.push_back(v.bulge);
  const size_t count = found.size();
  const size_t starts = after.closed ? count : 1;
  for (size_t start = 0; start < starts; ++start) {
    size_t next = 0;
    for (size_t k = 0; k < count && next < wanted.size(); ++k) {
      if (test_geometry::SameBits(found[(start + k) % count], wanted[next])) ++next;
    }
    if (next == wanted.size()) return true;
  }
  return false;
}

class Counter : public dxf::RunListener {
 public:
  void OnOutline(const dxf::OutlineReport& /*report*/) override { ++outlines; }
  size_t outlines = 0;
};

/// Each polyline of `bytes` planned at its largest size, one double either
/// side of it, and 0: at the largest size and below, every run that some
/// size fillets is filleted.
std::string CheckBoundaries(std::string_view bytes, dxf::Settings settings) {
  const dxf::TagList list = dxf::ReadTags(bytes);
  const dxf::Drawing drawing = dxf::ReadDrawing(list);
  for (const dxf::Polyline& p : drawing.polylines) {
    const std::optional<double> largest = dxf::LargestPolylineSize(p, settings);
    if (!largest || !std::isfinite(*largest)) continue;
    for (double size : {*largest, std::nextafter(*largest, 0.0),
                        std::nextafter(*largest, HUGE_VAL), 0.0}) {
      settings.size = size;
      const dxf::PolylinePlan plan = dxf::PlanPolyline(p, settings);
      if (size > *largest) continue;
      for (const dxf::RunReport& run : plan.report.refused_runs) {
        if (run.largest_size) return "a run is refused at the largest size or below";
      }
    }
  }
  return "";
}

/// The checks common to both runs: the passes in small chunks write the
/// same, and a changed $HANDSEED lies above every handle.
std::string CheckRun(std::string_view bytes, const dxf::Settings& settings,
                     const dxf::FilletRun& run) {
  dxf::FilletJob job(settings, 7);
  dxf::testing::TrickleSource first(bytes, 3);
  if (!job.Survey(first)) return "the survey in chunks failed";
  dxf::testing::TrickleSource second(bytes, 3);
  dxf::StringSink out;
  Counter counter;
  if (!job.Write(second, &out, counter).error.empty() || out.text != run.output ||
      counter.outlines != run.outlines.size()) {
    return "the passes in chunks wrote otherwise";
  }
  const dxf::Drawing before = dxf::ReadDrawing(dxf::ReadTags(bytes));
  const dxf::TagList list = dxf::ReadTags(run.output);
  const dxf::Drawing after = dxf::ReadDrawing(list);
  if (after.has_handle_seed && before.has_handle_seed &&
      list.tags[after.handle_seed_tag].value !=
          dxf::ReadTags(bytes).tags[before.handle_seed_tag].value) {
    uint64_t seed = 0;
    dxf::ParseHandle(list.tags[after.handle_seed_tag].value, seed);
    if (after.next_free_handle != seed) return "$HANDSEED is not above every handle";
  }
  return "";
}

/// The checks of a run of `bytes`, with --join when `join`: "" when they
/// hold. With --join there must be one polyline more for each chain joined
/// and as many lines and arcs fewer as they took; without, each polyline
/// keeps its arcs.
std::string CheckFillet(std::string_view bytes, dxf::Settings settings, bool join) {
  const std::string where = join ? "--join: " : "";
  if (join) settings.join_gap = dxf::kDefaultJoinGap;
  const dxf::FilletRun run = dxf::FilletDrawing(bytes, settings);
  if (!run.error.empty()) return "";
  const std::string common = CheckRun(bytes, settings, run);
  if (!common.empty()) return where + common;
  if (run.rewritten == 0) {
    return run.output == bytes ? "" : where + "a file with nothing rewritten changed";
  }
  const dxf::TagList after = dxf::ReadTags(run.output);
  if (!after.error.empty()) return where + "the written file's tags do not read";
  const auto pieces = join ? dxf::DrawingPieces::kRead : dxf::DrawingPieces::kSkip;
  const dxf::Drawing drawing_before = dxf::ReadDrawing(dxf::ReadTags(bytes), pieces);
  const dxf::Drawing drawing_after = dxf::ReadDrawing(after, pieces);
  if (!drawing_after.error.empty()) return where + "the written file's structure is bad";
  if (drawing_after.polylines.size() !=
      drawing_before.polylines.size() + static_cast<size_t>(run.joined_polylines)) {
    return where + "not one polyline more for each chain joined, and no other";
  }
  if (drawing_after.pieces.size() + static_cast<size_t>(run.joined_lines + run.joined_arcs) !=
      drawing_before.pieces.size()) {
    return where + "lines or arcs went that no chain took";
  }
  for (size_t k = 0; !join && k < drawing_before.polylines.size(); ++k) {
    if (!ArcsKept(drawing_before.polylines[k], drawing_after.polylines[k])) {
      return "polyline " + std::to_string(k + 1) + " lost an arc";
    }
  }
  return "";
}

}  // namespace

/// The checks of one input; "" when they hold, else what is wrong.
std::string CheckFuzzInput(std::string_view input) {
  if (input.size() < 2) return "";
  // Sizes 0 to 19.6875 in steps of 0.3125 (5/16), the first byte's value
  // but its two lowest bits, which pick the style; gaps 0 to 63.5 in steps
  // of 0.25, the second byte's value less one.
  dxf::Settings settings;
  const auto first = static_cast<unsigned char>(input[0]);
  settings.size = static_cast<double>(first >> 2) * 0.3125;
  settings.style = static_cast<rrensen::CornerStyle>(first & 3);
  const auto gap = static_cast<unsigned char>(input[1]);
  if (gap != 0) settings.close_gap = (gap - 1) * 0.25;
  std::string_view bytes = input.substr(2);
  std::string joined = CheckFillet(bytes, settings, true);
  if (!joined.empty()) return joined;
  std::string boundaries = CheckBoundaries(bytes, settings);
  if (!boundaries.empty()) return boundaries;
  std::string plain = CheckFillet(bytes, settings, false);
  if (!plain.empty()) return plain;
  // Again with reliefs (the style's lowest bit: dogbones or T-bones), at
  // convex corners only when its second bit is set.
  settings.style = (first & 1) != 0 ? rrensen::CornerStyle::kTBone
                                    : rrensen::CornerStyle::kDogbone;
  if ((first & 2) != 0) settings.corners = rrensen::CornerSelection::kConvex;
  std::string reliefs = CheckBoundaries(bytes, settings);
  if (!reliefs.empty()) return "reliefs: " + reliefs;
  reliefs = CheckFillet(bytes, settings, true);
  if (!reliefs.empty()) return "reliefs: " + reliefs;
  // Again re-cutting earlier cuts, chamfers up to the gap long.
  settings.style = static_cast<rrensen::CornerStyle>(first & 3);
  settings.refillet = true;
  settings.earlier_cuts.chamfer_max_length = settings.close_gap.value_or(0.0);
  std::string recut = CheckBoundaries(bytes, settings);
  return recut.empty() ? "" : "--refillet: " + recut;
}
