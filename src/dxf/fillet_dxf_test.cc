#include "dxf/fillet_dxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
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

/// The vertices of the one polyline of `text`, filleted as rrensen-dxf
/// would: `closed` says how.
std::vector<rrensen::BulgeVertex> Expected(const std::vector<Point>& points,
                                           bool closed, double size) {
  std::vector<rrensen::BulgeVertex> vertices;
  for (const Point& p : points) vertices.push_back({p, 0.0});
  return rrensen::FilletPolyline(
             vertices, {size, closed ? rrensen::Closing::kClosed
                                     : rrensen::Closing::kOpen})
      .vertices;
}

/// Whether polyline `read` has exactly the vertices `expected`.
void ExpectVertices(const Polyline& read,
                    const std::vector<rrensen::BulgeVertex>& expected) {
  ASSERT_EQ(read.vertices.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(read.vertices[k].point.x, expected[k].point.x) << k;
    EXPECT_EQ(read.vertices[k].point.y, expected[k].point.y) << k;
    EXPECT_EQ(read.vertices[k].bulge, expected[k].bulge) << k;
  }
}

TEST(FilletDrawing, ReadsLightweightPolylinesWithoutCountFlagsOrWithOpaqueParts) {
  // No 90 and no 70: the count is added before the first vertex, the flags
  // only when the outline is closed (here it is not). An application group
  // and extended data, whose 1010/1020 points are no vertices, are copied
  // where they were.
  const std::string bare =
      "  0\nLWPOLYLINE\n  5\n2B\n  8\n0\n 10\n0\n 20\n0\n 10\n100\n 20\n0\n"
      " 10\n100\n 20\n100\n";
  const std::string group = "102\n{ACAD_REACTORS\n330\n1F\n 10\n7\n102\n}\n";
  const std::string xdata = "1001\nAPP\n1010\n5\n1020\n5\n1000\n 10\n";
  const std::string opaque =
      "  0\nLWPOLYLINE\n  5\n2C\n" + group + "  8\n0\n 10\n0\n 20\n0\n"
      " 10\n100\n 20\n0\n 10\n100\n 20\n100\n" + xdata;
  for (const std::string& entity : {bare, opaque}) {
    const std::string text = File(entity);
    FilletRun run = FilletDrawing(text, FilletSettings{});
    ASSERT_EQ(run.error, "");
    EXPECT_EQ(run.filleted, 1);
    TagList list;
    std::vector<Polyline> read = PolylinesOf(run.output, list);
    ASSERT_EQ(read.size(), 1u);
    ExpectVertices(read[0], Expected({{0, 0}, {100, 0}, {100, 100}}, false, 5.0));
    EXPECT_FALSE(read[0].closed);
    EXPECT_FALSE(read[0].has_flags);
    EXPECT_NE(run.output.find("  8\n0\n 90\n4\n 10\n0\n 20\n0\n"), std::string::npos)
        << run.output;
    if (entity == opaque) {
      EXPECT_NE(run.output.find("  5\n2C\n" + group + "  8\n0\n"), std::string::npos);
      EXPECT_NE(run.output.find(" 20\n100\n" + xdata + "  0\nENDSEC\n"),
                std::string::npos)
          << run.output;
    }
  }
}

TEST(FilletDrawing, ClosesByTheFlagAndByTheGapAskedFor) {
  // Ends 3 apart. Flagged closed: the corner at the first vertex is cut
  // too. Open: it stays open whatever the size, unless --close-gap reaches
  // the gap (3 <= gap), which drops the last vertex and sets the flag.
  const std::vector<Point> near = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 3}};
  std::vector<Point> dropped(near.begin(), near.end() - 1);
  struct {
    const char* name;
    int flags;
    std::optional<double> gap;
    bool closed;
    std::vector<Point> shape;
  } cases[] = {
      {"flagged closed", 1, std::nullopt, true, near},
      {"open", 0, std::nullopt, false, near},
      {"gap just short", 0, 2.999, false, near},
      {"gap reached", 0, 3.0, true, dropped},
      {"other flags kept", 128, 3.0, true, dropped},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FilletSettings settings;
    settings.close_gap = c.gap;
    FilletRun run = FilletDrawing(File(Lightweight(near, c.flags)), settings);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.outlines.size(), 1u);
    EXPECT_EQ(run.outlines[0].closed, c.closed);
    TagList list;
    std::vector<Polyline> read = PolylinesOf(run.output, list);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].closed, c.closed);
    EXPECT_EQ(read[0].flags & ~1, c.flags & ~1);
    ExpectVertices(read[0], Expected(c.shape, c.closed, 5.0));
  }
}

