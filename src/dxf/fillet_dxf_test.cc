#include "dxf/fillet_dxf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/number_text.h"
#include "dxf/tag_reader.h"
#include "dxf/test_support.h"

namespace dxf {
namespace {

using rrensen::Point;

using testing::File;
using testing::VertexList;

/// testing::Lightweight through `points`.
std::string Lightweight(const std::vector<Point>& points, int flags,
                        const std::string& handle = "2F", const std::string& layer = "walls") {
  std::vector<std::string> text;
  for (const Point& p : points) {
    text.push_back(FormatCoordinate(p.x) + "," + FormatCoordinate(p.y));
  }
  return testing::Lightweight(handle, flags, text, layer);
}

/// The one polyline of a file, as the reader sees it.
Polyline OnlyPolyline(const std::string& text) {
  const TagList list = ReadTags(text);
  EXPECT_EQ(list.error, "");
  Drawing d = ReadDrawing(list);
  EXPECT_EQ(d.error, "");
  EXPECT_EQ(d.polylines.size(), 1u);
  return d.polylines.size() == 1 ? d.polylines[0] : Polyline{};
}

/// The handles of the entities of `text`, in file order ("" for none).
std::vector<std::string> EntityHandles(const std::string& text) {
  const TagList list = ReadTags(text);
  std::vector<std::string> handles;
  size_t i = 0;
  while (i < list.tags.size() && list.tags[i].value != "ENTITIES") ++i;
  for (++i; i + 1 < list.tags.size() && list.tags[i].value != "ENDSEC"; ++i) {
    if (list.tags[i].code == 0) {
      handles.emplace_back(list.tags[i + 1].code == 5 ? list.tags[i + 1].value : "");
    }
  }
  return handles;
}

const std::vector<Point> kSquare = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};

/// `points` filleted as rrensen-dxf would: `closed` says how.
rrensen::PolylineResult Planned(const std::vector<Point>& points, bool closed, double size,
                                rrensen::CornerStyle style = rrensen::CornerStyle::kChordArc) {
  std::vector<rrensen::BulgeVertex> vertices(points.size());
  for (size_t k = 0; k < points.size(); ++k) vertices[k].point = points[k];
  return rrensen::FilletPolyline(
      vertices, {size, closed ? rrensen::Closing::kClosed : rrensen::Closing::kOpen, style});
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

// Lines and arcs, for joining (--join): the file's LINE and ARC entities
// chained, then filleted.

std::string LineEntity(const std::string& handle, Point from, Point to,
                       const std::string& layer = "outline") {
  return "  0\nLINE\n  5\n" + handle + "\n  8\n" + layer + "\n 10\n" +
         FormatCoordinate(from.x) + "\n 20\n" + FormatCoordinate(from.y) +
         "\n 11\n" + FormatCoordinate(to.x) + "\n 21\n" +
         FormatCoordinate(to.y) + "\n";
}

std::string ArcEntity(const std::string& handle, Point centre, double radius,
                      double from, double to) {
  return "  0\nARC\n  5\n" + handle + "\n  8\noutline\n 10\n" +
         FormatCoordinate(centre.x) + "\n 20\n" + FormatCoordinate(centre.y) +
         "\n 40\n" + FormatCoordinate(radius) + "\n 50\n" +
         FormatCoordinate(from) + "\n 51\n" + FormatCoordinate(to) + "\n";
}

/// A slot 100 x 20 with a half-round right end, the left side drawn
/// downwards against the way round, then a circle.
const std::string kSlot = LineEntity("A1", {0, 0}, {100, 0}) +
                          ArcEntity("A2", {100, 10}, 10, 270, 90) +
                          LineEntity("A3", {100, 20}, {0, 20}) +
                          "  0\nCIRCLE\n  5\nA4\n  8\n0\n 10\n0\n 20\n0\n 40\n1\n" +
                          LineEntity("A5", {0, 0}, {0, 20});

/// An open chain 4 wide between its corners.
const std::string kNarrow = LineEntity("C1", {0, 0}, {0, 10}) +
                            LineEntity("C2", {0, 10}, {4, 10}) +
                            LineEntity("C3", {4, 10}, {4, 0});

Settings Joining(double size = 5.0) {
  Settings settings;
  settings.size = size;
  settings.join_gap = 1e-6;
  return settings;
}

TEST(FilletDrawing, LeavesAloneWhatIsNotAskedFor) {
  // Written byte for byte: a file without polylines (its BOM, CR LF,
  // padding and what follows EOF); lines and arcs without --join; with
  // --layer WALLS, what lies on other layers, and "Walls", asked for, whose
  // side from (100, 0) to (100, 3) is shorter than twice the size.
  const std::vector<Point> tight = {{0, 0}, {100, 0}, {100, 3}, {0, 3}};
  Settings walls = Joining();
  walls.layer = "WALLS";
  const struct {
    std::string text;
    Settings settings;
    size_t outlines;
  } cases[] = {
      {"\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nENTITIES  \r\n  0\r\nLINE\r\n"
       " 10\r\n1.50000\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\ntrailing bytes",
       Settings{}, 0},
      {File(kSlot, "100", "AC1015"), Settings{}, 0},
      {File(kSlot + Lightweight(tight, 0, "AB", "Walls") +
                Lightweight(kSquare, 0, "AC", "other"),
            "100", "AC1015"),
       walls, 1},
  };
  FilletRun run;
  for (const auto& c : cases) {
    run = FilletDrawing(c.text, c.settings);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.output, c.text);
    EXPECT_EQ(run.filleted, 0);
    ASSERT_EQ(run.outlines.size(), c.outlines);
  }
  EXPECT_EQ(run.outlines[0].handle, "AB");
  EXPECT_EQ(run.left_unchanged, 1);
  ASSERT_EQ(run.reports.size(), 1u);  // its wording: run_test.cc
  EXPECT_EQ(run.reports[0].rfind("LWPOLYLINE AB on layer \"Walls\" (line 89) left unchanged", 0),
            0u)
      << run.reports[0];
}

TEST(FilletDrawing, NewVerticesGetFreeHandlesOnlyWhenTheFileHasASeed) {
  // Open, one corner: 4 vertices. The two ends are the old vertices B and
  // D, as they were; the two new ones take the handle of C, which is gone,
  // then F, and $HANDSEED moves on (past another header variable with group
  // code 5). Without a seed they have none, since none can be known to be
  // free. Zero widths do not make a polyline unfit; a new vertex's bulge
  // follows its widths, as DXF orders them.
  const std::vector<std::string> seeded = {"A", "B", "C", "F", "D", "E"};
  struct {
    const char* seed;
    const char* new_seed;
    bool other_handle;  ///< another header variable with group code 5 first
    std::vector<std::string> handles;
    const char* vertex_tags;  ///< after each VERTEX's point
    int before_bulge;         ///< the group code the new bulge follows
  } cases[] = {{"F", "10", false, seeded, " 30\n0.0\n 40\n0.0\n 70\n0\n", 40},
               {"F", "10", true, seeded, " 30\n0.0\n 40\n0.0\n 70\n0\n", 40},
               {"", "", false, {"A", "B", "", "", "D", "E"}, " 70\n0\n", 20}};
  for (const auto& c : cases) {
    const std::string polyline = VertexList({"A", "B", "C", "D", "E"}, 0, c.vertex_tags);
    const auto with_other = [&](std::string file) {
      if (c.other_handle) file.insert(file.find("  9\n$HANDSEED"), "  9\n$OTHER\n  5\n99\n");
      return file;
    };
    const std::string file = with_other(File(polyline, c.seed));
    // The header as it was, but for the seed.
    const std::string header = with_other(File(polyline, c.new_seed));
    FilletRun run = FilletDrawing(file, Settings{});
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.filleted, 1);
    EXPECT_EQ(run.output.substr(0, run.output.find("ENTITIES")),
              header.substr(0, header.find("ENTITIES")));
    EXPECT_EQ(EntityHandles(run.output), c.handles);
    // One bulge, after the point and the widths.
    const TagList tags = ReadTags(run.output);
    int bulges = 0;
    for (size_t i = 1; i < tags.tags.size(); ++i) {
      if (tags.tags[i].code != 42) continue;
      ++bulges;
      EXPECT_EQ(tags.tags[i - 1].code, c.before_bulge);
    }
    EXPECT_EQ(bulges, 1);
  }
}

