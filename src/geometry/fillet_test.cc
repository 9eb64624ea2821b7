#include "geometry/r_rensen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "state/test_support.h"

namespace {

struct P {
  double x, y;
};

/// Runs the builder on `points` (numbered from 1) in a fresh state.
struct Build : MemoryState {
  Build(const std::vector<P>& points, double men = 5.0, int level = 0) {
    s.Men = men;
    s.isTest = level;
    for (size_t k = 0; k < points.size(); ++k) {
      if (k + 1 <= 19) {
        s.PX[k + 1] = points[k].x;
        s.PY[k + 1] = points[k].y;
      }
    }
    s.iPOINTcnt = static_cast<int32_t>(points.size());
    s.iPOINT = s.iPOINTcnt;
    result = R_RENSEN(s, &trace);
    fpw.Flush();
    out.Flush();
  }
  int result = -1;
  RensenTrace trace;
};

/// One output record: a line (4 numbers) or an arc (7 numbers).
struct Rec {
  bool arc;
  std::vector<double> v;
};

std::vector<Rec> Records(const std::string& output) {
  std::vector<Rec> recs;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    Rec r;
    if (line.rfind("ci ", 0) == 0) {
      r.arc = true;
      line = line.substr(3);
    } else if (line.rfind(" ", 0) == 0) {
      r.arc = false;
    } else {
      continue;
    }
    std::istringstream nums(line);
    double d;
    while (nums >> d) r.v.push_back(d);
    if ((r.arc && r.v.size() == 7) || (!r.arc && r.v.size() == 4)) {
      recs.push_back(r);
    }
  }
  return recs;
}

const double kPi = 3.141592653589793;

/// The two ends of an arc record: centre + r at tilt -/+ h.
void ArcEnds(const Rec& a, P* e1, P* e2) {
  double cx = a.v[0], cy = a.v[1], r = a.v[2];
  double from = (a.v[6] + a.v[3]) * kPi / 180, to = (a.v[6] + a.v[4]) * kPi / 180;
  *e1 = {cx + r * std::cos(from), cy + r * std::sin(from)};
  *e2 = {cx + r * std::cos(to), cy + r * std::sin(to)};
}

