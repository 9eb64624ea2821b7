#include "rrensen/polyline.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "geometry/fillet_rules.h"
#include "geometry/polyline_region.h"
#include "geometry/trig.h"

namespace rrensen {
inline namespace v1 {
namespace {

/// A piece is straight when its bulge is 0 (or -0).
bool Straight(const BulgeVertex& v) { return v.bulge == 0.0; }

/// A vertex on its way out, with `key`: the index of the caller's vertex at
/// or before it along the polyline, which orders a closed polyline's
/// vertices from the caller's first.
struct Emitted {
  BulgeVertex vertex;
  int source = -1;
  size_t key = 0;
};

/// Drops each new straight vertex whose piece has no length: it lies on the
/// point where the next piece starts (`next`, or the run's own first vertex
/// when `next` is null: a closed run). Size 0 gives such pieces where the
/// cuts fall together; a cut whose two sides meet exactly does too. One
/// vertex always stays.
void DropEmptyPieces(std::vector<Emitted>& run, const Point* next) {
  std::vector<Emitted> kept;
  kept.reserve(run.size());
  for (size_t i = 0; i < run.size(); ++i) {
    const Point& following =
        i + 1 < run.size() ? run[i + 1].vertex.point
                           : (next != nullptr ? *next : run.front().vertex.point);
    bool last_left = kept.empty() && i + 1 == run.size();
    if (Straight(run[i].vertex) &&
        geometry::SamePoint(run[i].vertex.point, following) &&
        !last_left) {
      continue;
    }
    kept.push_back(run[i]);
  }
  run.swap(kept);
}

class PolylineFilleter {
 public:
  PolylineFilleter(const std::vector<BulgeVertex>& vertices,
                   const FilletOptions& options)
      : w_(vertices), options_(options), size_(options.size) {
    result_.closed = geometry::ApplyClosing(w_, options.closing, size_);
    // A selection of corners, and the cutter's side of reliefs, are
    // measured against the whole polyline's region, also in runs of
    // straight pieces between its arcs.
    if (result_.closed &&
        (options.corners != CornerSelection::kAll || geometry::IsRelief(options.style)) &&
        options.winding == Winding::kOfTheOutline && !w_.empty()) {
      options_.winding = geometry::PolylineWinding(w_);
    }
  }

  PolylineResult Run() {
    const size_t n = w_.size();
    if (n == 0) return std::move(result_);
    const size_t pieces = result_.closed ? n : n - 1;
    size_t straight = 0;
    for (size_t i = 0; i < pieces; ++i) straight += Straight(w_[i]) ? 1 : 0;
    if (result_.closed && straight == n && n >= 2) {
      if (!ClosedRun()) {
        // Refused whole: the polyline as it was.
        result_.vertices = std::move(w_);
        result_.sources.resize(n);
        for (size_t i = 0; i < n; ++i) result_.sources[i] = Caller(i);
        return std::move(result_);
      }
    } else {
      // Start after an arc, so that no run wraps past the scan's start: in
      // an open polyline the first vertex, in a closed one the vertex after
      // the last arc.
      size_t start = 0;
      if (result_.closed) {
        for (size_t i = 0; i < n; ++i) {
          if (!Straight(w_[i])) start = (i + 1) % n;
        }
      }
      Scan(start, pieces);
      Rotate(start);
    }
    result_.vertices.reserve(out_.size());
    result_.sources.reserve(out_.size());
    for (const Emitted& e : out_) {
      result_.vertices.push_back(e.vertex);
      result_.sources.push_back(e.source);
    }
    return std::move(result_);
  }

 private:
  /// The caller's index of working vertex `i`, the same as long as only a
  /// last vertex is dropped.
  static int Caller(size_t i) { return static_cast<int>(i); }

  /// Walks the pieces from vertex `start`, emitting kept vertices as they
  /// are and each run of two or more straight pieces filleted (or, refused,
  /// as it was).
  void Scan(size_t start, size_t pieces) {
    const size_t n = w_.size();
    out_.reserve(n);
    size_t j = 0;
    while (j < pieces) {
      size_t length = 0;
      while (j + length < pieces && Straight(w_[(start + j + length) % n])) {
        ++length;
      }
      if (length >= 2) {
        OpenRun(start, j, length);
        j += length;
      } else {
        // An arc, or a lone straight piece between arcs: kept.
        size_t at = (start + j) % n;
        Emit(at, at);
        ++j;
      }
    }
    if (!result_.closed) Emit(n - 1, n - 1);
  }

  void Emit(size_t vertex, size_t key) {
    out_.push_back({w_[vertex], Caller(vertex), key});
  }

  /// The run of `length` straight pieces from scan position `j`, as an open
  /// outline whose two ends stay put.
  void OpenRun(size_t start, size_t j, size_t length) {
    const size_t n = w_.size();
    std::vector<size_t> index;  // working index of each run point
    std::vector<Point> points;
    index.reserve(length + 1);
    points.reserve(length + 1);
    for (size_t i = 0; i <= length; ++i) {
      index.push_back((start + j + i) % n);
      points.push_back(w_[index.back()].point);
    }
    const Outline outline = Fillet(points, Options(Closing::kOpen));
    const int corners = static_cast<int>(length) - 1;
    if (outline.result != Result::kDrawn) {
      RecordRefusedRun(outline.problem, points, Closing::kOpen, index.front(),
                       corners);
      for (size_t i = 0; i < length; ++i) Emit(index[i], index[i]);
      return;
    }
    result_.corners_filleted += corners - outline.corners_unselected;
    result_.corners_unselected += outline.corners_unselected;
    std::vector<Emitted> run;
    if (size_ == 0.0) {
      // Size 0 cuts nothing back: every corner is its own vertex. The
      // library's tangent points are computed along the sides and may miss
      // the vertex by a rounding error, so the vertices are kept.
      for (size_t i = 0; i < length; ++i) {
        run.push_back({w_[index[i]], Caller(index[i]), index[i]});
      }
    } else {
      // Each segment starts a vertex. The first starts on the run's first
      // vertex itself: a side leaves that vertex as it was; a cut (the first
      // side used up) bends the piece from there. Every other vertex is
      // new, ordered after the corner whose cut it is or follows: cuts map
      // to their corners through Segment::corner, since a side used up
      // exactly draws no segment and cuts and sides need not alternate.
      size_t key = index[0];
      for (size_t s = 0; s < outline.segments.size(); ++s) {
        const Segment& segment = outline.segments[s];
        if (segment.corner >= 0) {
          const Corner& corner =
              outline.corners[static_cast<size_t>(segment.corner)];
          key = index[static_cast<size_t>(corner.point)];
        }
        if (s == 0 && segment.corner < 0) {
          run.push_back({w_[index[0]], Caller(index[0]), index[0]});
        } else {
          run.push_back({{segment.start, Bulge(segment)}, -1, key});
        }
      }
    }
    DropEmptyPieces(run, &w_[index[length]].point);
    out_.insert(out_.end(), run.begin(), run.end());
  }

  /// A closed polyline without arcs: one closed outline. False when it is
  /// refused (and recorded), and nothing is emitted.
  bool ClosedRun() {
    const size_t n = w_.size();
    std::vector<Point> points;
    points.reserve(n);
    for (size_t i = 0; i < n; ++i) points.push_back(w_[i].point);
    const Outline outline = Fillet(points, Options(Closing::kClosed));
    const int corners = static_cast<int>(n);
    if (outline.result != Result::kDrawn) {
      RecordRefusedRun(outline.problem, points, Closing::kClosed, 0, corners);
      return false;
    }
    out_.reserve(2 * n);
    result_.corners_filleted += corners - outline.corners_unselected;
    result_.corners_unselected += outline.corners_unselected;
    if (size_ == 0.0) {
      for (size_t i = 0; i < n; ++i) out_.push_back({w_[i], Caller(i), i});
    } else {
      // Fillet numbers a closed outline's corners from the second point
      // on, and its segments start with the side from the first point (or,
      // that side used up, the cut after it). The corner at the first
      // point, when it is cut, is cut last: that cut comes first here, so
      // that the polyline starts where the caller's does or where the cut
      // that took its place begins. A side that starts on the first vertex
      // itself leaves it as it was.
      const std::vector<Segment>& segments = outline.segments;
      const Segment& last = segments.back();
      const bool first_cut =
          last.corner >= 0 &&
          outline.corners[static_cast<size_t>(last.corner)].point == 0;
      if (first_cut) out_.push_back({{last.start, Bulge(last)}, -1, 0});
      for (size_t s = 0; s + (first_cut ? 1 : 0) < segments.size(); ++s) {
        const Segment& segment = segments[s];
        if (s == 0 && !first_cut && segment.corner < 0) {
          out_.push_back({w_[0], Caller(0), 0});
        } else {
          out_.push_back({{segment.start, Bulge(segment)}, -1, 0});
        }
      }
    }
    DropEmptyPieces(out_, nullptr);
    return true;
  }

  /// Records a refused run of `points`, the working vertices from `first`
  /// on (round past the last): its range, its problem in the caller's
  /// indices and the largest size that fillets it.
  void RecordRefusedRun(const Problem& problem,
                        const std::vector<Point>& points, Closing closing,
                        size_t first, int corners) {
    const size_t n = w_.size();
    auto caller = [first, n](size_t local) { return Caller((first + local) % n); };
    RefusedRun run;
    run.first_vertex = caller(0);
    run.last_vertex = caller(points.size() - 1);
    run.problem = problem;
    auto problem_vertex = [&caller](int local) {
      return local < 0 ? -1 : caller(static_cast<size_t>(local));
    };
    run.problem.point = problem_vertex(problem.point);
    run.problem.next_point = problem_vertex(problem.next_point);
    run.largest_size = LargestFilletSize(points, Options(closing));
    result_.refused_runs.push_back(run);
    result_.corners_left += corners;
  }

  /// Turns a closed polyline scanned from vertex `start` so that it starts
  /// at the caller's first vertex, or at what took its place.
  void Rotate(size_t start) {
    if (!result_.closed || start == 0 || out_.empty()) return;
    const size_t n = w_.size();
    const size_t target = n - start;  // the first vertex, counted from start
    auto first = std::find_if(out_.begin(), out_.end(), [&](const Emitted& e) {
      return (e.key + n - start) % n >= target;
    });
    if (first != out_.end()) std::rotate(out_.begin(), first, out_.end());
  }

  /// The caller's options for a run closed as `closing`.
  FilletOptions Options(Closing closing) const {
    FilletOptions options = options_;
    options.closing = closing;
    return options;
  }

  std::vector<BulgeVertex> w_;
  FilletOptions options_;
  double size_;
  PolylineResult result_;
  std::vector<Emitted> out_;
};

}  // namespace

PolylineResult FilletPolyline(const std::vector<BulgeVertex>& vertices,
                              const FilletOptions& options) {
  return PolylineFilleter(vertices, options).Run();
}

}  // namespace v1
}  // namespace rrensen

