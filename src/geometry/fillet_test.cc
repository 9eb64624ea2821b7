#include "rrensen/fillet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/test_geometry.h"

namespace {

using namespace test_geometry;  // NOLINT(google-build-using-namespace)

using rrensen::Closing;
using rrensen::Corner;
using rrensen::Fillet;
using rrensen::FilletOutline;
using rrensen::Outline;
using rrensen::Point;
using rrensen::Refusal;
using rrensen::Result;
using rrensen::Segment;

TEST(FilletOutline, WorkedCasesAndRefusals) {
  struct {
    const char* name;
    std::vector<Point> points;
    double size;
    Result result;
    Refusal kind;
    int point;        // the problem's point, when refused
    size_t segments;  // when drawn
  } cases[] = {
      {"open by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 10}}, 5, Result::kDrawn, Refusal::kNone, -1, 7},
      {"closed by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 9.99}}, 5, Result::kDrawn, Refusal::kNone, -1, 8},
      {"first side not tested", {{0, 0}, {8, 0}, {8, 100}}, 5, Result::kDrawn, Refusal::kNone, -1, 3},
      {"last side too short", {{0, 0}, {100, 0}, {100, 8}}, 5, Result::kTooClose, Refusal::kShortSide, 1, 0},
      {"too sharp for its side", {{0, 0}, {5, 0}, {5, 100}}, 5, Result::kTooSharp, Refusal::kSharpCorner, 1, 0},
      {"two near points close onto themselves", {{0, 0}, {5, 0}}, 5, Result::kTooClose, Refusal::kShortSide, 0, 0},
      {"two points: one line", {{0, 0}, {50, 0}}, 5, Result::kDrawn, Refusal::kNone, -1, 1},
      {"one point", {{3, 4}}, 5, Result::kTooClose, Refusal::kNoCorner, -1, 0},
      {"no point", {}, 5, Result::kTooClose, Refusal::kNoCorner, -1, 0},
      {"reversal", {{0, 100}, {0, 0}, {0, 100}}, 5, Result::kTooSharp, Refusal::kSharpCorner, 1, 0},
      {"reversal, size 0", {{0, 100}, {0, 0}, {0, 100}}, 0, Result::kReversal, Refusal::kReversal, 1, 0},
      {"size 0: radius 0 at the corner", {{0, 0}, {100, 0}, {100, 100}}, 0, Result::kDrawn, Refusal::kNone, -1, 3},
      {"inf point", {{0, 0}, {kInf, 0}, {100, 100}}, 5, Result::kTooClose, Refusal::kNotFinite, 1, 0},
      {"nan point", {{0, 0}, {100, 0}, {std::nan(""), 100}}, 5, Result::kTooClose, Refusal::kNotFinite, 2, 0},
      {"differences overflow", {{-1e308, 0}, {1e308, 0}, {1e308, 1e308}}, 5, Result::kTooClose, Refusal::kCornerNotFinite, 1, 0},
      {"closed: the side from point 1 is tested last", {{0, 0}, {6, 0}, {100, 100}, {0, 1}}, 5, Result::kTooClose, Refusal::kShortSide, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Outline o = FilletOutline(c.points, c.size);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.problem.kind, c.kind);
    EXPECT_EQ(o.segments.size(), c.segments);
    if (c.result != Result::kDrawn) {
      EXPECT_EQ(o.problem.point, c.point);
    }
  }
}

TEST(Fillet, ArcAndChordCornersSayWhatTheyAre) {
  // (A right angle in each style: CornerStyles.ARightAngleInEachStyle.)
  // Turning right, after the arc: a chord corner of 2.86 degrees to the
  // right has no arc of its own, whatever arc came before it.
  Outline chord =
      FilletOutline({{0, 0}, {100, 0}, {100, -100}, {105, -200}}, 5.0);
  ASSERT_EQ(chord.result, Result::kDrawn);
  ASSERT_EQ(chord.corners.size(), 2u);
  EXPECT_LT(chord.corners[0].turn, 0);
  const Corner& flat = chord.corners[1];
  EXPECT_FALSE(flat.is_arc);
  EXPECT_EQ(flat.radius, 0.0);
  EXPECT_EQ(flat.centre.x, 0.0);
  EXPECT_EQ(flat.centre.y, 0.0);
  EXPECT_NEAR(flat.turn, std::atan2(5.0, 100.0), 1e-12);
  const Segment& cut = chord.segments.at(3);
  EXPECT_FALSE(cut.is_arc);
  EXPECT_EQ(cut.corner, 1);
  EXPECT_EQ(cut.sweep, 0.0);
  EXPECT_EQ(cut.radius, 0.0);
  EXPECT_EQ(rrensen::Bulge(cut), 0.0);
}

TEST(FilletOutline, RefusalsSayWhatWasNeededAndFound) {
  Outline side = FilletOutline({{0, 0}, {100, 0}, {100, 8}}, 5.0);
  EXPECT_EQ(side.problem.point, 1);
  EXPECT_EQ(side.problem.next_point, 2);
  EXPECT_EQ(side.problem.needed, 10.0);
  EXPECT_EQ(side.problem.found, 8.0);
  EXPECT_EQ(rrensen::Describe(side.problem),
            "the side from point 2 to point 3 is 8.000 long and needs 10.000");
  // In a closed outline the last two working points are the first and the
  // second again: the side between them is named by the caller's indices.
  Outline closed = FilletOutline({{0, 0}, {6, 0}, {100, 100}, {0, 1}}, 5.0);
  EXPECT_TRUE(closed.closed);
  EXPECT_EQ(closed.problem.next_point, 1);
  EXPECT_EQ(closed.problem.found, 6.0);
  // Closed, two points on one another are one point: no corner.
  EXPECT_EQ(Fillet({{1, 1}, {1, 1}}, {0.0, Closing::kClosed}).problem.kind, Refusal::kNoCorner);
  Outline sharp = FilletOutline({{0, 0}, {5, 0}, {5, 100}}, 5.0);
  EXPECT_EQ(sharp.problem.found, 5.0);
  EXPECT_NEAR(sharp.problem.needed, 1.5 * 5.0 / 2 / std::cos(kPi / 4), 1e-12);
  EXPECT_EQ(rrensen::Describe(sharp.problem),
            "the corner at point 2 turns too sharply: a side of 5.000 needs 5.303");
  EXPECT_EQ(rrensen::Describe(rrensen::Problem{}), "");
}

TEST(RefusalCode, EveryRefusalHasItsOwnLowerCaseCode) {
  std::string seen;
  for (int k = 0; k <= static_cast<int>(Refusal::kInvalidStyle); ++k) {
    const std::string code = rrensen::RefusalCode(static_cast<Refusal>(k));
    ASSERT_FALSE(code.empty());
    EXPECT_NE(code, "unknown");
    for (char c : code) EXPECT_TRUE((c >= 'a' && c <= 'z') || c == '_') << code;
    EXPECT_EQ(seen.find("," + code + ","), std::string::npos) << code;
    seen += "," + code + ",";
  }
}

}  // namespace
