#include "dxf/report_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace dxf {
namespace {

OutlineReport Partly() {
  OutlineReport r;
  r.type = "LWPOLYLINE";
  r.handle = "2F";
  r.layer = "walls";
  r.line = 12;
  r.style = rrensen::CornerStyle::kRadiusArc;
  r.status = OutlineStatus::kPartly;
  r.closed = true;
  r.corners_filleted = 3;
  r.corners_left = 2;
  rrensen::Problem side{rrensen::Refusal::kShortSide, 5, 6, 8.0, 3.0};
  r.refused_runs.push_back({4, 7, side, 1.5});
  // A run that wraps round the first vertex and that no size fillets.
  rrensen::Problem reversal{rrensen::Refusal::kReversal, 0, -1, 0.0, 0.0};
  r.refused_runs.push_back({9, 1, reversal, std::nullopt});
  return r;
}

TEST(ReportLine, NamesEveryFieldAScriptNeeds) {
  EXPECT_EQ(
      ReportLine(Partly()),
      "{\"kind\":\"polyline\",\"type\":\"LWPOLYLINE\",\"handle\":\"2F\","
      "\"layer\":\"walls\",\"line\":12,\"style\":\"radius\",\"status\":\"partly\","
      "\"closed\":true,"
      "\"corners_filleted\":3,\"corners_left\":2,\"refused_runs\":["
      "{\"first_vertex\":5,\"last_vertex\":8,\"reason\":\"short_side\","
      "\"message\":\"the side from point 6 to point 7 is 3.000 long and needs "
      "8.000\",\"at_vertex\":6,\"to_vertex\":7,\"needed\":8.0,\"found\":3.0,"
      "\"largest_size\":1.5},"
      "{\"first_vertex\":10,\"last_vertex\":2,\"reason\":\"reversal\","
      "\"message\":\"the corner at point 1 turns exactly back on itself\","
      "\"at_vertex\":1,\"to_vertex\":null,\"needed\":null,\"found\":null,"
      "\"largest_size\":null}]}");
}

TEST(ReportLine, SkippedOutlinesGiveTheirReasonAndChainsTheirParts) {
  OutlineReport skipped;
  skipped.type = "POLYLINE";
  skipped.layer = "\x95\xc7";  // Shift-JIS, not UTF-8
  skipped.line = 40;
  skipped.status = OutlineStatus::kSkipped;
  skipped.skip_code = "widths";
  skipped.skip_reason = "it has vertex widths (group code 40)";
  EXPECT_EQ(ReportLine(skipped),
            "{\"kind\":\"polyline\",\"type\":\"POLYLINE\",\"handle\":null,"
            "\"layer\":\"\\ufffd\\ufffd\",\"line\":40,\"style\":\"chord\","
            "\"status\":\"skipped\","
            "\"closed\":false,\"reason\":\"widths\",\"message\":\"it has "
            "vertex widths (group code 40)\"}");

  OutlineReport chain;
  chain.kind = "chain";
  chain.type = "LWPOLYLINE";
  chain.layer = "0";
  chain.parts = {{"LINE", "A1", 100}, {"ARC", "", 120}};
  const std::string line = ReportLine(chain);
  EXPECT_NE(line.find("\"kind\":\"chain\""), std::string::npos);
  EXPECT_NE(line.find("\"parts\":[{\"type\":\"LINE\",\"handle\":\"A1\","
                      "\"line\":100},{\"type\":\"ARC\",\"handle\":null,"
                      "\"line\":120}]}"),
            std::string::npos);
  // A chain that no polyline stands for in its file's version has no type.
  chain.type.clear();
  EXPECT_EQ(ReportLine(chain).rfind("{\"kind\":\"chain\",\"type\":null,", 0), 0u);
}

}  // namespace
}  // namespace dxf