TEST(FilletDrawing, KeepsArcVerticesByteForByteAndFilletsTheRunsBetween) {
  // The bulge text "+0.50" stays as it was, in both forms; the run 2-3-4
  // after the arc is filleted; the run before it is one piece, no run.
  const std::string lightweight =
      "  0\nLWPOLYLINE\n  5\n2D\n  8\n0\n 90\n5\n 70\n0\n"
      " 10\n0\n 20\n0\n 42\n+0.50\n 10\n100\n 20\n0\n 10\n100\n 20\n100\n"
      " 10\n0\n 20\n100\n";
  std::string vertex_list = "  0\nPOLYLINE\n  5\n30\n  8\n0\n 66\n1\n";
  const char* points[][3] = {
      {"0", "0", "+0.50"}, {"100", "0", ""}, {"100", "100", ""}, {"0", "100", ""}};
  int handle = 0x31;
  for (const auto& p : points) {
    vertex_list += "  0\nVERTEX\n  5\n" + std::to_string(handle++) +
                   "\n  8\n0\n 10\n" + p[0] + "\n 20\n" + p[1] + "\n";
    if (*p[2] != '\0') vertex_list += " 42\n" + std::string(p[2]) + "\n";
  }
  vertex_list += "  0\nSEQEND\n  5\n40\n";
  for (const std::string& entity : {lightweight, vertex_list}) {
    FilletRun run = FilletDrawing(File(entity, "50"), FilletSettings{});
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.outlines.size(), 1u);
    EXPECT_EQ(run.outlines[0].corners_filleted, 1);
    EXPECT_NE(run.output.find(" 10\n0\n 20\n0\n 42\n+0.50\n"), std::string::npos)
        << run.output;
    TagList list;
    std::vector<Polyline> read = PolylinesOf(run.output, list);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].vertices.size(), 5u);
    EXPECT_EQ(read[0].vertices[0].bulge, 0.5);
    EXPECT_EQ(read[0].vertices[1].point.x, 100.0);
    EXPECT_NE(read[0].vertices[2].bulge, 0.0);  // the cut at (100, 100)
    EXPECT_EQ(read[0].vertices[4].point.x, 0.0);
    EXPECT_EQ(read[0].vertices[4].point.y, 100.0);
  }
}

TEST(FilletDrawing, SaysWhatBecameOfEachPolyline) {
  // Filleted; partly (the run after the arc has a side of 3); unchanged
  // (too tight); skipped (widths); a 3-D polyline is not considered.
  const std::string partly =
      "  0\nLWPOLYLINE\n  5\nB1\n  8\n0\n 10\n0\n 20\n0\n 10\n100\n 20\n0\n"
      " 10\n100\n 20\n100\n 42\n1\n 10\n100\n 20\n200\n 10\n50\n 20\n200\n"
      " 10\n50\n 20\n203\n";
  const std::string widths =
      "  0\nLWPOLYLINE\n  5\nB2\n  8\n0\n 10\n0\n 20\n0\n 40\n2\n 10\n9\n 20\n0\n";
  const std::string three_d =
      "  0\nPOLYLINE\n  5\nB3\n 70\n8\n  0\nVERTEX\n 10\n0\n 20\n0\n  0\nSEQEND\n";
  const std::string text =
      File(Lightweight(kSquare, 1, "A1") + partly +
           Lightweight({{0, 0}, {100, 0}, {100, 3}}, 0, "A2") + widths + three_d);
  FilletRun run = FilletDrawing(text, FilletSettings{});
  ASSERT_EQ(run.error, "");
  ASSERT_EQ(run.outlines.size(), 4u);
  const OutlineStatus statuses[] = {OutlineStatus::kFilleted, OutlineStatus::kPartly,
                                    OutlineStatus::kUnchanged, OutlineStatus::kSkipped};
  const char* handles[] = {"A1", "B1", "A2", "B2"};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(run.outlines[k].status, statuses[k]) << k;
    EXPECT_EQ(run.outlines[k].handle, handles[k]);
  }
  EXPECT_EQ(run.filleted, 1);
  EXPECT_EQ(run.partly, 1);
  EXPECT_EQ(run.left_unchanged, 2);
  const OutlineReport& p = run.outlines[1];
  EXPECT_EQ(p.corners_filleted, 1);
  EXPECT_EQ(p.corners_left, 1);
  ASSERT_EQ(p.refused_runs.size(), 1u);
  EXPECT_EQ(p.refused_runs[0].first_vertex, 3);
  EXPECT_EQ(p.refused_runs[0].last_vertex, 5);
  EXPECT_EQ(p.refused_runs[0].problem.kind, rrensen::Refusal::kShortSide);
  EXPECT_EQ(p.refused_runs[0].problem.point, 4);
  EXPECT_EQ(run.outlines[3].skip_code, "widths");
  ASSERT_EQ(run.reports.size(), 3u);
  EXPECT_NE(run.reports[0].find("LWPOLYLINE B1 on layer \"0\" (line 33) partly "
                                "filleted: the run from point 4 to point 6 is "
                                "left as it is: the side from point 5 to point "
                                "6 is 3.000 long and needs 10.000; the largest "
                                "size that fillets it is 1.500"),
            std::string::npos)
      << run.reports[0];
  // The unchanged and the skipped polyline are written as they were.
  EXPECT_NE(run.output.find(widths), std::string::npos);
  EXPECT_NE(run.output.find(Lightweight({{0, 0}, {100, 0}, {100, 3}}, 0, "A2")),
            std::string::npos);
  EXPECT_EQ(run.rewritten, 2);
}

}  // namespace
}  // namespace dxf
