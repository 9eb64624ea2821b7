#ifndef RRENSEN_GEOMETRY_R_RENSEN_H_
#define RRENSEN_GEOMETRY_R_RENSEN_H_

#include "state/drawing_state.h"

/// One rounded corner of the outline, at the point it is indexed by.
struct CornerRec {
  int isArc = 0;            ///< 1 arc corner, 0 chord corner
  double t1x = 0, t1y = 0;  ///< tangent point on the incoming side
  double t2x = 0, t2y = 0;  ///< tangent point on the outgoing side
  double cx = 0, cy = 0;    ///< arc centre
  double r = 0;             ///< arc radius (absolute value)
  double h = 0;             ///< half the arc's sweep, degrees, 0..90
  double tilt = 0;          ///< direction centre -> corner point, degrees
};

/// Builder results.
enum : int {
  kRensenOk = 0,        ///< outline written
  kRensenTooClose = 1,  ///< too many points, sides too short, not finite
  kRensenTooSharp = 2,  ///< a corner turns too sharply for its sides
  kRensenReversal = 3,  ///< an arc corner with k0 exactly pi/2
};

/// Why and where a call of R_RENSEN stopped, for callers that explain the
/// outcome (the preview); the tool itself passes none.
struct RensenTrace {
  enum Failure {
    kNone,           ///< the outline was written
    kTooManyPoints,  ///< guard: more than 19 points, or a last number out of
                     ///< range
    kNoCorner,       ///< fewer than three points after the closing step
    kNotFinite,      ///< point or corner `where` has a value that is not finite
    kShortSide,      ///< side `where`..`where`+1 is `have` long, needs `need`
    kSharpCorner,    ///< corner `where`: a side is `have` long, needs `need`
    kReversal,       ///< corner `where` turns back exactly, with an arc
  };
  Failure failure = kNone;
  int where = 0;
  double need = 0.0;
  double have = 0.0;
  int Ccnt = 0;           ///< working number of points after the closing step
  bool isClosed = false;  ///< whether the closing step closed the outline
  CornerRec corners[21];  ///< entries 2 .. Ccnt-1, as far as the pass went
};

/// Distance between two points.
double LengSen(double x1, double y1, double x2, double y2);

/// Turns the indicated points PX/PY[1..iPOINTcnt] into one polyline whose
/// corners are cut back so that their two tangent points lie Men apart, and
/// writes it to s.fpw as line and arc records. All or nothing: every side and
/// corner is tested before the first line or arc record is written.
///
/// When `trace` is given, it receives the corner table and where and why the
/// call stopped.
int R_RENSEN(DrawingState& s, RensenTrace* trace = nullptr);

#endif  // RRENSEN_GEOMETRY_R_RENSEN_H_