double Dist(P a, P b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(Builder, WorkedEdgeCases) {
  struct {
    const char* name;
    std::vector<P> points;
    double men;
    int result;
    size_t records;
    const char* first;  // first record, when given
  } cases[] = {
      {"open by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 10}}, 5, 0, 7, nullptr},
      {"closed by a hair", {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 9.99}}, 5, 0, 8,
       " 3.535533905933 0.000000000000 96.464466094067 0.000000000000 "},
      {"first side not tested", {{0, 0}, {8, 0}, {8, 100}}, 5, 0, 3,
       " 0.000000000000 0.000000000000 4.464466094067 0.000000000000 "},
      {"last side too short", {{0, 0}, {100, 0}, {100, 8}}, 5, 1, 0, nullptr},
      {"too sharp for its side", {{0, 0}, {5, 0}, {5, 100}}, 5, 2, 0, nullptr},
      {"two near points close onto themselves", {{0, 0}, {5, 0}}, 5, 1, 0, nullptr},
      {"two points: one line", {{0, 0}, {50, 0}}, 5, 0, 1,
       " 0.000000000000 0.000000000000 50.000000000000 0.000000000000 "},
      {"one point", {{3, 4}}, 5, 1, 0, nullptr},
      {"no point", {}, 5, 1, 0, nullptr},
      {"no point, Men 0", {}, 0, 1, 0, nullptr},
      {"reversal", {{0, 100}, {0, 0}, {0, 100}}, 5, 2, 0, nullptr},
      {"reversal, Men 0", {{0, 100}, {0, 0}, {0, 100}}, 0, 3, 0, nullptr},
      {"Men 0: radius 0 at the corner", {{0, 0}, {100, 0}, {100, 100}}, 0, 0, 3,
       " 0.000000000000 0.000000000000 100.000000000000 0.000000000000 "},
      {"inf point", {{0, 0}, {std::numeric_limits<double>::infinity(), 0}, {100, 100}}, 5, 1, 0, nullptr},
      {"nan point", {{0, 0}, {100, 0}, {std::nan(""), 100}}, 5, 1, 0, nullptr},
      {"differences overflow", {{-1e308, 0}, {1e308, 0}, {1e308, 1e308}}, 5, 1, 0, nullptr},
      {"twenty points", std::vector<P>(20, P{0, 0}), 5, 1, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Build b(c.points, c.men);
    EXPECT_EQ(b.result, c.result);
    std::vector<Rec> recs = Records(b.output);
    EXPECT_EQ(recs.size(), c.records);
    if (c.first != nullptr) {
      EXPECT_EQ(b.output.substr(0, b.output.find('\r')), c.first);
    }
    EXPECT_EQ(b.output.find("nan"), std::string::npos);
    EXPECT_EQ(b.output.find("inf"), std::string::npos);
  }
  Build zero({{0, 0}, {100, 0}, {100, 100}}, 0);
  EXPECT_EQ(Records(zero.output)[1].v[2], 0.0);
}

TEST(Builder, GuardRefusesBeforeAnythingIsPrinted) {
  for (int last : {20, -1}) {
    MemoryState m;
    m.s.isTest = 1;
    m.s.iPOINTcnt = 3;
    m.s.iPOINT = last;
    EXPECT_EQ(R_RENSEN(m.s), 1);
    m.out.Flush();
    EXPECT_EQ(m.console, "");
  }
}

TEST(Builder, ClosingNineteenPointsTouchesNoOtherField) {
  std::vector<P> pts;
  for (int k = 0; k < 18; ++k) {
    double a = 2 * kPi * k / 18;
    pts.push_back({100 * std::cos(a), 100 * std::sin(a)});
  }
  pts.push_back(pts[0]);
  Build b(pts);
  EXPECT_EQ(b.result, 0);
  EXPECT_EQ(b.s.PX[20], b.s.PX[2]);
  EXPECT_EQ(b.s.iPOINT, 19);
  EXPECT_EQ(b.s.iPOINTcnt, 19);
  EXPECT_EQ(b.s.KX[0], 0.0);
  EXPECT_EQ(Records(b.output).size(), 36u);
}

TEST(Builder, LevelTwoMarkersOfAChordCorner) {
  Build b({{0, 0}, {100, 0}, {200, 5}}, 5, 2);
  const std::string markers =
      "ch 97.5 0.0 3,0,\"0.0,-1.4,1.4,0.0 k0(1.4)\r\n"
      "ci 97.499219846767 0.000000000000 0.000000000000 \r\n";
  EXPECT_EQ(b.output.substr(0, markers.size()), markers);
  // After an arc corner a chord corner shows that arc's radius.
  Build after({{0, 0}, {100, 0}, {100, 100}, {105, 200}}, 5, 2);
  EXPECT_NE(after.output.find("3,0,\"3.5,-1.4,1.4,"), std::string::npos);
}

/// Checks the geometric promises of one written outline against the points.
void CheckOutline(const Build& b, const std::vector<P>& points, bool closed,
                  double men) {
  const double tol = 1e-7;
  std::vector<Rec> recs = Records(b.output);
  size_t n = points.size();
  size_t corners = closed ? n - 1 : n - 2;
  ASSERT_EQ(recs.size(), closed ? 2 * corners : 2 * n - 3);

  // Continuity: each record starts where the one before ended; an arc may
  // run either way round, so its two ends are matched as a pair.
  P end = closed ? P{recs[0].v[0], recs[0].v[1]} : points[0];
  for (size_t k = 0; k < recs.size(); ++k) {
    const Rec& r = recs[k];
    if (r.arc) {
      P e1, e2;
      ArcEnds(r, &e1, &e2);
      ASSERT_TRUE(Dist(end, e1) < tol || Dist(end, e2) < tol) << k;
      end = Dist(end, e1) < tol ? e2 : e1;
    } else {
      ASSERT_LT(Dist(end, {r.v[0], r.v[1]}), tol) << k;
      end = {r.v[2], r.v[3]};
    }
  }
  P finish = closed ? P{recs[0].v[0], recs[0].v[1]} : points[n - 1];
  EXPECT_LT(Dist(end, finish), tol);

  // Every corner: tangent points Men apart and on their sides; an arc is
  // tangent to both sides with its centre on the inner side; a chord corner
  // turns by at most 10 degrees.
  std::vector<P> ring(points);
  if (closed) ring.back() = points[0], ring.push_back(points[1]);
  for (size_t v = 2; v + 1 <= ring.size(); ++v) {
    const CornerRec& c = b.trace.corners[v];
    P a = ring[v - 2], p = ring[v - 1], q = ring[v];
    P t1{c.t1x, c.t1y}, t2{c.t2x, c.t2y};
    EXPECT_NEAR(Dist(t1, t2), men, tol);
    auto cross = [](P o, P u, P w) {
      return (u.x - o.x) * (w.y - o.y) - (u.y - o.y) * (w.x - o.x);
    };
    EXPECT_NEAR(cross(a, p, t1) / Dist(a, p), 0, tol);
    EXPECT_NEAR(cross(p, q, t2) / Dist(p, q), 0, tol);
    double turn = std::atan2(cross(a, p, q) / Dist(a, p) / Dist(p, q),
                             ((p.x - a.x) * (q.x - p.x) + (p.y - a.y) * (q.y - p.y)) /
                                 Dist(a, p) / Dist(p, q));
    if (c.isArc == 1) {
      P centre{c.cx, c.cy};
      EXPECT_NEAR(std::fabs(cross(a, p, centre)) / Dist(a, p), c.r, tol);
      EXPECT_NEAR(std::fabs(cross(p, q, centre)) / Dist(p, q), c.r, tol);
      EXPECT_NEAR(Dist(centre, t1), c.r, tol);
      EXPECT_NEAR(Dist(centre, t2), c.r, tol);
      // Inner side: the centre lies to the left of a left turn.
      EXPECT_GT(cross(a, p, centre) * turn, 0);
      EXPECT_GT(std::fabs(turn), 10 * kPi / 180 - 1e-12);
    } else {
      EXPECT_LE(std::fabs(turn), 10 * kPi / 180 + 1e-12);
    }
  }
}

TEST(Builder, PropertiesOfGeneratedOutlines) {
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int drawn_open = 0, drawn_closed = 0, refused = 0;
  for (int trial = 0; trial < 600; ++trial) {
    bool closed = trial % 2 == 1;
    double men = 0.5 + 15 * unit(rng);
    int n = 3 + static_cast<int>(unit(rng) * (closed ? 15 : 16));
    std::vector<P> pts;
    if (closed) {
      // A star-shaped ring around the origin, closed onto its first point.
      for (int k = 0; k < n - 1; ++k) {
        double a = 2 * kPi * (k + 0.8 * unit(rng)) / (n - 1);
        double r = 200 + 300 * unit(rng);
        pts.push_back({r * std::cos(a), r * std::sin(a)});
      }
      pts.push_back(pts[0]);
    } else {
      // A walk whose turns are mostly arcs, some flat enough for chords.
      double dir = 2 * kPi * unit(rng);
      P at{1000 * unit(rng) - 500, 1000 * unit(rng) - 500};
      pts.push_back(at);
      for (int k = 1; k < n; ++k) {
        double turn = unit(rng) < 0.3 ? (unit(rng) - 0.5) * 20 * kPi / 180
                                      : (unit(rng) - 0.5) * 300 * kPi / 180;
        if (k > 1) dir += turn;
        double len = 20 + 400 * unit(rng);
        at = {at.x + len * std::cos(dir), at.y + len * std::sin(dir)};
        pts.push_back(at);
      }
    }
    Build b(pts, men);
    if (b.result != 0) {
      ++refused;
      EXPECT_TRUE(Records(b.output).empty()) << "refused outline wrote records";
      continue;
    }
    bool really_closed = Dist(pts.front(), pts.back()) < 2 * men;
    SCOPED_TRACE(trial);
    CheckOutline(b, pts, really_closed, men);
    (really_closed ? drawn_closed : drawn_open) += 1;
  }
  EXPECT_GT(drawn_open, 100);
  EXPECT_GT(drawn_closed, 100);
  EXPECT_GT(refused, 10);
}

}  // namespace
