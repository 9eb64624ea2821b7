/// The library called from C++, for python/tests/test_agreement.py, which
/// sends the same points to the Python module and compares every value.
///
/// Reads cases from standard input until its end, each a header line and
/// N lines "x y":
///   fillet SIZE CLOSING N          CLOSING: proximity, open or closed
/// and writes for each:
///   result R closed C
///   problem KIND POINT NEXT_POINT NEEDED FOUND
///   message TEXT                   (Describe; empty when drawn)
///   segments K, then K lines: IS_ARC SX SY EX EY CX CY RADIUS SWEEP CORNER BULGE
///   corners M, then M lines: POINT IS_ARC INX INY OUTX OUTY CUT_BACK TURN CX CY RADIUS
/// Numbers are written with %.17g, which reads back to the same double.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "rrensen/fillet.h"

namespace {

bool ReadClosing(const char* word, rrensen::Closing& closing) {
  if (std::strcmp(word, "proximity") == 0) {
    closing = rrensen::Closing::kByProximity;
  } else if (std::strcmp(word, "open") == 0) {
    closing = rrensen::Closing::kOpen;
  } else if (std::strcmp(word, "closed") == 0) {
    closing = rrensen::Closing::kClosed;
  } else {
    return false;
  }
  return true;
}

bool ReadPoints(long count, std::vector<rrensen::Point>& points) {
  points.clear();
  for (long i = 0; i < count; ++i) {
    rrensen::Point p;
    if (std::scanf("%lf %lf", &p.x, &p.y) != 2) return false;
    points.push_back(p);
  }
  return true;
}

void WriteOutline(const rrensen::Outline& o) {
  std::printf("result %d closed %d\n", static_cast<int>(o.result), o.closed ? 1 : 0);
  std::printf("problem %d %d %d %.17g %.17g\n", static_cast<int>(o.problem.kind),
              o.problem.point, o.problem.next_point, o.problem.needed, o.problem.found);
  std::printf("message %s\n", rrensen::Describe(o.problem).c_str());
  std::printf("segments %zu\n", o.segments.size());
  for (const rrensen::Segment& s : o.segments) {
    std::printf("%d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %d %.17g\n",
                s.is_arc ? 1 : 0, s.start.x, s.start.y, s.end.x, s.end.y, s.centre.x,
                s.centre.y, s.radius, s.sweep, s.corner, rrensen::Bulge(s));
  }
  std::printf("corners %zu\n", o.corners.size());
  for (const rrensen::Corner& c : o.corners) {
    std::printf("%d %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n", c.point,
                c.is_arc ? 1 : 0, c.tangent_in.x, c.tangent_in.y, c.tangent_out.x,
                c.tangent_out.y, c.cut_back, c.turn, c.centre.x, c.centre.y, c.radius);
  }
}

}  // namespace

int main() {
  char kind[16];
  std::vector<rrensen::Point> points;
  while (std::scanf("%15s", kind) == 1) {
    char closing_word[16];
    rrensen::Closing closing = rrensen::Closing::kByProximity;
    double number = 0.0;
    long count = 0;
    if (std::strcmp(kind, "fillet") == 0) {
      if (std::scanf("%lf %15s %ld", &number, closing_word, &count) != 3 ||
          !ReadClosing(closing_word, closing) || !ReadPoints(count, points)) {
        (void)std::fputs("points_cli: bad fillet case\n", stderr);
        return 2;
      }
      rrensen::FilletOptions options;
      options.size = number;
      options.closing = closing;
      WriteOutline(rrensen::Fillet(points, options));
    } else {
      (void)std::fprintf(stderr, "points_cli: unknown case %s\n", kind);
      return 2;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
