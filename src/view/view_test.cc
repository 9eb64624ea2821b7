#include "view.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/number_format.h"
#include "svg.h"
#include "whole_run.h"

namespace {

/// The elements of an SVG document, by class, with their attributes; and
/// whether it parsed as XML.
struct Parsed {
  bool ok = false;
  std::multimap<std::string, std::map<std::string, std::string>> by_class;
  size_t count(const std::string& cls) const { return by_class.count(cls); }
};

Parsed ParseSvg(const std::string& svg) {
  Parsed p;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &p);
  XML_SetStartElementHandler(parser, [](void* data, const XML_Char*, const XML_Char** attrs) {
    std::map<std::string, std::string> a;
    for (int k = 0; attrs[k] != nullptr; k += 2) a[attrs[k]] = attrs[k + 1];
    if (a.count("class")) static_cast<Parsed*>(data)->by_class.emplace(a["class"], a);
  });
  p.ok = XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  return p;
}

struct Example {
  const char* name;
  const char* exchange;
  int result;
  size_t lines, arcs, points;
};

const Example kExamples[] = {
    {"open right angle", "hp1 0 0\nhp2 100 0\nhp3 100 100\n", 0, 2, 1, 3},
    {"closed square", "hp1 0 0\nhp2 100 0\nhp3 100 100\nhp4 0 100\nhp5 0 0\n", 0, 4, 4, 5},
    {"chord corner", "hp1 0 0\nhp2 100 0\nhp3 200 5\n", 0, 3, 0, 3},
    {"too sharp", "hp1 0 0\nhp2 5 0\nhp3 5 100\n", 2, 0, 0, 3},
};

TEST(View, PicturesHoldTheOutlineAndThePoints) {
  for (const Example& e : kExamples) {
    SCOPED_TRACE(e.name);
    view::Preview preview = view::MakePreview(e.exchange, 5.0);
    EXPECT_EQ(preview.result(), e.result);
    Parsed p = ParseSvg(view::Svg(preview, e.name));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.count("line"), e.lines);
    EXPECT_EQ(p.count("arc"), e.arcs);
    EXPECT_EQ(p.count("point"), e.points);
    EXPECT_EQ(p.count("failure"), e.result == 0 ? 0u : 1u);
    EXPECT_EQ(p.count("fillet"), e.result == 0 ? preview.outline.corners.size() : 0u);

    // Each arc starts and ends at its corner's tangent points (y negated),
    // in the order of the outline's arcs.
    std::vector<const rrensen::Corner*> arcs;
    for (const rrensen::Corner& c : preview.outline.corners) {
      if (c.is_arc && e.result == 0) arcs.push_back(&c);
    }
    auto drawn = p.by_class.equal_range("arc");
    ASSERT_EQ(static_cast<size_t>(std::distance(drawn.first, drawn.second)),
              arcs.size());
    size_t k = 0;
    for (auto it = drawn.first; it != drawn.second; ++it, ++k) {
      const rrensen::Corner& c = *arcs[k];
      std::istringstream d(it->second.at("d"));
      std::string m, a;
      double x0, y0, rx, ry, rot, large, sweep, x1, y1;
      d >> m >> x0 >> y0 >> a >> rx >> ry >> rot >> large >> sweep >> x1 >> y1;
      EXPECT_NEAR(x0, c.tangent_in.x, 1e-5);
      EXPECT_NEAR(-y0, c.tangent_in.y, 1e-5);
      EXPECT_NEAR(x1, c.tangent_out.x, 1e-5);
      EXPECT_NEAR(-y1, c.tangent_out.y, 1e-5);
      EXPECT_NEAR(rx, c.radius, 1e-5);
    }
  }
}

TEST(View, FilletsStayVisibleAndTheCaptionExplainsThePicture) {
  // A square of 100000 units: its fillets are far below a pixel, their
  // rings are not.
  view::Preview big = view::MakePreview(
      "hp1 0 0\nhp2 100000 0\nhp3 100000 100000\nhp4 0 100000\nhp5 0 0\n", 5.0);
  std::string svg = view::Svg(big, "big");
  Parsed p = ParseSvg(svg);
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(p.count("fillet"), 4u);
  std::istringstream box(svg.substr(svg.find("viewBox=\"") + 9));
  double vx, vy, vw;
  box >> vx >> vy >> vw;
  auto ring = p.by_class.find("fillet");
  EXPECT_NEAR(std::stod(ring->second.at("r")) / vw, 5.0 / 640, 1e-6);
  EXPECT_NE(svg.find(">closed outline of 5 points, fillet size 5.000, 4 corners<"),
            std::string::npos);

  view::Preview refused = view::MakePreview("hp1 0 0\nhp2 100 0\nhp3 100 8\n", 5.0);
  // The reason wraps at 80 characters.
  EXPECT_EQ(view::Caption(refused),
            (std::vector<std::string>{
                "refused at fillet size 5.000 (result 1): the side from point 2 to point 3 is",
                "8.000 long and needs 10.000",
                "largest fillet size below 20 that draws it: 4.000 (rrensen /c4.000)"}));
  EXPECT_TRUE(ParseSvg(view::Svg(refused, "refused")).ok);
}