TEST(FilletDrawing, CutsInTheStyleAsked) {
  // A square, and a strip 4 wide that no style fits at size 3: its report
  // holds the style's own needs and largest size.
  const std::vector<Point> strip = {{0, 0}, {400, 0}, {400, 4}, {0, 4}};
  for (int k = 0; k < 4; ++k) {
    Settings settings;
    settings.size = 3.0;
    settings.style = static_cast<rrensen::CornerStyle>(k);
    SCOPED_TRACE(rrensen::CornerStyleName(settings.style));
    FilletRun run = FilletDrawing(File(Lightweight(kSquare, 1)), settings);
    ExpectVertices(OnlyPolyline(run.output), Planned(kSquare, true, 3.0, settings.style).vertices);
    run = FilletDrawing(File(Lightweight(strip, 1)), settings);
    ASSERT_EQ(run.outlines.size(), 1u);
    EXPECT_EQ(run.outlines[0].style, settings.style);
    ASSERT_EQ(run.outlines[0].refused_runs.size(), 1u);
    const RunReport& refused = run.outlines[0].refused_runs[0];
    const rrensen::RefusedRun planned = Planned(strip, true, 3.0, settings.style).refused_runs.at(0);
    EXPECT_EQ(refused.problem.needed, planned.problem.needed);
    EXPECT_EQ(refused.largest_size, planned.largest_size);
  }
}

