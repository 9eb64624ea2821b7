#include "dxf/plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dxf/number_text.h"

namespace dxf {
namespace {

using rrensen::CornerStyle;

/// An open polyline of three sides, 100 long, turning by `degrees` twice.
Polyline Gentle(double degrees) {
  const double turn = degrees * 3.141592653589793 / 180;
  Polyline p;
  p.type = "LWPOLYLINE";
  p.vertices = {{{0, 0}}, {{100, 0}}};
  p.vertices.push_back({{100 + 100 * std::cos(turn), 100 * std::sin(turn)}});
  p.vertices.push_back({{p.vertices[2].point.x + 100 * std::cos(2 * turn),
                         p.vertices[2].point.y + 100 * std::sin(2 * turn)}});
  return p;
}

TEST(PlanPolyline, TheLargestSizeOfGentleCornersFilletsAndAHairMoreDoesNot) {
  // Radius arcs reach only size x tan(t/2) along the sides of a corner that
  // turns by t: the largest radius of a gentle corner is far beyond the
  // polyline's own size. Whatever the style, the exact size reported
  // fillets and 1.0001 times it does not; so does the size the prose gives.
  for (CornerStyle style : {CornerStyle::kRadiusArc, CornerStyle::kDistanceChamfer,
                            CornerStyle::kChordChamfer}) {
    for (double degrees : {1.0, 2.5, 7.0, 15.0}) {
      SCOPED_TRACE(std::string(rrensen::CornerStyleName(style)) + " " +
                   std::to_string(degrees));
      const Polyline p = Gentle(degrees);
      Settings settings;
      settings.style = style;
      settings.size = 1e9;
      const PolylinePlan refused = PlanPolyline(p, settings);
      ASSERT_EQ(refused.report.refused_runs.size(), 1u);
      const double largest = refused.report.refused_runs[0].largest_size.value();
      const std::string prose = Prose(refused.report).at(0);
      const std::string said = prose.substr(prose.rfind(' ') + 1);
      double typed = 0.0;
      ASSERT_TRUE(ParseReal(said, typed)) << prose;
      EXPECT_LE(typed, largest);
      EXPECT_EQ(LargestPolylineSize(p, settings), typed);
      for (double size : {largest, typed}) {
        settings.size = size;
        EXPECT_EQ(PlanPolyline(p, settings).report.status, OutlineStatus::kFilleted) << size;
        settings.size = size * 1.0001;
        EXPECT_EQ(PlanPolyline(p, settings).report.status, OutlineStatus::kUnchanged) << size;
      }
    }
  }
}

TEST(TypeableSize, SixDigitsNeverAboveTheSizeAndChordArcsAsTheyAre) {
  struct {
    double largest;
    CornerStyle style;
    double typed;
    const char* text;
  } cases[] = {
      {72.82277327032848, CornerStyle::kDistanceChamfer, 72.8227, "72.8227"},
      {50.00000000000001, CornerStyle::kRadiusArc, 50.0, "50"},
      {1145.0966, CornerStyle::kRadiusArc, 1145.09, "1145.09"},
      {0.0123456789, CornerStyle::kChordChamfer, 0.0123456, "0.0123456"},
      {999999.9, CornerStyle::kRadiusArc, 999999.0, "999999"},
      {0.0, CornerStyle::kRadiusArc, 0.0, "0"},
      {1.5, CornerStyle::kChordArc, 1.5, "1.500"},
      {200.773, CornerStyle::kChordArc, 200.773, "200.773"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TypeableSize(c.largest, c.style), c.typed) << c.largest;
    EXPECT_EQ(TypeableSizeText(c.largest, c.style), c.text) << c.largest;
  }
}

}  // namespace
}  // namespace dxf
