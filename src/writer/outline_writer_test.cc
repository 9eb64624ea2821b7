#include "writer/outline_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// The records and the level-2 trace of filleting `points` with `size`.
struct Written {
  Written(const std::vector<rrensen::Point>& points, double size) {
    geometry::FilletTrace trace;
    rrensen::Outline o = geometry::FilletWithTrace(points, {size}, &trace);
    platform::OutStream out(&output), c(&console, false);
    writer::WriteFilletTrace(o, trace, size, c, out);
    writer::WriteOutlineRecords(o, trace, out);
  }
  std::string output, console;
};

TEST(OutlineWriter, ChordMarkersCarryTheRunningRadius) {
  // A chord corner before any arc shows radius 0 at its first tangent point.
  Written first({{0, 0}, {100, 0}, {200, 5}}, 5);
  EXPECT_EQ(first.output.rfind(
                "ch 97.5 0.0 3,0,\"0.0,-1.4,1.4,0.0 k0(1.4)\r\n"
                "ci 97.499219846767 0.000000000000 0.000000000000 \r\n",
                0),
            0u);
  // After an arc corner a chord corner shows that arc's radius.
  Written after({{0, 0}, {100, 0}, {100, 100}, {105, 200}}, 5);
  EXPECT_NE(after.output.find("3,0,\"3.5,-1.4,1.4,"), std::string::npos);
}

TEST(OutlineWriter, RefusedOutlinesTraceAsFarAsThePassesGot) {
  // The side test fails at the last side: both spacing lines, no corner, no
  // count line, no record.
  Written side({{0, 0}, {100, 0}, {100, 100}, {100, 108}}, 5);
  EXPECT_EQ(side.output, "");
  EXPECT_EQ(side.console,
            "#  P(2)-P(3) if len1(100.0) < 2.0 x Men(5.0) error \n"
            "#  P(3)-P(4) if len1(8.0) < 2.0 x Men(5.0) error \n");
  // A corner whose values overflow shows its lines but no markers.
  Written overflow({{-1e308, 0}, {1e308, 0}, {1e308, 1e308}}, 5);
  EXPECT_EQ(overflow.output, "");
  EXPECT_NE(overflow.console.find("#  bcos("), std::string::npos);
  EXPECT_EQ(overflow.console.find("sikaku"), std::string::npos);
}

}  // namespace
