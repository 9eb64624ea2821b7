// rrensen_corner_styles_probe: the filleting library behind a line-oriented
// front, so that tests in other languages (tests/corner_styles_ezdxf.py)
// can compare it with libraries of their own. A test helper, not installed.
//
// Reads requests from standard input until its end, each a header line
//   STYLE CLOSING SIZE N
// (STYLE: chord, radius, chamfer or chord-chamfer; CLOSING: proximity, open
// or closed) and N lines "X Y". For each request it writes
//   outline RESULT CLOSED CORNERS SEGMENTS LARGEST
// with LARGEST the largest size for the points ("none" when none draws),
// then one line per corner
//   corner POINT IN_X IN_Y OUT_X OUT_Y CUT_BACK TURN CENTRE_X CENTRE_Y RADIUS
// and one per segment
//   segment IS_ARC START_X START_Y END_X END_Y CENTRE_X CENTRE_Y RADIUS SWEEP CORNER
// every number to 17 significant digits. Exit status 2 for input it cannot
// read.

#include <cstddef>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rrensen/fillet.h"

namespace {

template <typename Value, size_t N>
bool ReadWord(const std::string& word,
              const std::pair<const char*, Value> (&names)[N], Value* value) {
  for (const auto& name : names) {
    if (word == name.first) {
      *value = name.second;
      return true;
    }
  }
  return false;
}

const std::pair<const char*, rrensen::Closing> kClosings[] = {
    {"proximity", rrensen::Closing::kByProximity},
    {"open", rrensen::Closing::kOpen},
    {"closed", rrensen::Closing::kClosed},
};

}  // namespace

int main() {
  std::string style_word, closing_word;
  double size = 0.0;
  int count = 0;
  while (std::cin >> style_word >> closing_word >> size >> count) {
    rrensen::FilletOptions options;
    options.size = size;
    const std::optional<rrensen::CornerStyle> style =
        rrensen::CornerStyleNamed(style_word);
    if (style) options.style = *style;
    if (!style ||
        !ReadWord(closing_word, kClosings, &options.closing) || count < 0) {
      (void)std::fprintf(stderr, "cannot read the request header\n");
      return 2;
    }
    std::vector<rrensen::Point> points(static_cast<size_t>(count));
    for (rrensen::Point& p : points) {
      if (!(std::cin >> p.x >> p.y)) {
        (void)std::fprintf(stderr, "cannot read a point\n");
        return 2;
      }
    }
    const rrensen::Outline o = rrensen::Fillet(points, options);
    const std::optional<double> largest =
        rrensen::LargestFilletSize(points, options);
    (void)std::printf("outline %d %d %zu %zu ", static_cast<int>(o.result),
                o.closed ? 1 : 0, o.corners.size(), o.segments.size());
    if (largest) {
      (void)std::printf("%.17g\n", *largest);
    } else {
      (void)std::printf("none\n");
    }
    for (const rrensen::Corner& c : o.corners) {
      (void)std::printf("corner %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n",
                  c.point, c.tangent_in.x, c.tangent_in.y, c.tangent_out.x,
                  c.tangent_out.y, c.cut_back, c.turn, c.centre.x, c.centre.y,
                  c.radius);
    }
    for (const rrensen::Segment& s : o.segments) {
      (void)std::printf("segment %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %d\n",
                  s.is_arc ? 1 : 0, s.start.x, s.start.y, s.end.x, s.end.y,
                  s.centre.x, s.centre.y, s.radius, s.sweep, s.corner);
    }
  }
  if (!std::cin.eof()) {
    (void)std::fprintf(stderr, "cannot read the request header\n");
    return 2;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
