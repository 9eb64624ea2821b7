#include "view.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/number_format.h"
#include "platform/text_reader.h"
#include "reader/kd_pattern.h"
#include "reader/scan.h"
#include "state/memory_streams.h"

namespace view {
namespace {

/// Fillet sizes the tool accepts lie below this (option c refuses more).
constexpr double kSizeLimit = 20.0;

std::string Num(double v, int decimals = 3) {
  char buf[platform::kNumberBufSize];
  return std::string(buf, platform::FormatFixed(buf, v, decimals));
}

/// Runs the builder with fillet size `men` on a copy of `read` (the closing
/// step overwrites points), its records going to `streams`.
int Build(const DrawingState& read, double men, MemoryStreams* streams,
          RensenTrace* trace = nullptr) {
  auto s = std::make_unique<DrawingState>(read);
  streams->Attach(*s);
  s->Men = men;
  s->isTest = 0;
  int result = R_RENSEN(*s, trace);
  streams->Flush();
  return result;
}

/// Whether the builder draws the outline of `read` with fillet size `men`.
bool Draws(const DrawingState& read, double men) {
  MemoryStreams streams;
  return Build(read, men, &streams) == kRensenOk;
}

/// The largest size in [lo, hi] that draws, for a predicate that holds on
/// [lo, t] and fails above t; none when it fails at lo.
std::optional<double> Bisect(const DrawingState& read, double lo, double hi) {
  if (!Draws(read, lo)) return std::nullopt;
  if (Draws(read, hi)) return hi;
  for (int k = 0; k < 80 && hi - lo > 1e-12; ++k) {
    double mid = lo + (hi - lo) / 2;
    (Draws(read, mid) ? lo : hi) = mid;
  }
  return lo;
}

}  // namespace

DrawingState ReadExchange(std::string_view bytes, Drawing* records) {
  DrawingState s;
  s.PAI = kDriverPAI;
  MemoryStreams streams;
  streams.Attach(s);
  platform::TextReader reader(bytes);
  s.fp = &reader;
  KD_PATTERN(
      s, 0, 50000, [records](const DrawingState&, std::string_view line) {
        // Only whole records are drawn; the state keeps whatever converted.
        if (!line.empty() && line[0] == ' ') {
          Drawing::Line l{};
          if (scan::Scan(line, 1, "%lf %lf %lf %lf",
                         {&l.x1, &l.y1, &l.x2, &l.y2}) == 4) {
            records->lines.push_back(l);
          }
        } else if (line.substr(0, 2) == "ci") {
          double v[7] = {};
          int n = scan::Scan(line, 2, "%lf %lf %lf %lf %lf %lf %lf",
                             {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]});
          if (n == 7) {
            records->arcs.push_back({v[0], v[1], v[2], v[3], v[4], v[6]});
          } else if (n >= 3) {
            records->circles.push_back({v[0], v[1], v[2]});
          }
        }
      });
  s.fp = nullptr;
  s.fpw = s.out = s.err = nullptr;
  return s;
}

Outline BuildOutline(const DrawingState& read, double men) {
  Outline o;
  MemoryStreams streams;
  o.result = Build(read, men, &streams, &o.trace);
  ReadExchange(streams.output, &o.drawing);
  return o;
}

std::optional<double> LargestDrawingSize(const DrawingState& read) {
  // The outline closes when the size exceeds half the distance d from the
  // first point to the last. For either shape every test is of the form
  // size x factor <= length, so a smaller size never fails where a larger
  // one passes: bisect each range on its own and take the larger result.
  int n = read.iPOINTcnt;
  if (n < 0 || n > read.HPmax) return std::nullopt;
  double half = LengSen(read.PX[1], read.PY[1], read.PX[n], read.PY[n]) / 2;
  double top = std::nextafter(kSizeLimit, 0.0);
  std::optional<double> best;
  if (std::isfinite(half) && half < top) {
    best = Bisect(read, std::nextafter(half, kSizeLimit), top);
  }
  if (!best) best = Bisect(read, 0.0, std::fmin(half, top));
  if (!best) return std::nullopt;
  // Round to what can be typed, and make sure that value draws: step down a
  // thousandth at a time from the nearest one below 20.
  long milli = std::lround(std::fmin(*best, kSizeLimit - 0.001) * 1000);
  for (; milli >= 0; --milli) {
    double typed = 0.0;
    size_t pos = 0;
    std::string text = Num(static_cast<double>(milli) / 1000);
    scan::ParseReal(text, &pos, &typed);
    if (Draws(read, typed)) return typed;
  }
  return std::nullopt;
}

std::vector<Point> Points(const DrawingState& read) {
  std::vector<Point> points;
  for (int k = 1; k <= read.iPOINTcnt && k <= read.HPmax; ++k) {
    points.push_back({k, read.PX[k], read.PY[k]});
  }
  return points;
}

int PointOf(const RensenTrace& t, int v) {
  if (t.isClosed && v == t.Ccnt - 1) return 1;
  if (t.isClosed && v == t.Ccnt) return 2;
  return v;
}

std::string Reason(const Outline& o) {
  const RensenTrace& t = o.trace;
  std::string where = std::to_string(PointOf(t, t.where));
  switch (t.failure) {
    case RensenTrace::kNone: return "";
    case RensenTrace::kTooManyPoints:
      return "more than 19 point records, or a last point numbered outside 0 "
             "to 19";
    case RensenTrace::kNoCorner:
      return "fewer than three points once the outline is closed";
    case RensenTrace::kNotFinite:
      return "point " + where +
             " or its corner has a value that is not a finite number";
    case RensenTrace::kShortSide:
      return "the side from point " + where + " to point " +
             std::to_string(PointOf(t, t.where + 1)) + " is " + Num(t.have) +
             " long, shorter than twice the fillet size (" + Num(t.need) + ")";
    case RensenTrace::kSharpCorner:
      return "the corner at point " + where + " turns too sharply: a side of " +
             Num(t.have) + " is shorter than the " + Num(t.need) +
             " it needs (1.5 times the distance from the corner to its tangent "
             "points)";
    case RensenTrace::kReversal:
      return "the corner at point " + where + " turns exactly back on itself";
  }
  return "";
}

std::string Explain(const DrawingState& read, const Outline& o) {
  const RensenTrace& t = o.trace;
  std::string text;
  if (o.result == kRensenOk) {
    text += std::string(t.isClosed ? "closed" : "open") + " outline, " +
            std::to_string(read.iPOINTcnt) + " points, fillet size " +
            Num(read.Men) + "\ncorner  point  kind   radius\n";
    for (int v = 2; v <= t.Ccnt - 1; ++v) {
      const CornerRec& c = t.corners[v];
      char line[96];
      (void)std::snprintf(line, sizeof line, "%6d  %5d  %-5s  %s\n", v - 1,
                          PointOf(t, v), c.isArc ? "arc" : "chord",
                          c.isArc ? Num(c.r).c_str() : "-");
      text += line;
    }
    return text;
  }
  text +=
      "refused (result " + std::to_string(o.result) + "): " + Reason(o) + "\n";
  std::optional<double> size = LargestDrawingSize(read);
  if (size) {
    text += "largest fillet size below 20 that draws it: " + Num(*size) +
            " (rrensen /c" + Num(*size) + ")\n";
  } else {
    text += "no fillet size below 20 draws it\n";
  }
  return text;
}

}  // namespace view
