#include "dxf/join.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "geometry/angles.h"
#include "geometry/test_geometry.h"

namespace dxf {
namespace {

Piece Line(double x1, double y1, double x2, double y2) {
  Piece p;
  p.kind = PieceKind::kLine;
  p.start = {x1, y1};
  p.end = {x2, y2};
  return p;
}

Piece Arc(double cx, double cy, double radius, double from, double to) {
  Piece p;
  p.kind = PieceKind::kArc;
  p.start = {cx, cy};
  p.radius = radius;
  p.start_angle = from;
  p.end_angle = to;
  return p;
}

/// The chains as text: each chain's pieces in order, "r" after a reversed
/// one, "*" after a closed chain, chains apart by " | ".
std::string Describe(const std::vector<Chain>& chains) {
  std::string text;
  for (const Chain& c : chains) {
    if (!text.empty()) text += " | ";
    for (size_t k = 0; k < c.links.size(); ++k) {
      text += (k ? " " : "") + std::to_string(c.links[k].piece) +
              (c.links[k].reversed ? "r" : "");
    }
    if (c.closed) text += "*";
  }
  return text;
}

/// `p` (by default a line on from (1, 0)) changed by `change`.
Piece With(void (*change)(Piece&), Piece p = Line(1, 0, 2, 0)) {
  change(p);
  return p;
}

TEST(ChainPieces, FollowsTheEndsThatMeet) {
  const Piece a = Line(0, 0, 1, 0);
  struct {
    const char* name;
    std::vector<Piece> pieces;
    const char* chains;
    double gap = kDefaultJoinGap;
  } cases[] = {
      {"open, in order", {a, Line(1, 0, 1, 1), Line(1, 1, 0, 1)}, "0 1 2"},
      {"a reversed piece", {a, Line(1, 1, 1, 0), Line(1, 1, 0, 1)}, "0 1r 2"},
      {"first in the file in the middle",
       {Line(1, 0, 1, 1), Line(1, 1, 0, 1), a}, "2 0 1"},
      {"closed, shuffled",
       {Line(1, 1, 1, 0), a, Line(0, 1, 0, 0), Line(0, 1, 1, 1)},
       "0 1r 2r 3*"},
      {"two arcs make a circle", {Arc(0, 0, 1, 0, 180), Arc(0, 0, 1, 180, 0)},
       "0 1*"},
      {"three ends meet: the chain stops",
       {a, Line(1, 0, 2, 0), Line(1, 0, 1, 1), Line(2, 0, 3, 0)}, "1 3"},
      {"four ends meet", {a, Line(1, 0, 2, 0), Line(1, 0, 1, 1),
                          Line(1, 0, 1, -1)}, ""},
      {"a piece alone stays", {a, Line(5, 5, 6, 6)}, ""},
      {"layers differ", {a, With([](Piece& p) { p.attributes.layer = "walls"; })}, ""},
      {"layers differ in case only",
       {With([](Piece& p) { p.attributes.layer = "Walls"; }, a),
        With([](Piece& p) { p.attributes.layer = "WALLS"; })}, "0 1"},
      {"line types differ", {a, With([](Piece& p) { p.attributes.line_type = "DASHED"; })}, ""},
      {"no line type is BYLAYER",
       {a, With([](Piece& p) { p.attributes.line_type = "ByLayer"; })}, "0 1"},
      {"colours differ", {a, With([](Piece& p) { p.attributes.colour = 1; })}, ""},
      {"line weights differ", {a, With([](Piece& p) { p.attributes.line_weight = 50; })}, ""},
      {"an unjoinable piece is passed over",
       {a, With([](Piece& p) { p.unjoinable_reason = "its extrusion is not (0, 0, 1)"; }),
        Line(1, 0, 1, 1)}, "0 2"},
      {"a piece shorter than the gap is passed over",
       {a, Line(1, 0, 1, 1e-7), Line(1, 1e-7, 1, 1)}, "0 2"},
      {"chains in the order of their first piece",
       {Line(5, 0, 6, 0), a, Line(6, 0, 7, 0), Line(1, 0, 2, 0)}, "0 2 | 1 3"},
      // Gaps and offsets in binary fractions, so that the distances are exact.
      {"ends that meet, gap 0.25", {a, Line(1, 0, 3, 3)}, "0 1", 0.25},
      {"ends the gap apart", {a, Line(1.25, 0, 3, 3)}, "0 1", 0.25},
      {"ends just over the gap apart", {a, Line(std::nextafter(1.25, 2.0), 0, 3, 3)}, "", 0.25},
      // 0.375^2 + 0.5^2 = 0.625^2
      {"ends the gap apart aslant", {a, Line(1.375, 0.5, 3, 3)}, "0 1", 0.625},
      {"ends just over it aslant", {a, Line(1.375, std::nextafter(0.5, 1.0), 3, 3)}, "", 0.625},
      {"ends that meet, gap 0", {a, Line(1, 0, 3, 3)}, "0 1", 0.0},
      {"ends just apart, gap 0", {a, Line(std::nextafter(1.0, 2.0), 0, 3, 3)}, "", 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(ChainPieces(c.pieces, c.gap)), c.chains) << c.name;
  }
}

TEST(ChainPieces, AVertexIsALinesEndOrTheEarlierPiecesEnd) {
  const double off = 1e-7;  // within the default gap
  struct {
    const char* name;
    std::vector<Piece> pieces;
    rrensen::Point vertex;  // vertex 1, where the two pieces meet
  } cases[] = {
      {"the earlier line", {Line(0, 0, 1, 0), Line(1 + off, 0, 2, 0)}, {1, 0}},
      {"the earlier line, second in the chain",
       {Line(1 + off, 0, 2, 0), Line(0, 0, 1, 0)}, {1 + off, 0}},
      {"a line before an arc",
       {Arc(0, 0, 1, 0, 90), Line(off, 1, -5, 1)}, {off, 1}},
  };
  for (const auto& c : cases) {
    const std::vector<Chain> chains = ChainPieces(c.pieces, kDefaultJoinGap);
    ASSERT_EQ(chains.size(), 1u) << c.name;
    EXPECT_EQ(chains[0].vertices[1].point.x, c.vertex.x) << c.name;
    EXPECT_EQ(chains[0].vertices[1].point.y, c.vertex.y) << c.name;
  }
}

TEST(PieceGeometry, ArcEndsAtQuarterTurnsAreExact) {
  const PieceGeometry g = GeometryOf(Arc(10, 20, 5, 90, -90));
  EXPECT_EQ(g.start.x, 10.0);
  EXPECT_EQ(g.start.y, 25.0);
  EXPECT_EQ(g.end.x, 10.0);
  EXPECT_EQ(g.end.y, 15.0);
  EXPECT_EQ(g.bulge, 1.0);  // a half turn: tan 45 degrees, exactly
  // About the origin, where a rounding error in a 0 would show: 180 and 270
  // degrees.
  const PieceGeometry quarter = GeometryOf(Arc(0, 0, 5, 180, 270));
  EXPECT_TRUE(quarter.start.x == -5.0 && quarter.start.y == 0.0);
  EXPECT_TRUE(quarter.end.x == 0.0 && quarter.end.y == -5.0);
  // Counter-clockwise across 0 degrees: a sweep of 20, a positive bulge.
  EXPECT_NEAR(GeometryOf(Arc(0, 0, 1, 350, 10)).bulge,
              std::tan(geometry::Radians(5.0)), 1e-16);
}

TEST(PieceGeometry, TellsWhichPiecesCannotBeChained) {
  struct {
    Piece piece;
    const char* reason;  // "" when it can
  } cases[] = {
      {Line(0, 0, 1, 0), ""},
      {Line(0, 0, 0, 1e-6), "within the gap"},
      {Arc(0, 0, 1, 30, 30), "within the gap"},
      {Arc(0, 0, 0, 0, 90), "radius"},
      {Arc(1e308, 0, 1e308, 0, 45), "out of range"},
      {Line(0, 0, HUGE_VAL, 0), "out of range"},
  };
  for (const auto& c : cases) {
    const std::string reason = UnjoinableReason(c.piece, kDefaultJoinGap);
    EXPECT_EQ(reason.empty(), *c.reason == '\0') << reason;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

/// A random outline: `count` segments through points in a 100-unit square
/// at `origin`, each straight or an arc of a sweep between 10 and 300
/// degrees either way, drawn as LINE and ARC pieces in `pieces`.
std::vector<Piece> RandomOutline(std::mt19937& random, rrensen::Point origin,
                                 int count, bool closed) {
  std::uniform_real_distribution<double> coordinate(0.0, 100.0);
  std::uniform_real_distribution<double> sweep(10.0, 300.0);
  std::vector<rrensen::Point> points;
  for (int k = 0; k <= count; ++k) {
    points.push_back({origin.x + coordinate(random),
                      origin.y + coordinate(random)});
  }
  if (closed) points.back() = points.front();
  std::vector<Piece> pieces;
  for (int k = 0; k < count; ++k) {
    rrensen::Point p = points[k];
    rrensen::Point q = points[k + 1];
    if (random() % 2 == 0) {
      pieces.push_back(Line(p.x, p.y, q.x, q.y));
      continue;
    }
    // An ARC runs counter-clockwise: a clockwise one is drawn from q to p.
    if (random() % 2 == 0) std::swap(p, q);
    const double turn = geometry::Radians(sweep(random));
    const double dx = q.x - p.x;
    const double dy = q.y - p.y;
    const double half_chord = std::hypot(dx, dy) / 2;
    const double radius = half_chord / std::sin(turn / 2);
    // The centre lies left of the chord, at the radius times cos(turn / 2).
    const double offset = radius * std::cos(turn / 2) / (2 * half_chord);
    const rrensen::Point c{(p.x + q.x) / 2 - dy * offset,
                           (p.y + q.y) / 2 + dx * offset};
    pieces.push_back(Arc(c.x, c.y, radius,
                         geometry::Degrees(std::atan2(p.y - c.y, p.x - c.x)),
                         geometry::Degrees(std::atan2(q.y - c.y, q.x - c.x))));
  }
  return pieces;
}

TEST(ChainPieces, ChainsReproduceEveryPiece) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 50; ++round) {
    // Outlines far apart, their pieces shuffled together; some reversed.
    std::vector<Piece> pieces;
    std::vector<int> outline_of;
    const int outlines = 1 + static_cast<int>(random() % 4);
    for (int o = 0; o < outlines; ++o) {
      const bool closed = random() % 2 == 0;
      const int count = 2 + static_cast<int>(random() % 8);
      for (Piece& p : RandomOutline(random, {1000.0 * o, 0.0}, count, closed)) {
        if (p.kind == PieceKind::kLine && random() % 2 == 0) {
          std::swap(p.start, p.end);
        }
        pieces.push_back(p);
        outline_of.push_back(o);
      }
    }
    std::vector<size_t> order(pieces.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::vector<Piece> shuffled;
    for (size_t i : order) shuffled.push_back(pieces[i]);

    const std::vector<Chain> chains = ChainPieces(shuffled, kDefaultJoinGap);
    ASSERT_EQ(chains.size(), static_cast<size_t>(outlines)) << round;
    for (size_t n = 0; n < chains.size(); ++n) {
      const Chain& chain = chains[n];
      const size_t m = chain.links.size();
      ASSERT_EQ(chain.vertices.size(), chain.closed ? m : m + 1);
      size_t earliest = shuffled.size();
      for (size_t k = 0; k < m; ++k) {
        const ChainLink& l = chain.links[k];
        earliest = std::min(earliest, l.piece);
        const PieceGeometry g = GeometryOf(shuffled[l.piece]);
        const rrensen::Point& from = l.reversed ? g.end : g.start;
        const rrensen::Point& to = l.reversed ? g.start : g.end;
        EXPECT_LE(test_geometry::Dist(chain.vertices[k].point, from), kDefaultJoinGap);
        EXPECT_LE(test_geometry::Dist(chain.vertices[(k + 1) % chain.vertices.size()].point, to),
                  kDefaultJoinGap);
        EXPECT_EQ(chain.vertices[k].bulge, l.reversed ? -g.bulge : g.bulge);
        const Piece& piece = shuffled[l.piece];
        if (piece.kind == PieceKind::kArc) {
          double sweep = std::fmod(piece.end_angle - piece.start_angle, 360.0);
          if (sweep < 0) sweep += 360.0;
          EXPECT_NEAR(geometry::Degrees(4 * std::atan(std::fabs(
                          chain.vertices[k].bulge))), sweep, 1e-9);
        }
        EXPECT_EQ(outline_of[order[l.piece]], outline_of[order[chain.links[0].piece]]);
      }
      // In order of the first piece, which runs forward.
      EXPECT_EQ(chain.first_piece, earliest);
      if (n > 0) {
        EXPECT_GT(chain.first_piece, chains[n - 1].first_piece);
      }
      for (const ChainLink& l : chain.links) {
        EXPECT_TRUE(l.piece != earliest || !l.reversed);
      }
      EXPECT_TRUE(!chain.closed || chain.links[0].piece == earliest);
    }
  }
}

TEST(ChainFormFor, LightweightWhereTheVersionHasIt) {
  EXPECT_EQ(ChainFormFor(""), ChainForm::kVertexList);
  EXPECT_EQ(ChainFormFor("AC1006"), ChainForm::kVertexList);
  EXPECT_EQ(ChainFormFor("AC1009"), ChainForm::kVertexList);
  EXPECT_EQ(ChainFormFor("AC1012"), std::nullopt);
  EXPECT_EQ(ChainFormFor("AC1014"), ChainForm::kLightweight);
  EXPECT_EQ(ChainFormFor(" AC1032 "), ChainForm::kLightweight);
  EXPECT_EQ(ChainFormFor("R12"), std::nullopt);
}

}  // namespace
}  // namespace dxf
