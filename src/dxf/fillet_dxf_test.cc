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
  std::vector<rrensen::BulgeVertex> square;
  for (const Point& p : kSquare) square.push_back({p, 0.0});
  rrensen::PolylineResult expected =
      rrensen::FilletPolyline(square, {5.0, rrensen::Closing::kClosed});
  ASSERT_EQ(read[0].vertices.size(), expected.vertices.size());
  for (size_t k = 0; k < expected.vertices.size(); ++k) {
    EXPECT_EQ(read[0].vertices[k].point.x, expected.vertices[k].point.x);
    EXPECT_EQ(read[0].vertices[k].point.y, expected.vertices[k].point.y);
    EXPECT_EQ(read[0].vertices[k].bulge, expected.vertices[k].bulge);
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
      // The two ends are the old vertices B and D, as they were; the new
      // ones have no handle, since none can be known to be free.
      EXPECT_EQ(vertex_handles, (std::vector<std::string>{"B", "D"}));
    } else {
      // Open, one corner: 4 vertices. The two ends are the old B and D;
      // the two new ones take the handle of C, which is gone, then F.
      EXPECT_EQ(vertex_handles,
                (std::vector<std::string>{"B", "C", "F", "D"}));
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
            "the largest size that fillets it is 1.500");
  EXPECT_EQ(run.output, text);
}

}  // namespace
}  // namespace dxf
