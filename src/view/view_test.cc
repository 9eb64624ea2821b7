#include "view.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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
    view::Drawing records;
    DrawingState read = view::ReadExchange(e.exchange, &records);
    view::Outline o = view::BuildOutline(read, read.Men);
    EXPECT_EQ(o.result, e.result);
    std::string svg = view::Svg(view::Points(read), records, &o, e.name);
    Parsed p = ParseSvg(svg);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.count("line"), e.lines);
    EXPECT_EQ(p.count("arc"), e.arcs);
    EXPECT_EQ(p.count("point"), e.points);
    EXPECT_EQ(p.count("failure"), e.result == 0 ? 0u : 1u);

    // Each arc starts and ends at its corner's tangent points (y negated).
    auto arc = p.by_class.equal_range("arc");
    int v = 2;
    for (auto it = arc.first; it != arc.second; ++it, ++v) {
      while (o.trace.corners[v].isArc != 1) ++v;
      const CornerRec& c = o.trace.corners[v];
      std::istringstream d(it->second.at("d"));
      std::string m, a;
      double x0, y0, rx, ry, rot, large, sweep, x1, y1;
      d >> m >> x0 >> y0 >> a >> rx >> ry >> rot >> large >> sweep >> x1 >> y1;
      EXPECT_NEAR(x0, c.t1x, 1e-5);
      EXPECT_NEAR(-y0, c.t1y, 1e-5);
      EXPECT_NEAR(x1, c.t2x, 1e-5);
      EXPECT_NEAR(-y1, c.t2y, 1e-5);
      EXPECT_NEAR(rx, c.r, 1e-5);
    }
  }
}

TEST(View, DrawsTheRecordsOfTheToolsOutput) {
  // The tool's own output: records, no points.
  WholeRun run = RunWholeInMemory("", kExamples[1].exchange);
  view::Drawing records;
  DrawingState read = view::ReadExchange(run.output, &records);
  EXPECT_EQ(read.iPOINTcnt, 0);
  EXPECT_EQ(records.lines.size(), 4u);
  EXPECT_EQ(records.arcs.size(), 4u);
  Parsed p = ParseSvg(view::Svg(view::Points(read), records, nullptr, "a <b> & \"c\""));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.count("line"), 4u);
  EXPECT_EQ(p.count("arc"), 4u);
}

TEST(View, RefusedOutlinesNameTheFailureAndASizeThatDraws) {
  struct {
    const char* exchange;
    const char* reason;
  } cases[] = {
      {"hp1 0 0\nhp2 5 0\nhp3 5 100\n", "the corner at point 2 turns too sharply"},
      {"hp1 0 0\nhp2 100 0\nhp3 100 8\n", "the side from point 2 to point 3 is 8.000 long"},
      // Open up to size 11, where the short last side allows at most 4;
      // closed above, where the side back to point 1 allows up to 15.
      {"hp1 0 0\nhp2 100 0\nhp3 100 100\nhp4 0 30\nhp5 0 22\n",
       "the side from point 4 to point 5 is 8.000 long"},
      // An exact reversal: no size draws it.
      {"hp1 0 100\nhp2 0 0\nhp3 0 100\n", "turns exactly back on itself"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exchange);
    view::Drawing records;
    DrawingState read = view::ReadExchange(c.exchange, &records);
    read.Men = 5.0;
    if (std::string(c.reason).find("exactly") != std::string::npos) read.Men = 0.0;
    view::Outline o = view::BuildOutline(read, read.Men);
    ASSERT_NE(o.result, 0);
    std::string text = view::Explain(read, o);
    EXPECT_NE(text.find(c.reason), std::string::npos) << text;

    std::optional<double> size = view::LargestDrawingSize(read);
    if (std::string(c.exchange).find("hp5 0 22") != std::string::npos) {
      EXPECT_EQ(size, 15.0);
    }
    size_t at = text.find("(rrensen /c");
    if (!size) {
      EXPECT_NE(text.find("no fillet size below 20 draws it"), std::string::npos);
      continue;
    }
    ASSERT_NE(at, std::string::npos) << text;
    std::string word = "-c" + text.substr(at + 11, text.find(')', at) - at - 11);
    // The suggested size, given to the tool, draws the outline...
    WholeRun run = RunWholeInMemory(word, c.exchange);
    EXPECT_EQ(run.output.find("h# R_RENSEN"), std::string::npos) << word;
    EXPECT_EQ(run.output.rfind(" ", 0), 0u) << word;
    // ...and is the largest that does, to the printed precision.
    if (*size < 19.99) {
      WholeRun more = RunWholeInMemory("-c" + std::to_string(*size + 0.002), c.exchange);
      EXPECT_NE(more.output.find("h# R_RENSEN"), std::string::npos) << *size;
    }
  }
}

}  // namespace
