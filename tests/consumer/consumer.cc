// Checks the worked outlines and one refusal through the public header
// alone. Prints "N passed, N failed" and exits non-zero on a failure.

#include <rrensen/fillet.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

int passed = 0, failed = 0;

void Check(bool ok, const char* what) {
  (ok ? passed : failed) += 1;
  if (!ok) std::printf("FAILED: %s\n", what);
}

bool Near(double a, double b) { return std::fabs(a - b) < 1e-9; }

}  // namespace

int main() {
  using rrensen::FilletOutline;
  using rrensen::Outline;

  Outline right = FilletOutline({{0, 0}, {100, 0}, {100, 100}}, 5.0);
  Check(right.result == rrensen::Result::kDrawn && !right.closed, "right angle drawn, open");
  Check(right.segments.size() == 3 && right.segments[1].is_arc, "line, arc, line");
  Check(Near(right.segments[1].radius, 3.535533905933), "radius 3.5355");
  Check(Near(right.segments[0].end.x, 96.464466094067), "cut back to 96.46");

  Outline square =
      FilletOutline({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, 5.0);
  Check(square.result == rrensen::Result::kDrawn && square.closed, "square drawn, closed");
  Check(square.segments.size() == 8, "four sides and four arcs");

  Outline chord = FilletOutline({{0, 0}, {100, 0}, {200, 5}}, 5.0);
  Check(chord.result == rrensen::Result::kDrawn && !chord.segments[1].is_arc, "chord corner");
  Check(Near(chord.segments[0].end.x, 97.499219846767), "chord cut at 97.499");

  Outline refused = FilletOutline({{0, 0}, {100, 0}, {100, 8}}, 5.0);
  Check(refused.result == rrensen::Result::kTooClose && refused.segments.empty(), "refused");
  Check(refused.problem.kind == rrensen::Refusal::kShortSide &&
            refused.problem.point == 1 && refused.problem.next_point == 2,
        "the side from the second point to the third");
  Check(refused.problem.needed == 10.0 && refused.problem.found == 8.0,
        "needs 10, has 8");
  std::optional<double> size = rrensen::LargestFilletSize({{0, 0}, {100, 0}, {100, 8}}, {}, 20.0);
  Check(size && Near(*size, 4.0), "largest size 4");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
