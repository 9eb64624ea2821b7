#include "dxf/report_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace dxf {
namespace {

TEST(JsonString, EscapesQuotesControlsAndEveryByteOutsideAscii) {
  struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"walls", "\"walls\""},
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {"a\tb\nc\rd", "\"a\\tb\\nc\\rd\""},
      {std::string("nul\0bell\x07" "del\x7f", 13), "\"nul\\u0000bell\\u0007del\\u007f\""},
      // UTF-8: é (2 bytes), 壁 (3 bytes), 𝄞 (4 bytes: a surrogate pair).
      {"\xc3\xa9", "\"\\u00e9\""},
      {"\xe5\xa3\x81", "\"\\u58c1\""},
      {"\xf0\x9d\x84\x9e", "\"\\ud834\\udd1e\""},
      // Not UTF-8: one replacement character for each bad byte. Shift-JIS
      // 壁 (0x95 0xC7), a lone lead byte at the end, an overlong '/', an
      // encoded surrogate, a point above U+10FFFF.
      {"\x95\xc7", "\"\\ufffd\\ufffd\""},
      {"ab\xe5\xa3", "\"ab\\ufffd\\ufffd\""},
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""},
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},
      {"\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},
      {"\xe5\xa3x", "\"\\ufffd\\ufffdx\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(JsonString(c.in), c.out);
  }
}

TEST(JsonNumber, ShortestRoundTripDigitsAndNullForWhatIsNotFinite) {
  struct {
    double in;
    const char* out;
  } cases[] = {
      {10.0, "10.0"},
      {-0.1, "-0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {-0.0, "0.0"},
      {1.5e-7, "0.00000015"},
      {std::nan(""), "null"},
      {std::numeric_limits<double>::infinity(), "null"},
      {-std::numeric_limits<double>::infinity(), "null"},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonNumber(c.in), c.out);
}

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
