// A program of someone else's: uses the installed filleting library through
// its public header alone, and checks that it computes what the rrensen tool
// writes for the same points. Prints "N passed, N failed" and exits non-zero
// on a failure.
//
//   consumer VERSION LINKAGE
//
// VERSION is the version the tool reports (`rrensen --version`); LINKAGE is
// "static" or "shared", the library this program was linked with.

#include <rrensen/fillet.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  (ok ? passed : failed) += 1;
  if (!ok) std::printf("FAILED: %s\n", what.c_str());
}

/// The tool writes lengths with twelve decimals: agreeing with it means
/// lying within half a unit of the twelfth.
bool AsTheToolWrites(double value, double written) {
  return std::fabs(value - written) <= 0.5e-12;
}

bool AsTheToolWrites(const rrensen::Point& p, double x, double y) {
  return AsTheToolWrites(p.x, x) && AsTheToolWrites(p.y, y);
}

/// A square of side 100 drawn from (0, 0) counter-clockwise whose last point,
/// (0, 6), stops short of the first: with size 5 the ends are nearer than
/// twice the size, so the tool closes it.
const std::vector<rrensen::Point> kNearlyClosedSquare = {
    {0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 6}};

/// What the tool writes for that square with -c5: every corner an arc of
/// radius size / (2 sin 45 degrees), its centre that far inside both sides.
constexpr double kNear = 3.535533905933;
constexpr double kFar = 96.464466094067;
struct ToolArc {
  double centre_x, centre_y;
};
constexpr ToolArc kToolArcs[] = {{kFar, kNear}, {kFar, kFar}, {kNear, kFar}, {kNear, kNear}};

/// Every arc of a drawn outline: the sweep turns the start about the centre
/// onto the end and equals its corner's turn; the bulge is tan(sweep / 4).
/// Each corner of the square turns left by a quarter turn, whose bulge is
/// tan(pi / 8), the same bits everywhere.
void CheckArcs(const rrensen::Outline& outline, const std::string& name) {
  for (const rrensen::Segment& s : outline.segments) {
    const std::string at = name + ", segment from (" + std::to_string(s.start.x) + ", " +
                           std::to_string(s.start.y) + ")";
    if (!s.is_arc) {
      Check(s.sweep == 0.0 && rrensen::Bulge(s) == 0.0, at + ": a line has no sweep, no bulge");
      continue;
    }
    const double dx = s.start.x - s.centre.x;
    const double dy = s.start.y - s.centre.y;
    const double end_x = s.centre.x + dx * std::cos(s.sweep) - dy * std::sin(s.sweep);
    const double end_y = s.centre.y + dx * std::sin(s.sweep) + dy * std::cos(s.sweep);
    Check(std::fabs(end_x - s.end.x) < 1e-9 && std::fabs(end_y - s.end.y) < 1e-9,
          at + ": the start turned by the sweep lands on the end");
    Check(s.sweep == outline.corners[static_cast<size_t>(s.corner)].turn,
          at + ": the arc sweeps its corner's turn");
    Check(rrensen::Bulge(s) == 0.41421356237309503, at + ": bulge tan(pi / 8)");
  }
}

void CheckClosings() {
  using rrensen::Closing;
  using rrensen::Result;

  // The tool's own rule: closed, four corners, each side cut back at both
  // ends.
  rrensen::Outline by_proximity =
      rrensen::Fillet(kNearlyClosedSquare, {5.0, Closing::kByProximity});
  Check(by_proximity.result == Result::kDrawn && by_proximity.closed,
        "by proximity: drawn, closed");
  Check(by_proximity.corners.size() == 4 && by_proximity.segments.size() == 8,
        "by proximity: four corners, four sides and four arcs");
  for (size_t k = 0; k < by_proximity.corners.size() && k < 4; ++k) {
    const rrensen::Corner& c = by_proximity.corners[k];
    Check(c.is_arc && AsTheToolWrites(c.centre, kToolArcs[k].centre_x, kToolArcs[k].centre_y) &&
              AsTheToolWrites(c.radius, kNear),
          "by proximity: corner " + std::to_string(k + 1) + " is the tool's arc");
  }
  if (by_proximity.segments.size() == 8) {
    Check(AsTheToolWrites(by_proximity.segments[0].start, kNear, 0) &&
              AsTheToolWrites(by_proximity.segments[0].end, kFar, 0),
          "by proximity: the first side is the tool's first line record");
  }
  CheckArcs(by_proximity, "by proximity");

  // An invalid size, refused with its reason.
  rrensen::Outline negative = rrensen::Fillet(kNearlyClosedSquare, {-1.0});
  Check(negative.result == Result::kInvalidSize && negative.segments.empty(),
        "size -1: invalid");
  Check(rrensen::Describe(negative.problem) ==
            "the fillet size is not a finite number of 0 or more",
        "size -1: described");
}

/// The largest sizes, as the tool's -c option would be given them: the tool
/// draws the bent line with -c4 and refuses it with -c4.001.
void CheckLargestSizes() {
  const std::vector<rrensen::Point> bent = {{0, 0}, {100, 0}, {100, 8}};
  std::optional<double> bent_size = rrensen::LargestFilletSize(bent, {}, 20.0);
  Check(bent_size && *bent_size == 4.0, "largest size for the bent line: 4");
  Check(!rrensen::LargestFilletSize({{0, 0}}, {}, 20.0), "one point: no size draws it");
}

void CheckVersion(const char* tool_version, const char* linkage) {
  const std::string composed = std::to_string(RRENSEN_VERSION_MAJOR) + "." +
                               std::to_string(RRENSEN_VERSION_MINOR) + "." +
                               std::to_string(RRENSEN_VERSION_PATCH);
  Check(composed == RRENSEN_VERSION_STRING, "the version numbers make the version string");
  Check(std::strcmp(tool_version, RRENSEN_VERSION_STRING) == 0,
        std::string("the header's version ") + RRENSEN_VERSION_STRING + " is the tool's " +
            tool_version);
#ifdef RRENSEN_SHARED
  const bool shared = true;
#else
  const bool shared = false;
#endif
  Check(shared == (std::strcmp(linkage, "shared") == 0),
        std::string("RRENSEN_SHARED is defined exactly for a shared library (") + linkage + ")");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: consumer VERSION static|shared\n");
    return 2;
  }
  CheckClosings();
  CheckLargestSizes();
  CheckVersion(argv[1], argv[2]);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