TEST(View, DrawsTheRecordsOfTheToolsOutput) {
  // The tool's own output: records, no points.
  WholeRun run = RunWholeInMemory("", kExamples[1].exchange);
  view::Preview preview = view::MakePreview(run.output, 5.0);
  EXPECT_FALSE(preview.has_points());
  EXPECT_EQ(preview.records.lines.size(), 4u);
  EXPECT_EQ(preview.records.arcs.size(), 4u);
  Parsed p = ParseSvg(view::Svg(preview, "a <b> & \"c\""));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.count("line"), 4u);
  EXPECT_EQ(p.count("arc"), 4u);
}

TEST(View, RefusedOutlinesNameTheFailureAndTheLargestSizeThatDraws) {
  struct {
    const char* exchange;
    double size;
    const char* reason;
    double largest;  // -1: no size draws it
  } cases[] = {
      {"hp1 0 0\nhp2 5 0\nhp3 5 100\n", 5, "the corner at point 2 turns too sharply", 4.714},
      {"hp1 0 0\nhp2 100 0\nhp3 100 8\n", 5, "the side from point 2 to point 3 is 8.000 long", 4},
      // Open up to size 11, where the short last side allows at most 4;
      // closed above, where the side back to point 1 allows up to 15.
      {"hp1 0 0\nhp2 100 0\nhp3 100 100\nhp4 0 30\nhp5 0 22\n", 5,
       "the side from point 4 to point 5 is 8.000 long", 15},
      // An exact reversal: no size draws it.
      {"hp1 0 100\nhp2 0 0\nhp3 0 100\n", 0, "turns exactly back on itself", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exchange);
    view::Preview preview = view::MakePreview(c.exchange, c.size);
    ASSERT_NE(preview.result(), 0);
    std::string text = view::Explain(preview);
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    if (c.largest < 0) {
      EXPECT_NE(text.find("no fillet size below 20 draws it"), std::string::npos);
      continue;
    }
    std::string typed = platform::FixedText(c.largest, 3);
    EXPECT_NE(text.find("(rrensen /c" + typed + ")"), std::string::npos) << text;
    // The suggested size, given to the tool, draws the outline, and a
    // thousandth more does not.
    WholeRun run = RunWholeInMemory("-c" + typed, c.exchange);
    EXPECT_EQ(run.output.find("h# R_RENSEN"), std::string::npos);
    EXPECT_EQ(run.output.rfind(" ", 0), 0u);
    WholeRun more = RunWholeInMemory("-c" + platform::FixedText(c.largest + 0.001, 3), c.exchange);
    EXPECT_NE(more.output.find("h# R_RENSEN"), std::string::npos);
  }
}

TEST(View, OtherCornerStylesNameWhatTheSizeMeasures) {
  const char* square = "hp1 0 0\nhp2 100 0\nhp3 100 100\nhp4 0 100\nhp5 0 0\n";
  struct {
    rrensen::CornerStyle style;
    const char* caption;
    const char* row;  // the first corner's, in the explanation
    size_t arcs, lines;
  } cases[] = {
      {rrensen::CornerStyle::kRadiusArc,
       "closed outline of 5 points, radius arcs, radius 5.000, 4 corners",
       "     1      2  arc         5.000  5.000\n", 4, 4},
      {rrensen::CornerStyle::kDistanceChamfer,
       "closed outline of 5 points, distance chamfers, distance 5.000, 4 corners",
       "     1      2  chamfer     5.000  -\n", 0, 8},
      {rrensen::CornerStyle::kChordChamfer,
       "closed outline of 5 points, chord chamfers, chord 5.000, 4 corners",
       "     1      2  chamfer     3.536  -\n", 0, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    view::Preview preview = view::MakePreview(square, 5.0, c.style);
    ASSERT_EQ(preview.result(), 0);
    EXPECT_TRUE(preview.trace.corners.empty());
    EXPECT_EQ(view::Caption(preview), std::vector<std::string>{c.caption});
    EXPECT_NE(view::Explain(preview).find(c.row), std::string::npos)
        << view::Explain(preview);
    Parsed p = ParseSvg(view::Svg(preview, "styled"));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.count("arc"), c.arcs);
    EXPECT_EQ(p.count("line"), c.lines);
    EXPECT_EQ(p.count("fillet"), 4u);
  }
  // A radius arc drawn from its segment: counter-clockwise from the start
  // angle, a clockwise one from its end.
  rrensen::Segment arc;
  arc.is_arc = true;
  arc.centre = {95, 5};
  arc.radius = 5;
  for (double sweep : {std::acos(-1.0) / 2, -std::acos(-1.0) / 2}) {
    arc.start = sweep > 0 ? rrensen::Point{95, 0} : rrensen::Point{100, 5};
    arc.end = sweep > 0 ? rrensen::Point{100, 5} : rrensen::Point{95, 0};
    arc.sweep = sweep;
    EXPECT_NEAR(view::ArcOf(arc).start, -90, 1e-12) << sweep;
    EXPECT_NEAR(view::ArcOf(arc).end, 0, 1e-12) << sweep;
  }

  // Refused: the reason, and the exact largest size rounded down.
  view::Preview refused = view::MakePreview("hp1 0 0\nhp2 100 0\nhp3 100 8\nhp4 0 8\n", 5.0,
                                            rrensen::CornerStyle::kDistanceChamfer);
  ASSERT_EQ(refused.result(), 1);
  std::vector<std::string> caption = view::Caption(refused);
  ASSERT_EQ(caption.size(), 3u);
  EXPECT_EQ(caption[0],
            "refused at distance 5.000 (distance chamfers; result 1): the side from point 2");
  EXPECT_EQ(caption[2], "largest distance below 20 that draws it: 4.000000");
}

}  // namespace
