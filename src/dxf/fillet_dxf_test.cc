#include "dxf/fillet_dxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/tag_reader.h"

namespace dxf {
namespace {

using rrensen::Point;

const double kPi = std::acos(-1.0);

std::string File(const std::string& entities, const std::string& seed = "") {
  std::string header = seed.empty()
                           ? ""
                           : "  0\nSECTION\n  2\nHEADER\n  9\n$HANDSEED\n  5\n" +
                                 seed + "\n  0\nENDSEC\n";
  return header + "  0\nSECTION\n  2\nENTITIES\n" + entities +
         "  0\nENDSEC\n  0\nEOF\n";
}

std::string Lightweight(const std::vector<Point>& points, int flags,
                        const std::string& handle = "2F",
                        const std::string& layer = "walls") {
  std::string text = "  0\nLWPOLYLINE\n  5\n" + handle + "\n  8\n" + layer +
                     "\n 62\n3\n 90\n" + std::to_string(points.size()) +
                     "\n 70\n" + std::to_string(flags) + "\n";
  for (const Point& p : points) {
    text += " 10\n" + std::to_string(p.x) + "\n 20\n" + std::to_string(p.y) +
            "\n";
  }
  return text;
}

/// The polylines of a file as the reader sees them.
std::vector<Polyline> PolylinesOf(const std::string& text, TagList& list) {
  list = ReadTags(text);
  EXPECT_EQ(list.error, "");
  Drawing d = ReadDrawing(list);
  EXPECT_EQ(d.error, "");
  return d.polylines;
}

const std::vector<Point> kSquare = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};

TEST(FilletPolyline, BulgesAreTheQuarterSweepAndTurnTheCornersWay) {
  // A counter-clockwise square turns left by 90 degrees at each corner:
  // bulge tan(90/4) on each arc; its mirror image turns right: the negative.
  std::vector<Point> mirrored;
  for (const Point& p : kSquare) mirrored.push_back({p.x, -p.y});
  struct {
    const std::vector<Point>* points;
    double sign;
  } cases[] = {{&kSquare, 1.0}, {&mirrored, -1.0}};
  for (const auto& c : cases) {
    FilletedPolyline f = FilletPolyline(*c.points, true, 5.0);
    ASSERT_EQ(f.outline.result, rrensen::Result::kDrawn);
    EXPECT_TRUE(f.closed);
    ASSERT_EQ(f.vertices.size(), 8u);
    int arcs = 0;
    for (const BulgeVertex& v : f.vertices) {
      if (v.bulge == 0.0) continue;
      ++arcs;
      EXPECT_NEAR(v.bulge, c.sign * std::tan(kPi / 8), 1e-15);
    }
    EXPECT_EQ(arcs, 4);
  }
}

TEST(FilletPolyline, ClosedOutlinesNeedNoRepeatedVertexAndSurviveSizeZero) {
  std::vector<Point> repeated = kSquare;
  repeated.push_back(kSquare.front());
  for (double size : {0.0, 5.0}) {
    FilletedPolyline plain = FilletPolyline(kSquare, true, size);
    FilletedPolyline with_repeat = FilletPolyline(repeated, true, size);
    ASSERT_EQ(plain.outline.result, rrensen::Result::kDrawn) << size;
    ASSERT_EQ(plain.vertices.size(), with_repeat.vertices.size()) << size;
    EXPECT_TRUE(plain.closed);
    for (size_t k = 0; k < plain.vertices.size(); ++k) {
      EXPECT_EQ(plain.vertices[k].point.x, with_repeat.vertices[k].point.x);
      EXPECT_EQ(plain.vertices[k].point.y, with_repeat.vertices[k].point.y);
    }
  }
  // Size 0 rounds nothing: the square's own four corners, no arcs.
  FilletedPolyline zero = FilletPolyline(kSquare, true, 0.0);
  ASSERT_EQ(zero.vertices.size(), 4u);
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(zero.vertices[k].bulge, 0.0);
    EXPECT_EQ(zero.vertices[k].point.x, kSquare[k].x);
    EXPECT_EQ(zero.vertices[k].point.y, kSquare[k].y);
  }
}

TEST(FilletPolyline, OpenOutlinesCloseOnlyWhenTheirEndsAreNear) {
  std::vector<Point> almost = kSquare;
  almost.push_back({0, 3});
  struct {
    double size;
    bool closed;
  } cases[] = {{1.0, false}, {1.5, false}, {1.6, true}, {5.0, true}};
  for (const auto& c : cases) {
    FilletedPolyline f = FilletPolyline(almost, false, c.size);
    if (f.outline.result != rrensen::Result::kDrawn) continue;
    EXPECT_EQ(f.closed, c.closed) << c.size;
    // Two vertices for every corner, and the two ends when open: open, the
    // five points have three corners; closed, the last point is the first
    // and all four are corners.
    size_t corners = c.closed ? 4 : 3;
    EXPECT_EQ(f.vertices.size(), 2 * corners + (c.closed ? 0 : 2)) << c.size;
  }
}