namespace geometry {

/// Twice the signed area a closed polyline encloses, its arcs counted:
/// positive when it goes round counter-clockwise. The polygon of its
/// vertices (by the shoelace formula, about the first vertex), and for each
/// arc the circular segment between it and its chord, r^2 (a - sin a) for
/// a sweep a = 4 atan(bulge) and radius r = chord / (2 sin(a/2)): positive
/// for a counter-clockwise arc, which bulges to the right of its chord.
double TwiceSignedArea(const std::vector<rrensen::BulgeVertex>& w) {
  double twice_area = 0.0;
  const size_t n = w.size();
  const rrensen::Point& o = w.front().point;
  for (size_t i = 0; i < n; ++i) {
    const rrensen::Point& a = w[i].point;
    const rrensen::Point& b = w[(i + 1) % n].point;
    twice_area += (a.x - o.x) * (b.y - o.y) - (b.x - o.x) * (a.y - o.y);
    if (w[i].bulge == 0.0) continue;
    const double sweep = 4 * trig::Atan2(w[i].bulge, 1.0);
    const double radius =
        Distance(a, b) / (2 * trig::Sin(std::fabs(sweep) / 2));
    if (std::isfinite(radius)) {
      twice_area += radius * radius * (sweep - trig::Sin(sweep));
    }
  }
  return twice_area;
}

bool ApplyClosing(std::vector<rrensen::BulgeVertex>& w, rrensen::Closing closing,
                  double size) {
  const size_t n = w.size();
  switch (closing) {
    case rrensen::Closing::kOpen: return false;
    case rrensen::Closing::kClosed:
      if (n >= 2 && SamePoint(w.front().point, w.back().point)) w.pop_back();
      return true;
    case rrensen::Closing::kByProximity:
      if (n >= 2 && ClosesByProximity(w.front().point, w.back().point, size)) {
        w.pop_back();
        return true;
      }
      return false;
  }
  return false;
}

rrensen::Winding PolylineWinding(const std::vector<rrensen::BulgeVertex>& w) {
  if (w.empty()) return rrensen::Winding::kOfTheOutline;
  const double twice_area = TwiceSignedArea(w);
  if (twice_area > 0.0) return rrensen::Winding::kCounterClockwise;
  if (twice_area < 0.0) return rrensen::Winding::kClockwise;
  return rrensen::Winding::kOfTheOutline;
}

}  // namespace geometry