TEST(FilletDrawing, CopiesWhatItDoesNotCutByteForByte) {
  // Without 90 and 70 the count is added before the first vertex, the flags
  // only when the outline is closed (here it is not). An application group
  // and extended data, whose 1010/1020 points are no vertices, are copied
  // where they were. An arc's bulge text "+0.50" stays as it was, in both
  // forms; the run 2-3-4 after it is filleted; the run before it is one
  // piece, no run.
  const std::string group = "102\n{ACAD_REACTORS\n330\n1F\n 10\n7\n102\n}\n";
  const std::string xdata = "1001\nAPP\n1010\n5\n1020\n5\n1000\n 10\n";
  const std::string points = " 10\n0\n 20\n0\n 10\n100\n 20\n0\n 10\n100\n 20\n100\n";
  const std::string counted = "  8\n0\n 90\n4\n 10\n0\n 20\n0\n";
  const std::string bulge = " 10\n0\n 20\n0\n 42\n+0.50\n";
  std::string widths = points;
  for (size_t at = 0; (at = widths.find(" 10\n", at + 1)) != std::string::npos;) {
    widths.insert(at, " 40\n0\n 41\n0\n");
    at += 12;
  }
  widths += " 40\n0\n 41\n0\n";
  std::string vertex_list = VertexList({"30", "31", "32", "33", "34", "40"});
  vertex_list.insert(vertex_list.find("  0\nVERTEX\n  5\n32"), " 42\n+0.50\n");
  const std::vector<rrensen::BulgeVertex> corner = {{{0, 0}}, {{100, 0}}, {{100, 100}}};
  const std::vector<rrensen::BulgeVertex> arc = {
      {{0, 0}, 0.5}, {{100, 0}}, {{100, 100}}, {{0, 100}}};
  struct {
    std::string entity;
    std::vector<rrensen::BulgeVertex> shape;  ///< open
    std::vector<std::string> kept;            ///< bytes as they were written
  } cases[] = {
      {"  0\nLWPOLYLINE\n  5\n2B\n  8\n0\n" + points, corner, {counted}},
      {"  0\nLWPOLYLINE\n  5\n2C\n" + group + "  8\n0\n" + points + xdata, corner,
       {counted, "  5\n2C\n" + group + "  8\n0\n", " 20\n100\n" + xdata + "  0\nENDSEC\n"}},
      {testing::Lightweight("2D", 0, {"0,0,+0.50", "100,0", "100,100", "0,100"}), arc, {bulge}},
      {vertex_list, arc, {bulge}},
      // Zero widths: each kept vertex keeps its own, the new ones have none.
      {"  0\nLWPOLYLINE\n  5\n2D\n  8\n0\n" + widths, corner,
       {" 10\n0\n 20\n0\n 40\n0\n 41\n0\n 10\n", " 20\n100\n 40\n0\n 41\n0\n  0\nENDSEC\n"}},
  };
  for (const auto& c : cases) {
    FilletRun run = FilletDrawing(File(c.entity, "50"), Settings{});
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.outlines.size(), 1u);
    EXPECT_EQ(run.outlines[0].corners_filleted, 1);
    const Polyline read = OnlyPolyline(run.output);
    ExpectVertices(read, rrensen::FilletPolyline(c.shape, {5.0, rrensen::Closing::kOpen}).vertices);
    EXPECT_FALSE(read.closed);
    EXPECT_EQ(read.has_flags, c.entity.find(" 70\n") != std::string::npos);
    for (const std::string& bytes : c.kept) {
      EXPECT_NE(run.output.find(bytes), std::string::npos) << bytes << run.output;
    }
  }
}

