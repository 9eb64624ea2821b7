#include "writer/emitters.h"

#include <initializer_list>

namespace writer::emit {
namespace {

/// Writes `key`, then each value with `decimals` decimals, each behind one
/// blank, then `tail` (the end of the format).
void Record(platform::OutStream& o, const char* key,
            std::initializer_list<double> v, int decimals, const char* tail) {
  o.Str(key);
  bool first = true;
  for (double x : v) {
    if (!first) o.Chr(' ');
    first = false;
    o.Fixed(x, decimals);
  }
  o.Str(tail);
}

}  // namespace

void Line(platform::OutStream& out, double x1, double y1, double x2,
          double y2) {
  Record(out, " ", {x1, y1, x2, y2}, 12, " \n");
}

void Arc(platform::OutStream& out, double cx, double cy, double r,
         double start, double end, double sixth, double tilt) {
  Record(out, "ci ", {cx, cy, r, start, end, sixth, tilt}, 12, " \n");
}

void Circle(platform::OutStream& out, double cx, double cy, double r) {
  Record(out, "ci ", {cx, cy, r}, 12, " \n");
}

}  // namespace writer::emit