TEST(FilletDrawing, AFileWithoutPolylinesIsCopiedByteForByte) {
  const std::string text =
      "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nENTITIES  \r\n  0\r\nLINE\r\n"
      " 10\r\n1.50000\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\ntrailing bytes";
  FilletRun run = FilletDrawing(text, FilletSettings{});
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.filleted, 0);
  EXPECT_EQ(run.output, text);
}

TEST(FilletDrawing, WritesWhatItFilletsLosslesslyWithTheFilesLineEnds) {
  std::string text = File(Lightweight(kSquare, 1) + "  0\nLINE\n  5\n30\n");
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  FilletRun run = FilletDrawing(crlf, FilletSettings{});
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.filleted, 1);
  // Every line ends in CR LF.
  for (size_t i = 0; i < run.output.size(); ++i) {
    if (run.output[i] == '\n') {
      ASSERT_EQ(run.output[i - 1], '\r') << i;
    }
  }
  TagList list;
  std::vector<Polyline> read = PolylinesOf(run.output, list);
  ASSERT_EQ(read.size(), 1u);
  FilletedPolyline expected = FilletPolyline(kSquare, true, 5.0);
  ASSERT_EQ(read[0].vertices.size(), expected.vertices.size());
  for (size_t k = 0; k < expected.vertices.size(); ++k) {
    EXPECT_EQ(read[0].vertices[k].x, expected.vertices[k].point.x);
    EXPECT_EQ(read[0].vertices[k].y, expected.vertices[k].point.y);
  }
  EXPECT_EQ(read[0].handle, "2F");
  EXPECT_EQ(read[0].layer, "walls");
  EXPECT_TRUE(read[0].closed);
  EXPECT_NE(run.output.find("  0\r\nLINE\r\n  5\r\n30\r\n"), std::string::npos);
}

TEST(FilletDrawing, NewVerticesGetFreeHandlesOnlyWhenTheFileHasASeed) {
  std::string polyline =
      "  0\nPOLYLINE\n  5\nA\n  8\nx\n 66\n1\n";
  const char* handles[] = {"B", "C", "D"};
  for (int k = 0; k < 3; ++k) {
    polyline += "  0\nVERTEX\n  5\n" + std::string(handles[k]) +
                "\n  8\nx\n 10\n" + std::to_string(kSquare[static_cast<size_t>(k)].x) +
                "\n 20\n" + std::to_string(kSquare[static_cast<size_t>(k)].y) +
                "\n 30\n0.0\n 70\n0\n";
  }
  polyline += "  0\nSEQEND\n  5\nE\n";
  struct {
    const char* seed;
    const char* new_seed;
  } cases[] = {{"F", "10"}, {"", ""}};
  for (const auto& c : cases) {
    FilletRun run = FilletDrawing(File(polyline, c.seed), FilletSettings{});
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.filleted, 1);
    TagList list = ReadTags(run.output);
    std::vector<std::string> vertex_handles;
    std::string seed;
    for (size_t i = 0; i + 1 < list.tags.size(); ++i) {
      if (list.tags[i].value == "VERTEX" && list.tags[i + 1].code == 5) {
        vertex_handles.emplace_back(list.tags[i + 1].value);
      }
      if (list.tags[i].value == "$HANDSEED") seed = list.tags[i + 1].value;
    }
    EXPECT_EQ(seed, c.new_seed);
    if (*c.seed == '\0') {
      EXPECT_TRUE(vertex_handles.empty());
    } else {
      // Open, one corner: 4 vertices; the three old handles, then F.
      EXPECT_EQ(vertex_handles,
                (std::vector<std::string>{"B", "C", "D", "F"}));
    }
    Drawing d = ReadDrawing(list);
    ASSERT_EQ(d.polylines.size(), 1u);
    EXPECT_EQ(d.polylines[0].vertices.size(), 4u);
  }
}

TEST(FilletDrawing, ReportsWhatItLeavesUnchanged) {
  // The side from (100, 0) to (100, 3) is shorter than twice the size.
  std::vector<Point> tight = {{0, 0}, {100, 0}, {100, 3}, {0, 3}};
  std::string text = File(Lightweight(tight, 0, "AB", "Walls") +
                          Lightweight(kSquare, 0, "AC", "other"));
  FilletSettings settings;
  settings.layer = "WALLS";
  FilletRun run = FilletDrawing(text, settings);
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.filleted, 0);
  EXPECT_EQ(run.left_unchanged, 1);
  ASSERT_EQ(run.reports.size(), 1u);
  EXPECT_EQ(run.reports[0],
            "LWPOLYLINE AB on layer \"Walls\" (line 5) left unchanged: the "
            "side from point 2 to point 3 is 3.000 long and needs 10.000; "
            "the largest size below 20 that draws it is "
            "1.500");
  EXPECT_EQ(run.output, text);
}

}  // namespace
}  // namespace dxf