TEST(FilletDrawing, ClosesByTheFlagAndByTheGapAskedFor) {
  // Ends 3 apart. Flagged closed: the corner at the first vertex is cut
  // too. Open: it stays open whatever the size, unless --close-gap reaches
  // the gap (3 <= gap), which drops the last vertex and sets the flag. So
  // too for a chain of lines, a U whose ends lie 4 apart.
  const std::vector<Point> near = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 3}};
  std::vector<Point> dropped(near.begin(), near.end() - 1);
  const std::string u = LineEntity("A1", {4, 0}, {100, 0}) +
                        LineEntity("A2", {100, 0}, {100, 50}) +
                        LineEntity("A3", {100, 50}, {0, 50}) +
                        LineEntity("A4", {0, 50}, {0, 0});
  struct {
    const char* name;
    int flags;
    std::optional<double> gap;
    bool closed;
    std::vector<Point> shape;
    bool chain = false;
  } cases[] = {
      {"flagged closed", 1, std::nullopt, true, near},
      {"open", 0, std::nullopt, false, near},
      {"gap just short", 0, 2.999, false, near},
      {"gap reached", 0, 3.0, true, dropped},
      {"other flags kept", 128, 3.0, true, dropped},
      {"a chain", 0, 4.0, true, {{4, 0}, {100, 0}, {100, 50}, {0, 50}}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Settings settings = c.chain ? Joining() : Settings{};
    settings.close_gap = c.gap;
    FilletRun run = FilletDrawing(
        c.chain ? File(u, "100", "AC1015") : File(Lightweight(near, c.flags)), settings);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.outlines.size(), 1u);
    const rrensen::PolylineResult planned = Planned(c.shape, c.closed, 5.0);
    EXPECT_EQ(run.outlines[0].closed, c.closed);
    EXPECT_EQ(run.outlines[0].corners_filleted, planned.corners_filleted);
    const Polyline read = OnlyPolyline(run.output);
    EXPECT_EQ(read.closed, c.closed);
    EXPECT_EQ(read.flags & ~1, c.flags & ~1);
    ExpectVertices(read, planned.vertices);
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
  FilletRun run = FilletDrawing(text, Settings{});
  ASSERT_EQ(run.error, "");
  ASSERT_EQ(run.outlines.size(), 4u);
  const OutlineStatus statuses[] = {OutlineStatus::kFilleted, OutlineStatus::kPartly,
                                    OutlineStatus::kUnchanged, OutlineStatus::kSkipped};
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(run.outlines[k].status, statuses[k]) << k;
  EXPECT_EQ(run.filleted, 1);
  EXPECT_EQ(run.partly, 1);
  EXPECT_EQ(run.left_unchanged, 2);
  EXPECT_EQ(run.outlines[1].corners_filleted, 1);
  EXPECT_EQ(run.outlines[1].corners_left, 1);
  EXPECT_EQ(run.outlines[3].skip_code, "widths");
  // The refused run's vertices and problem, as the prose tells them.
  ASSERT_EQ(run.reports.size(), 3u);
  EXPECT_NE(run.reports[0].find("LWPOLYLINE B1 on layer \"0\" (line 31) partly "
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

TEST(FilletDrawingJoin, TurnsAClosedOutlineOfLinesAndArcsIntoOneFilletedPolyline) {
  // In a file whose group codes stand flush left ("0", not "  0") and whose
  // lines end in CR LF, beside a closed square: what is written, new or
  // rewritten, is written so too, and losslessly.
  const std::string padded = File(kSlot + Lightweight(kSquare, 1), "100", "AC1015");
  std::string text;
  for (size_t at = 0, line = 0; at < padded.size(); ++line) {
    const size_t end = padded.find('\n', at);
    const size_t from = line % 2 == 0 ? padded.find_first_not_of(' ', at) : at;
    text += padded.substr(from, end - from) + "\r\n";
    at = end + 1;
  }
  FilletRun run = FilletDrawing(text, Joining());
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.filleted, 1);
  EXPECT_EQ(run.chains_filleted, 1);
  EXPECT_EQ(run.joined_lines, 3);
  EXPECT_EQ(run.joined_arcs, 1);
  EXPECT_EQ(run.output.find("\n "), std::string::npos) << run.output;
  for (size_t i = run.output.find('\n'); i != std::string::npos; i = run.output.find('\n', i + 1)) {
    ASSERT_EQ(run.output[i - 1], '\r') << i;
  }

  const TagList list = ReadTags(run.output);
  const Drawing d = ReadDrawing(list);
  ASSERT_EQ(d.polylines.size(), 2u);
  const Polyline& read = d.polylines[0];
  EXPECT_EQ(read.handle, "100");  // from $HANDSEED, which moves on
  EXPECT_EQ(read.layer, "outline");
  EXPECT_TRUE(read.closed);
  // The chain runs from the first line's start, round the half circle
  // (bulge 1), and down the left side, which is filleted at both ends.
  const std::vector<rrensen::BulgeVertex> chain = {
      {{0, 0}, 0.0}, {{100, 0}, 1.0}, {{100, 20}, 0.0}, {{0, 20}, 0.0}};
  ExpectVertices(read, rrensen::FilletPolyline(
                              chain, {5.0, rrensen::Closing::kClosed})
                              .vertices);
  ExpectVertices(d.polylines[1], Planned(kSquare, true, 5.0).vertices);
  EXPECT_EQ(d.polylines[1].handle, "2F");
  EXPECT_EQ(d.polylines[1].layer, "walls");
  EXPECT_TRUE(d.polylines[1].closed);
  // In the place of the first line, the others gone, the circle kept.
  EXPECT_EQ(EntityHandles(run.output), (std::vector<std::string>{"100", "A4", "2F"}));
  EXPECT_NE(run.output.find("ENTITIES\r\n0\r\nLWPOLYLINE\r\n"), std::string::npos);
  EXPECT_NE(run.output.find("$HANDSEED\r\n5\r\n101\r\n"), std::string::npos);

  // Its record: the first line's "0" tag, and the pieces in the order the
  // chain runs through them.
  ASSERT_EQ(run.outlines.size(), 2u);  // the chain first
  const OutlineReport& r = run.outlines[0];
  EXPECT_EQ(r.line, 19);
  EXPECT_EQ(r.corners_filleted, 2);
  std::vector<std::string> parts;
  for (const EntityRef& part : r.parts) parts.push_back(part.type + " " + part.handle);
  EXPECT_EQ(parts, (std::vector<std::string>{"LINE A1", "ARC A2", "LINE A3", "LINE A5"}));
}

TEST(FilletDrawingJoin, SaysWhatBecameOfEachChain) {
  // The open chain C1-C2-C3 is 4 wide between its corners: at size 5 it is
  // refused, at 1.5 filleted. Three lines meeting at (50, 50) chain nothing.
  const std::string branching = LineEntity("B1", {0, 50}, {50, 50}) +
                                LineEntity("B2", {50, 50}, {100, 50}) +
                                LineEntity("B3", {50, 50}, {50, 100});
  // A line and a quarter arc on from it: no corner to fillet.
  const std::string bend = LineEntity("D1", {0, 200}, {10, 200}) +
                           ArcEntity("D2", {10, 210}, 10, 270, 0);
  const std::string left = "chain of 3 lines from LINE C1 on layer \"outline\" (line 19) left "
                           "unchanged: ";
  struct {
    const char* name;
    std::string version;
    std::string entities;
    double size;
    std::optional<std::string> layer;
    OutlineStatus status;
    const char* type;
    bool joined;  // the pieces became a polyline
    std::string report;  // the prose, if any
  } cases[] = {
      {"refused: left as its pieces", "AC1015", kNarrow, 5.0, std::nullopt,
       OutlineStatus::kUnchanged, "LWPOLYLINE", false,
       left + "the side from point 2 to point 3 is 4.000 long and needs 10.000; "
              "the largest size that fillets it is 2.000"},
      {"R12: the vertex-list form", "AC1009", kNarrow, 1.5, std::nullopt,
       OutlineStatus::kFilleted, "POLYLINE", true, ""},
      {"no version: R12", "", kNarrow, 1.5, std::nullopt,
       OutlineStatus::kFilleted, "POLYLINE", true, ""},
      {"R13 has no form for it", "AC1012", kNarrow, 1.5, std::nullopt,
       OutlineStatus::kSkipped, "", false,
       left + "lines and arcs are joined in R12 files and in those from R14 on, "
              "not in version AC1012"},
      {"nothing to fillet, joined all the same", "AC1015", bend, 5.0,
       std::nullopt, OutlineStatus::kFilleted, "LWPOLYLINE", true, ""},
      {"--layer asks for the chain's layer", "AC1015", kNarrow, 1.5,
       "OUTLINE", OutlineStatus::kFilleted, "LWPOLYLINE", true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = File(c.entities + branching, "100", c.version);
    Settings settings = Joining(c.size);
    settings.layer = c.layer;
    FilletRun run = FilletDrawing(text, settings);
    ASSERT_EQ(run.error, "");
    ASSERT_EQ(run.outlines.size(), 1u);  // the branching lines are no chain
    const OutlineReport& r = run.outlines[0];
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.type, c.type);
    EXPECT_FALSE(r.closed);
    EXPECT_EQ(r.handle.empty(), !c.joined);
    EXPECT_EQ(run.joined_polylines, c.joined ? 1 : 0);
    EXPECT_EQ(run.chains_left, c.joined ? 0 : 1);
    EXPECT_EQ(run.reports,
              c.report.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.report});
    // The branching lines are always there as they were; the chain's
    // pieces are when it was not joined, and then the file is unchanged.
    EXPECT_NE(run.output.find(branching), std::string::npos);
    if (!c.joined) {
      EXPECT_EQ(run.output, text);
    }
    TagList list = ReadTags(run.output);
    Drawing d = ReadDrawing(list, DrawingPieces::kRead);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.polylines.size(), c.joined ? 1u : 0u);
    EXPECT_EQ(d.pieces.size(), c.joined ? 3u : 6u);
  }
}

