#include "rrensen/recut.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "geometry/fillet_rules.h"
#include "geometry/polyline_region.h"
#include "geometry/trig.h"

namespace rrensen {
inline namespace v1 {
namespace {

/// A chamfer "no longer than" the length asked for may measure a little
/// more: its ends were computed, and written as decimal text, so the
/// distance between them carries their rounding, some 1e-16 of the
/// coordinates relative to the length. A billionth of the length asked
/// for covers that for coordinates up to 10^6 times the chamfer's length,
/// and no chamfer drawn on purpose is that close to the limit.
constexpr double kChamferLengthTolerance = 1e-9;

Point Minus(const Point& a, const Point& b) { return {a.x - b.x, a.y - b.y}; }
double Cross(const Point& a, const Point& b) { return a.x * b.y - a.y * b.x; }
/// The vertices as FilletPolyline closes them, and whether they close.
struct Closed {
  std::vector<BulgeVertex> vertices;
  bool closed = false;
};

Closed Close(const std::vector<BulgeVertex>& vertices,
             const FilletOptions& options) {
  Closed c{vertices, false};
  c.closed = geometry::ApplyClosing(c.vertices, options.closing, options.size);
  return c;
}

/// A piece that may be an earlier cut: piece `i` (from vertex i to the
/// next), with the sharp corner where its neighbours' lines meet and the
/// way it turns.
struct Candidate {
  size_t piece = 0;
  Point corner;
  double turn = 0.0;
  double length = 0.0;
  bool arc = false;
};

/// Finds the earlier cuts of a polyline (see EarlierCuts).
class CutFinder {
 public:
  CutFinder(const std::vector<BulgeVertex>& w, bool closed,
            const EarlierCuts& cuts)
      : w_(w), n_(w.size()), closed_(closed), cuts_(cuts) {}

  /// The cuts, by piece, none of them next to another.
  std::vector<Candidate> Find() const {
    std::vector<Candidate> arcs;
    std::vector<Candidate> chamfers;
    const size_t pieces = closed_ ? n_ : (n_ == 0 ? 0 : n_ - 1);
    for (size_t i = 0; i < pieces; ++i) {
      Candidate c;
      if (!Between(i, c)) continue;
      if (w_[i].bulge != 0.0) {
        if (IsFillet(i, c)) arcs.push_back(c);
      } else if (IsChamfer(c)) {
        chamfers.push_back(c);
      }
    }
    // Arcs have straight neighbours, which are never chamfers themselves
    // (a chamfer's neighbours are straight): only chamfers can compete.
    std::stable_sort(chamfers.begin(), chamfers.end(),
                     [](const Candidate& a, const Candidate& b) {
                       return a.length < b.length;
                     });
    std::vector<bool> taken(n_, false);
    std::vector<Candidate> found = arcs;
    for (const Candidate& c : chamfers) {
      if (taken[Previous(c.piece)] || taken[Next(c.piece)]) continue;
      taken[c.piece] = true;
      found.push_back(c);
    }
    std::sort(found.begin(), found.end(),
              [](const Candidate& a, const Candidate& b) {
                return a.piece < b.piece;
              });
    return found;
  }

 private:
  size_t Previous(size_t i) const { return (i + n_ - 1) % n_; }
  size_t Next(size_t i) const { return (i + 1) % n_; }

  /// Whether piece `i` lies between two straight pieces whose lines meet
  /// beyond its ends: ahead of its start along the piece before, behind its
  /// end along the piece after. Sets the corner where they meet.
  bool Between(size_t i, Candidate& c) const {
    if (n_ < 4 && closed_) return false;  // the sides would meet at a vertex
    if (!closed_ && (i == 0 || i + 2 >= n_)) return false;
    const Point& before = w_[Previous(i)].point;
    const Point& start = w_[i].point;
    const Point& end = w_[Next(i)].point;
    const Point& after = w_[Next(Next(i))].point;
    if (w_[Previous(i)].bulge != 0.0 || w_[Next(i)].bulge != 0.0) return false;
    // The lines start + t (start - before) and end - s (after - end) meet
    // where t = cross(end - start, after - end) / cross(start - before,
    // after - end) and s = cross(start - before, end - start) / (the same).
    const Point in = Minus(start, before);
    const Point out = Minus(after, end);
    const Point chord = Minus(end, start);
    const double across = Cross(in, out);
    const double t = Cross(chord, out) / across;
    const double s = Cross(in, chord) / across;
    if (!(t > 0.0 && s > 0.0 && std::isfinite(t) && std::isfinite(s))) {
      return false;
    }
    c.piece = i;
    c.corner = {start.x + t * in.x, start.y + t * in.y};
    c.turn = geometry::TurnBetween(in, out);
    c.length = geometry::Distance(start, end);
    return std::isfinite(c.corner.x) && std::isfinite(c.corner.y);
  }

  /// Whether arc piece `i` is a fillet: less than half a turn, leaving and
  /// meeting its sides along them, of radius at most the largest. An arc
  /// of sweep a leaves its chord's direction by a/2 at each end, so the
  /// sides must turn by a/2 onto the chord and a/2 off it.
  bool IsFillet(size_t i, Candidate& c) const {
    const double sweep = 4 * trig::Atan2(w_[i].bulge, 1.0);
    if (!(std::fabs(sweep) < trig::kPi)) return false;
    const Point& start = w_[i].point;
    const Point& end = w_[Next(i)].point;
    const Point chord = Minus(end, start);
    const double onto = geometry::TurnBetween(Minus(start, w_[Previous(i)].point), chord);
    const double off = geometry::TurnBetween(chord, Minus(w_[Next(Next(i))].point, end));
    const double tolerance = cuts_.tangent_tolerance;
    if (!(std::fabs(onto - sweep / 2) <= tolerance &&
          std::fabs(off - sweep / 2) <= tolerance)) {
      return false;
    }
    const double radius = c.length / (2 * trig::Sin(std::fabs(sweep) / 2));
    if (!(radius <= cuts_.largest_radius)) return false;
    c.arc = true;
    return true;
  }

  bool IsChamfer(const Candidate& c) const {
    const double longest = cuts_.chamfer_max_length;
    return longest > 0.0 &&
           c.length <= longest + longest * kChamferLengthTolerance;
  }

  const std::vector<BulgeVertex>& w_;
  size_t n_;
  bool closed_;
  const EarlierCuts& cuts_;
};

/// Whether a corner turning by `turn` is one `options.corners` selects,
/// the region going round as `winding` says.
bool Selected(const FilletOptions& options, Winding winding, double turn) {
  if (options.corners == CornerSelection::kAll ||
      winding == Winding::kOfTheOutline) {
    return true;
  }
  const bool convex = (turn > 0.0) == (winding == Winding::kCounterClockwise);
  return options.corners == CornerSelection::kConvex ? convex : !convex;
}

/// The winding a selection of corners (or the cutter's side of reliefs)
/// is measured against, as FilletPolyline measures it: the caller's, or
/// the whole closed polyline's.
Winding WindingFor(const Closed& c, const FilletOptions& options) {
  if (options.winding != Winding::kOfTheOutline || !c.closed ||
      (options.corners == CornerSelection::kAll &&
       !geometry::IsRelief(options.style))) {
    return options.winding;
  }
  return geometry::PolylineWinding(c.vertices);
}

SharpOutline Sharpen(const Closed& c, const FilletOptions& options,
                     const EarlierCuts& cuts) {
  SharpOutline sharp;
  sharp.closed = c.closed;
  const std::vector<BulgeVertex>& w = c.vertices;
  const size_t n = w.size();
  const Winding winding = WindingFor(c, options);
  std::vector<const Candidate*> cut_at(n, nullptr);
  const std::vector<Candidate> found = CutFinder(w, c.closed, cuts).Find();
  for (const Candidate& candidate : found) {
    if (Selected(options, winding, candidate.turn)) {
      cut_at[candidate.piece] = &candidate;
    }
  }
  auto restore = [&sharp](const Candidate& cut) {
    sharp.corners.push_back({static_cast<int>(sharp.vertices.size()),
                             static_cast<int>(cut.piece), cut.arc});
    sharp.vertices.push_back({cut.corner, 0.0});
    sharp.sources.push_back(-1);
  };
  // A cut from the last vertex to the first takes the place of the first.
  const bool wraps = n > 0 && cut_at[n - 1] != nullptr;
  if (wraps) restore(*cut_at[n - 1]);
  for (size_t i = wraps ? 1 : 0; i < n; ++i) {
    if (cut_at[i] == nullptr) {
      sharp.vertices.push_back(w[i]);
      sharp.sources.push_back(static_cast<int>(i));
    } else if (i + 1 < n || !wraps) {
      restore(*cut_at[i]);
      ++i;  // the cut's end is the restored corner too
    }
  }
  return sharp;
}

}  // namespace

SharpOutline SharpenPolyline(const std::vector<BulgeVertex>& vertices,
                             const FilletOptions& options,
                             const EarlierCuts& cuts) {
  return Sharpen(Close(vertices, options), options, cuts);
}

PolylineResult RecutPolyline(const std::vector<BulgeVertex>& vertices,
                             const FilletOptions& options,
                             const EarlierCuts& cuts) {
  const Closed c = Close(vertices, options);
  const SharpOutline sharp = Sharpen(c, options, cuts);
  FilletOptions sharp_options = options;
  sharp_options.closing = c.closed ? Closing::kClosed : Closing::kOpen;
  sharp_options.winding = WindingFor(c, options);
  // The closing rule is applied above; FilletPolyline applies kClosed once
  // more, dropping a last vertex on the first. A copy of the first, for it
  // to drop, keeps a caller's repeated first vertex as FilletPolyline alone
  // keeps it.
  std::vector<BulgeVertex> closing_copy;
  const std::vector<BulgeVertex>* input = &sharp.vertices;
  if (c.closed && sharp.vertices.size() >= 2 &&
      geometry::SamePoint(sharp.vertices.front().point, sharp.vertices.back().point)) {
    closing_copy = sharp.vertices;
    closing_copy.push_back(closing_copy.front());
    input = &closing_copy;
  }
  const PolylineResult f = FilletPolyline(*input, sharp_options);

  const size_t n = sharp.vertices.size();
  std::vector<const RestoredCorner*> restored(n, nullptr);
  for (const RestoredCorner& corner : sharp.corners) {
    restored[static_cast<size_t>(corner.vertex)] = &corner;
  }
  // The sharp vertices in refused runs: their restored corners get their
  // earlier cuts back.
  std::vector<bool> refused(n, false);
  for (const RefusedRun& run : f.refused_runs) {
    for (auto k = static_cast<size_t>(run.first_vertex);; k = (k + 1) % n) {
      refused[k] = true;
      if (k == static_cast<size_t>(run.last_vertex)) break;
    }
  }
  const size_t m = c.vertices.size();
  // The caller's vertex a sharp vertex names: for a restored corner, the
  // cut's first vertex (`at_end` false) or its last.
  auto caller = [&](int k, bool at_end) {
    if (k < 0) return -1;
    const RestoredCorner* corner = restored[static_cast<size_t>(k)];
    if (corner == nullptr) return sharp.sources[static_cast<size_t>(k)];
    return at_end ? static_cast<int>((static_cast<size_t>(corner->cut_start) + 1) % m)
                  : corner->cut_start;
  };

  PolylineResult result;
  result.closed = f.closed;
  result.corners_filleted = f.corners_filleted;
  result.corners_left = f.corners_left;
  result.corners_unselected = f.corners_unselected;
  result.earlier_cuts = static_cast<int>(sharp.corners.size());
  result.vertices.reserve(f.vertices.size() + sharp.corners.size());
  result.sources.reserve(f.vertices.size() + sharp.corners.size());
  for (size_t k = 0; k < f.vertices.size(); ++k) {
    const int s = f.sources[k];
    const RestoredCorner* corner =
        s < 0 ? nullptr : restored[static_cast<size_t>(s)];
    if (corner != nullptr && refused[static_cast<size_t>(s)]) {
      for (int end = 0; end < 2; ++end) {
        const int v = caller(s, end == 1);
        result.vertices.push_back(c.vertices[static_cast<size_t>(v)]);
        result.sources.push_back(v);
      }
    } else {
      result.vertices.push_back(f.vertices[k]);
      result.sources.push_back(s < 0 || corner != nullptr ? -1 : sharp.sources[static_cast<size_t>(s)]);
    }
  }
  for (const RestoredCorner& corner : sharp.corners) {
    if (!refused[static_cast<size_t>(corner.vertex)]) ++result.earlier_cuts_recut;
  }
  // A closed polyline starts at the caller's first vertex when it is kept
  // (an earlier cut given back may have put the vertex before it first).
  if (result.closed) {
    auto first = std::find(result.sources.begin(), result.sources.end(), 0);
    if (first != result.sources.end() && first != result.sources.begin()) {
      const auto by = first - result.sources.begin();
      std::rotate(result.sources.begin(), first, result.sources.end());
      std::rotate(result.vertices.begin(), result.vertices.begin() + by,
                  result.vertices.end());
    }
  }
  for (RefusedRun run : f.refused_runs) {
    // A closed polyline refused as one run goes all the way round.
    const bool whole = f.closed && f.refused_runs.size() == 1 &&
                       static_cast<size_t>(run.last_vertex) ==
                           (static_cast<size_t>(run.first_vertex) + n - 1) % n;
    run.first_vertex = caller(run.first_vertex, true);
    run.last_vertex =
        whole ? static_cast<int>((static_cast<size_t>(run.first_vertex) + m - 1) % m)
              : caller(run.last_vertex, false);
    run.problem.point = caller(run.problem.point, true);
    run.problem.next_point = caller(run.problem.next_point, false);
    result.refused_runs.push_back(run);
  }
  return result;
}

}  // namespace v1
}  // namespace rrensen
