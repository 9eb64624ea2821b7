#include "dxf/drawing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include "dxf/test_support.h"

namespace dxf {
namespace {

using testing::File;

/// A file read: its tags point into its text, kept with them.
struct Read {
  explicit Read(std::string bytes, DrawingPieces pieces = DrawingPieces::kSkip)
      : text(std::move(bytes)), list(ReadTags(text)), d(ReadDrawing(list, pieces)) {
    EXPECT_EQ(list.error, "");
  }
  std::string text;
  TagList list;
  Drawing d;
};

const char kLightweight[] =
    "0\nLWPOLYLINE\n5\n2F\n8\nwalls\n90\n3\n70\n1\n"
    "10\n0\n20\n0\n10\n10\n20\n0\n10\n10\n20\n10\n"
    "1001\nAPP\n1010\n99\n1020\n99\n";

TEST(Drawing, ReadsALightweightPolyline) {
  const Read r(File(kLightweight, "30"));
  const auto& [text, list, d] = r;
  ASSERT_EQ(d.error, "");
  ASSERT_EQ(d.polylines.size(), 1u);
  const Polyline& p = d.polylines[0];
  EXPECT_EQ(p.form, PolylineForm::kLightweight);
  EXPECT_EQ(p.handle, "2F");
  EXPECT_EQ(p.layer, "walls");
  EXPECT_TRUE(p.closed);
  ASSERT_EQ(p.vertices.size(), 3u);  // the extended data's points are not
  EXPECT_EQ(p.vertices[2].point.x, 10.0);
  EXPECT_EQ(p.vertices[2].point.y, 10.0);
  // Each vertex's tags start at its group code 10.
  ASSERT_EQ(p.vertex_tags.size(), 3u);
  EXPECT_EQ(list.tags[p.vertex_tags[1]].code, 10);
  EXPECT_EQ(list.tags[p.vertex_tags[1]].value, "10");
  EXPECT_EQ(list.tags[p.first_tag].value, "LWPOLYLINE");
  EXPECT_EQ(list.tags[p.end_tag].value, "ENDSEC");
  EXPECT_TRUE(d.has_handle_seed);
  EXPECT_EQ(d.next_free_handle, 0x30u);
}

TEST(Drawing, ReadsTheVertexListForm) {
  const Read r(File("0\nPOLYLINE\n5\nA\n8\nx\n66\n1\n10\n0\n20\n0\n"
                        "0\nVERTEX\n5\nB\n42\n0.25\n10\n1\n20\n2\n"
                        "0\nVERTEX\n10\n3\n20\n4\n"
                        "0\nSEQEND\n5\nC\n0\nLINE\n5\n40\n"));
  const auto& [text, list, d] = r;
  ASSERT_EQ(d.error, "");
  ASSERT_EQ(d.polylines.size(), 1u);
  const Polyline& p = d.polylines[0];
  EXPECT_EQ(p.form, PolylineForm::kVertexList);
  EXPECT_FALSE(p.has_flags);
  EXPECT_EQ(p.vertex_handles, (std::vector<std::string>{"B", ""}));
  ASSERT_EQ(p.vertices.size(), 2u);
  EXPECT_EQ(p.vertices[1].point.y, 4.0);
  // A VERTEX's bulge is its own wherever it stands among its tags.
  EXPECT_EQ(p.vertices[0].bulge, 0.25);
  EXPECT_EQ(p.vertices[1].bulge, 0.0);
  EXPECT_EQ(list.tags[p.seqend_tag].value, "SEQEND");
  EXPECT_EQ(list.tags[p.end_tag].value, "LINE");
  // No $HANDSEED: the largest handle in use decides.
  EXPECT_FALSE(d.has_handle_seed);
  EXPECT_EQ(d.next_free_handle, 0x41u);
}

TEST(Drawing, TellsWhichPolylinesCannotBeFilleted) {
  const std::string vertex = "0\nVERTEX\n10\n0\n20\n0\n";
  struct {
    const char* name;
    std::string entity;
    const char* code;  // "" for a fit one
    bool not_2d;
  } cases[] = {
      {"lines only", "0\nLWPOLYLINE\n10\n0\n20\n0\n42\n0\n10\n1\n20\n0\n", "",
       false},
      // Arcs are kept and the straight runs between them filleted.
      {"bulge", "0\nLWPOLYLINE\n10\n0\n20\n0\n42\n0.5\n10\n1\n20\n0\n", "",
       false},
      {"width", "0\nLWPOLYLINE\n10\n0\n20\n0\n40\n2\n", "widths", false},
      {"constant width", "0\nLWPOLYLINE\n43\n2\n10\n0\n20\n0\n", "", false},
      {"curve fit", "0\nPOLYLINE\n70\n2\n" + vertex + "0\nSEQEND\n",
       "curve_fit", false},
      {"fit vertex", "0\nPOLYLINE\n" + vertex + "70\n1\n0\nSEQEND\n",
       "curve_fit", false},
      {"vertex without point", "0\nPOLYLINE\n0\nVERTEX\n8\n0\n0\nSEQEND\n",
       "vertex_without_point", false},
      {"3-D", "0\nPOLYLINE\n70\n8\n" + vertex + "0\nSEQEND\n", "", true},
      {"mesh", "0\nPOLYLINE\n70\n16\n" + vertex + "0\nSEQEND\n", "", true},
      {"polyface", "0\nPOLYLINE\n70\n64\n" + vertex + "0\nSEQEND\n", "", true},
  };
  for (const auto& c : cases) {
    const Drawing d = Read(File(c.entity)).d;
    ASSERT_EQ(d.polylines.size(), 1u) << c.name;
    const Unfit unfit = UnfitOf(d.polylines[0]);
    EXPECT_EQ(unfit.code, c.code) << c.name;
    EXPECT_EQ(unfit.reason.empty(), *c.code == '\0') << c.name;
    EXPECT_EQ(IsTwoDimensional(d.polylines[0]), !c.not_2d) << c.name;
  }
}

TEST(Drawing, LeavesBlockDefinitionsAlone) {
  const Read r("0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\n_ARROW\n" +
                       std::string(kLightweight) +
                       "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n"
               "0\nENDBLK\n0\nENDSEC\n" + File(""));
  EXPECT_EQ(r.d.error, "");
  EXPECT_TRUE(r.d.polylines.empty());
  EXPECT_TRUE(ReadDrawing(r.list, DrawingPieces::kRead).pieces.empty());
}

/// A piece's fields as text, to compare with what a test expects.
std::string Describe(const Piece& p) {
  const PieceAttributes& a = p.attributes;
  std::ostringstream text;
  text << (p.kind == PieceKind::kLine ? "line " : "arc ") << p.handle << " "
       << a.owner << " " << a.layer << " " << a.line_type << " " << a.colour
       << " " << a.line_weight << " " << a.line_type_scale << " "
       << a.true_colour << " (" << p.start.x << " " << p.start.y << ") ("
       << p.end.x << " " << p.end.y << ") " << p.radius << " "
       << p.start_angle << " " << p.end_angle << p.unjoinable_reason;
  return text.str();
}

TEST(Drawing, ReadsLinesAndArcsWhenAsked) {
  const std::string entities =
      "0\nLINE\n5\n1A\n330\n1F\n100\nAcDbEntity\n67\n0\n8\nwalls\n6\nDASHED\n"
      "62\n3\n370\n25\n48\n2.5\n420\n255\n100\nAcDbLine\n"
      "10\n1\n20\n2\n30\n0\n11\n3\n21\n4\n31\n0\n"
      "0\nARC\n10\n5\n20\n6\n40\n7\n50\n30\n51\n-90\n"
      "210\n0\n220\n0\n230\n1\n"
      "0\nARC\n67\n1\n10\n0\n20\n0\n40\n1\n50\n0\n51\n90\n"  // paper space
      "0\nCIRCLE\n10\n0\n20\n0\n40\n1\n";
  const Drawing versioned = Read(File(entities, "", "AC1015")).d;
  EXPECT_EQ(versioned.version, "AC1015");
  EXPECT_TRUE(versioned.pieces.empty());  // not asked for
  const Read r(File(entities), DrawingPieces::kRead);
  const Drawing& d = r.d;
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.version, "");
  ASSERT_EQ(d.pieces.size(), 2u);
  EXPECT_EQ(Describe(d.pieces[0]),
            "line 1A 1F walls DASHED 3 25 2.5 255 (1 2) (3 4) 0 0 0");
  EXPECT_EQ(Describe(d.pieces[1]), "arc   0  256 -1 1  (5 6) (0 0) 7 30 -90");
  EXPECT_EQ(r.list.tags[d.pieces[0].end_tag].value, "ARC");
}

TEST(Drawing, TellsWhichPiecesCannotBeJoined) {
  const std::string line = "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n";
  const std::string arc = "0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n90\n";
  struct {
    std::string entity;
    const char* reason;
  } cases[] = {
      {line + "39\n2\n", "thickness"},
      {line + "39\n0\n", ""},
      {arc + "230\n-1\n", "extrusion"},
      {line + "31\n5\n", "z = 0"},
      {arc + "30\n5\n", "z = 0"},
      {line + "1001\nAPP\n1000\nx\n", "application data"},
      {line + "102\n{ACAD_REACTORS\n330\n2A\n102\n}\n", "application data"},
      {line + "347\n2B\n", "group code 347"},
      {arc + "11\n1\n", "group code 11"},
      {"0\nLINE\n10\n0\n20\n0\n11\n1\n", "missing"},
      {"0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n", "missing"},
  };
  for (const auto& c : cases) {
    const Drawing d = Read(File(c.entity), DrawingPieces::kRead).d;
    ASSERT_EQ(d.pieces.size(), 1u) << c.entity;
    const std::string& reason = d.pieces[0].unjoinable_reason;
    EXPECT_EQ(reason.empty(), *c.reason == '\0') << c.entity << reason;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

TEST(Drawing, BadNumbersAndStructureNameTheLine) {
  // A line's or an arc's numbers are read, and found bad, only when the
  // pieces are asked for; a bad structure is found either way.
  struct {
    std::string text;
    bool in_pieces;
    int line;
    const char* words;
  } cases[] = {
      {File("0\nLINE\n10\n0\n20\nnorth\n"), true, 10, "group code 20 is not a number"},
      {File("0\nARC\n62\nred\n"), true, 8, "group code 62 is not a whole number"},
      {File("0\nARC\n67\npaper\n"), true, 8, "group code 67"},
      {"0\nLINE\n0\nEOF\n", false, 1, "expected '0 / SECTION'"},
      {"0\nSECTION\n8\nx\n", false, 1, "must start with its name"},
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n", false, 5, "ends inside the ENTITIES"},
      {File("0\nPOLYLINE\n0\nVERTEX\n10\n0\n20\n0\n0\nLINE\n"), false, 13,
       "must end with '0 / SEQEND'"},
      {File("0\nLWPOLYLINE\n10\n0\n20\nnorth\n"), false, 10, "group code 20"},
      {File("0\nLWPOLYLINE\n20\n0\n"), false, 7, "20 before any 10"},
      {File("0\nLWPOLYLINE\n70\nclosed\n"), false, 8, "not a whole number"},
      {File("", "XYZ"), false, 8, "$HANDSEED"},
  };
  for (const auto& c : cases) {
    const Drawing d = Read(c.text, DrawingPieces::kRead).d;
    EXPECT_EQ(d.error_line, c.line) << c.text;
    EXPECT_NE(d.error.find(c.words), std::string::npos) << d.error;
    EXPECT_EQ(Read(c.text).d.error.empty(), c.in_pieces) << c.text;
  }
}

}  // namespace
}  // namespace dxf