TEST(FilletDrawingJoin, GivesHandlesInFileOrderAndMovesTheSeedPastThem) {
  // An R12 file: a vertex-list polyline after the chain's first piece takes
  // its new vertices' handles after the chain's entities'.
  const std::string polyline = VertexList({"B0", "B1", "B2", "B3", "B4"});
  const std::string narrow = LineEntity("A1", {0, 0}, {0, 10}) +
                             LineEntity("A2", {0, 10}, {4, 10});
  FilletRun run =
      FilletDrawing(File(narrow + polyline, "100", "AC1009"), Joining(1.5));
  ASSERT_EQ(run.error, "");
  ASSERT_EQ(run.outlines.size(), 2u);
  EXPECT_EQ(run.outlines[0].kind, "chain");
  EXPECT_EQ(run.outlines[0].handle, "100");
  EXPECT_EQ(run.outlines[1].kind, "polyline");
  // The chain: POLYLINE, 4 VERTEX entities (one corner cut), SEQEND: 100 to
  // 105. The polyline's two new vertices: B2's handle, which is gone, and
  // 106.
  EXPECT_EQ(EntityHandles(run.output),
            (std::vector<std::string>{"100", "101", "102", "103", "104", "105", "B0", "B1",
                                      "B2", "106", "B3", "B4"}));
  EXPECT_NE(run.output.find("$HANDSEED\n  5\n107\n"), std::string::npos);
}

// The two passes over sources that give a few bytes at a time.

class Listing : public RunListener {
 public:
  void OnOutline(const OutlineReport& report) override {
    for (const std::string& line : Prose(report)) lines.push_back(line);
    lines.push_back(ReportLine(report));
  }
  std::vector<std::string> lines;
};

TEST(FilletJob, WritesWhatFilletDrawingWritesWhateverTheChunks) {
  const std::string vertex_list =
      VertexList({"B0", "B1", "B2", "B3", "B4", "B9"});
  const std::string drawings[] = {
      File(kSlot + Lightweight(kSquare, 1, "2F") + kNarrow, "100", "AC1015"),
      File(kNarrow + vertex_list + kSlot, "100", "AC1009") + "after the end",
      File(Lightweight({{0, 0}, {100, 0}, {100, 3}}, 0, "A2") + vertex_list, "30"),
  };
  Settings joining = Joining(1.5);
  joining.close_gap = 4.0;
  for (const std::string& text : drawings) {
    for (const Settings& settings : {Settings{}, joining}) {
      const FilletRun whole = FilletDrawing(text, settings);
      ASSERT_EQ(whole.error, "");
      std::vector<std::string> expected;
      for (size_t k = 0, r = 0; k < whole.outlines.size(); ++k) {
        // The prose of an outline comes before its record.
        while (r < whole.reports.size() &&
               whole.reports[r].find("(line " + std::to_string(whole.outlines[k].line) +
                                     ")") != std::string::npos) {
          expected.push_back(whole.reports[r++]);
        }
        expected.push_back(ReportLine(whole.outlines[k]));
      }
      for (size_t chunk : {1, 5, 64}) {
        SCOPED_TRACE(chunk);
        testing::TrickleSource source(text, 3);
        // Small chunks plan twice, as for a drawing read twice; large ones
        // keep the survey's plans, as for one held in memory.
        FilletJob job(settings, chunk, chunk == 64);
        ASSERT_TRUE(job.Survey(source));
        testing::TrickleSource again(text, 3);
        StringSink out;
        Listing listing;
        const FilletRun run = job.Write(again, &out, listing);
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(out.text, whole.output);
        EXPECT_EQ(listing.lines, expected);
        EXPECT_EQ(run.rewritten, whole.rewritten);
        EXPECT_EQ(run.joined_polylines, whole.joined_polylines);
      }
    }
  }
}

}  // namespace
}  // namespace dxf
