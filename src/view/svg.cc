#include "svg.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "box.h"
#include "geometry/angles.h"
#include "platform/number_format.h"

namespace view {
namespace {


std::string Coord(double v) {
  char buf[platform::kNumberBufSize];
  std::string s(buf, platform::FormatFixed(buf, v, 6));
  // Trim trailing zeros to keep the file small; "-0" becomes "0".
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

/// The two ends of an arc in drawing units: at tilt + start and tilt + end.
void ArcEnd(const Drawing::Arc& a, double degrees, double* x, double* y) {
  geometry::PointAtDegrees(a.cx, a.cy, a.r, a.tilt + degrees, x, y);
}

/// A "nice" length (1, 2 or 5 times a power of ten) near a fifth of `span`.
double ScaleLength(double span) {
  double raw = span / 5;
  double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {5.0, 2.0, 1.0}) {
    if (m * p <= raw) return m * p;
  }
  return p;
}

class Writer {
 public:
  explicit Writer(std::string* out) : out_(out) {}
  // SVG's y axis points down: every y is negated on the way out.
  std::string X(double x) const { return Coord(x); }
  std::string Y(double y) const { return Coord(-y); }

  void Lines(const std::vector<Drawing::Line>& lines, const char* group) {
    *out_ += std::string("<g class=\"") + group + "\">\n";
    for (const auto& l : lines) {
      *out_ += "<line class=\"line\" x1=\"" + X(l.x1) + "\" y1=\"" + Y(l.y1) +
               "\" x2=\"" + X(l.x2) + "\" y2=\"" + Y(l.y2) + "\"/>\n";
    }
    *out_ += "</g>\n";
  }

  /// An arc runs counter-clockwise in drawing units from tilt + start to
  /// tilt + end; with y negated that is SVG's negative sweep direction.
  void Arc(const Drawing::Arc& a, const std::string& title) {
    double xs, ys, xe, ye;
    ArcEnd(a, a.start, &xs, &ys);
    ArcEnd(a, a.end, &xe, &ye);
    double sweep = std::fmod(a.end - a.start, 360.0);
    if (sweep < 0) sweep += 360.0;
    *out_ += "<path class=\"arc\" d=\"M " + X(xs) + " " + Y(ys) + " A " +
             Coord(a.r) + " " + Coord(a.r) + " 0 " + (sweep > 180 ? "1" : "0") +
             " 0 " + X(xe) + " " + Y(ye) + "\">";
    if (!title.empty()) *out_ += "<title>" + Escape(title) + "</title>";
    *out_ += "</path>\n";
  }

  void Circle(const Drawing::Circle& c) {
    *out_ += "<circle class=\"circle\" cx=\"" + X(c.cx) + "\" cy=\"" + Y(c.cy) +
             "\" r=\"" + Coord(c.r) + "\"/>\n";
  }

 private:
  std::string* out_;
};

}  // namespace

std::string Svg(const Preview& preview, const std::string& caption) {
  const std::vector<rrensen::Point>& points = preview.points;
  const Drawing& records = preview.records;
  // The outline as records: its lines and the arc record of each arc, the
  // corner of each arc kept for its title.
  const bool has_outline = preview.has_points();
  const bool drawn = has_outline && preview.result() == 0;
  // The tool's style, whose arcs come with the tool's arc records.
  const bool chord_style = preview.style == rrensen::CornerStyle::kChordArc;
  Drawing outline;
  std::vector<const rrensen::Corner*> arc_corners;
  if (drawn) {
    for (const rrensen::Segment& seg : preview.outline.segments) {
      if (seg.is_arc) {
        const size_t corner = static_cast<size_t>(seg.corner);
        const rrensen::Corner& c = preview.outline.corners[corner];
        // The tool's arc record where the filleting kept one (kChordArc),
        // else the arc as the segment describes it.
        outline.arcs.push_back(chord_style ? ArcOf(preview.trace.corners[corner])
                                           : ArcOf(seg));
        arc_corners.push_back(&c);
      } else {
        outline.lines.push_back({seg.start.x, seg.start.y, seg.end.x, seg.end.y});
      }
    }
  }
  Box box;
  for (const rrensen::Point& p : points) box.Add(p.x, p.y);
  auto add_drawing = [&box](const Drawing& d) {
    for (const auto& l : d.lines) {
      box.Add(l.x1, l.y1);
      box.Add(l.x2, l.y2);
    }
    for (const auto& a : d.arcs) {
      double x, y;
      ArcEnd(a, a.start, &x, &y);
      box.Add(x, y);
      ArcEnd(a, a.end, &x, &y);
      box.Add(x, y);
      ArcEnd(a, (a.start + a.end) / 2, &x, &y);
      box.Add(x, y);
    }
    for (const auto& c : d.circles) box.AddCircle(c.cx, c.cy, c.r);
  };
  add_drawing(records);
  add_drawing(outline);
  if (box.empty()) box.Add(0, 0);
  double span = std::max({box.x1 - box.x0, box.y1 - box.y0, 1e-6});
  // Keep the picture at least half as wide as it is tall and the other way
  // round, so that a thin drawing still has room for labels and the bar.
  double grow_x = std::max(0.0, span / 2 - (box.x1 - box.x0)) / 2;
  double grow_y = std::max(0.0, span / 2 - (box.y1 - box.y0)) / 2;
  box.x0 -= grow_x;
  box.x1 += grow_x;
  box.y0 -= grow_y;
  box.y1 += grow_y;
  double margin = 0.12 * span;
  double font = 0.035 * span;
  // The caption: what the picture shows, below the scale bar, so that the
  // picture explains itself without the console.
  const std::vector<std::string> caption_lines = Caption(preview);
  const double caption_font = 0.03 * span;
  const double caption_height =
      static_cast<double>(caption_lines.size()) * 1.4 * caption_font;
  double vx = box.x0 - margin, vy = -(box.y1 + margin);
  double vw = box.x1 - box.x0 + 2 * margin;
  double vh = box.y1 - box.y0 + 2 * margin + 2 * font + caption_height;

  std::string svg;
  Writer w(&svg);
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + Coord(vx) +
         " " + Coord(vy) + " " + Coord(vw) + " " + Coord(vh) +
         "\" width=\"640\" height=\"" + Coord(std::round(640 * vh / vw)) +
         "\">\n";
  svg += "<title>" + Escape(caption) + "</title>\n";
  // Stroke widths in drawing units, for 640 pixels across.
  const double px = vw / 640;
  auto width = [px](double pixels) { return Coord(pixels * px); };
  svg +=
      "<style>\n"
      "line, path, circle, polyline { fill: none; }\n"
      ".records line, .records path, .records circle { stroke: #999; "
      "stroke-width: " +
      width(1.5) +
      "; }\n"
      ".outline line { stroke: #0a58ca; stroke-width: " +
      width(2) +
      "; }\n"
      ".outline path { stroke: #d63384; stroke-width: " +
      width(2.5) +
      "; }\n"
      ".points circle { fill: #333; stroke: none; }\n"
      ".points text, .scale text { font-family: sans-serif; fill: #333; }\n"
      ".scale line { stroke: #333; stroke-width: " +
      width(1.5) +
      "; }\n"
      ".path { stroke: #888; stroke-width: " +
      width(1) + "; stroke-dasharray: " + width(4) + " " + width(3) +
      "; }\n"
      ".fillets circle { stroke: #d63384; fill: none; stroke-width: " +
      width(1) +
      "; }\n"
      ".caption text { font-family: sans-serif; fill: #333; }\n"
      ".failure { stroke: #dc3545; stroke-width: " +
      width(3) +
      "; }\n"
      "</style>\n";
  svg += "<rect x=\"" + Coord(vx) + "\" y=\"" + Coord(vy) + "\" width=\"" +
         Coord(vw) + "\" height=\"" + Coord(vh) + "\" fill=\"white\"/>\n";

  // The indicated path, thin and dashed, under everything else.
  if (points.size() >= 2) {
    svg += "<polyline class=\"path\" points=\"";
    for (const rrensen::Point& p : points) {
      svg += w.X(p.x) + "," + w.Y(p.y) + " ";
    }
    svg += "\"/>\n";
  }
  svg += "<g class=\"records\">\n";
  w.Lines(records.lines, "record-lines");
  for (const auto& a : records.arcs) w.Arc(a, "");
  for (const auto& c : records.circles) w.Circle(c);
  svg += "</g>\n";

  if (drawn) {
    svg += "<g class=\"outline\">\n";
    w.Lines(outline.lines, "outline-lines");
    // Name each arc's corner point and radius.
    for (size_t k = 0; k < outline.arcs.size(); ++k) {
      w.Arc(outline.arcs[k], "corner at point " +
                                 std::to_string(arc_corners[k]->point + 1) +
                                 ": radius " + Coord(arc_corners[k]->radius));
    }
    svg += "</g>\n";
    // A ring around each fillet that keeps its size on the page (5 pixels
    // across 640), so that the fillets of a large outline, far smaller than
    // a pixel, still show where they are.
    svg += "<g class=\"fillets\">\n";
    for (size_t k = 0; k < preview.outline.corners.size(); ++k) {
      const rrensen::Corner& c = preview.outline.corners[k];
      // On the arc's middle (on the ray from the centre to the corner
      // point, at the tilt of its record), or on the chord's.
      double mx = (c.tangent_in.x + c.tangent_out.x) / 2;
      double my = (c.tangent_in.y + c.tangent_out.y) / 2;
      if (c.is_arc && !chord_style) {
        // Halfway round the arc from its start.
        const double middle =
            std::atan2(c.tangent_in.y - c.centre.y, c.tangent_in.x - c.centre.x) +
            c.turn / 2;
        mx = c.centre.x + c.radius * std::cos(middle);
        my = c.centre.y + c.radius * std::sin(middle);
      } else if (c.is_arc) {
        const double tilt = preview.trace.corners[k].tilt_degrees;
        geometry::PointAtDegrees(c.centre.x, c.centre.y, c.radius, tilt, &mx,
                                 &my);
      }
      svg += "<circle class=\"fillet\" cx=\"" + w.X(mx) + "\" cy=\"" + w.Y(my) +
             "\" r=\"" + Coord(5 * vw / 640) + "\"><title>corner at point " +
             std::to_string(c.point + 1) +
             (c.is_arc ? ": arc of radius " + Coord(c.radius)
                       : chord_style ? ": chord" : ": chamfer") +
             "</title></circle>\n";
    }
    svg += "</g>\n";
  }

  double dot = 0.008 * span;
  svg += "<g class=\"points\" font-size=\"" + Coord(font) + "\">\n";
  for (size_t k = 0; k < points.size(); ++k) {
    const rrensen::Point& p = points[k];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    // Points that fall on one spot share one label: "1, 5".
    bool seen = false;
    std::string label;
    for (size_t j = 0; j < points.size(); ++j) {
      if (points[j].x != p.x || points[j].y != p.y) continue;
      if (j < k) seen = true;
      label += (label.empty() ? "" : ", ") + std::to_string(j + 1);
    }
    svg += "<circle class=\"point\" cx=\"" + w.X(p.x) + "\" cy=\"" + w.Y(p.y) +
           "\" r=\"" + Coord(dot) + "\"><title>point " + std::to_string(k + 1) +
           " (" + Coord(p.x) + ", " + Coord(p.y) + ")</title></circle>\n";
    if (seen) continue;
    svg += "<text x=\"" + w.X(p.x + 2 * dot) + "\" y=\"" + w.Y(p.y + 2 * dot) +
           "\">" + label + "</text>\n";
  }
  svg += "</g>\n";

  // For a refused outline, the side or corner that fails, in red, with the
  // reason as its title.
  if (has_outline && !drawn) {
    const rrensen::Problem& problem = preview.outline.problem;
    auto find = [&points](int index) -> const rrensen::Point* {
      if (index < 0 || static_cast<size_t>(index) >= points.size()) {
        return nullptr;
      }
      return &points[static_cast<size_t>(index)];
    };
    const rrensen::Point* a = preview.within_limits ? find(problem.point) : nullptr;
    const rrensen::Point* b = find(problem.next_point);
    std::string title = "<title>" + Escape(Reason(preview)) + "</title>";
    if (problem.kind == rrensen::Refusal::kShortSide && a != nullptr &&
        b != nullptr) {
      svg += "<line class=\"failure\" x1=\"" + w.X(a->x) + "\" y1=\"" +
             w.Y(a->y) + "\" x2=\"" + w.X(b->x) + "\" y2=\"" + w.Y(b->y) +
             "\">" + title + "</line>\n";
    } else if (a != nullptr) {
      svg += "<circle class=\"failure\" cx=\"" + w.X(a->x) + "\" cy=\"" +
             w.Y(a->y) + "\" r=\"" + Coord(0.04 * span) + "\">" + title +
             "</circle>\n";
    }
  }

  double bar = ScaleLength(std::min(span, box.x1 - box.x0 + margin));
  double bx = box.x0, by = box.y0 - margin / 2;
  svg += "<g class=\"scale\" font-size=\"" + Coord(font) + "\">\n";
  svg += "<line x1=\"" + w.X(bx) + "\" y1=\"" + w.Y(by) + "\" x2=\"" +
         w.X(bx + bar) + "\" y2=\"" + w.Y(by) + "\"/>\n";
  svg += "<text x=\"" + w.X(bx) + "\" y=\"" + w.Y(by - 1.3 * font) + "\">" +
         Coord(bar) + " drawing units</text>\n";
  svg += "</g>\n";
  svg += "<g class=\"caption\" font-size=\"" + Coord(caption_font) + "\">\n";
  for (size_t k = 0; k < caption_lines.size(); ++k) {
    double y = by - 1.3 * font - (static_cast<double>(k) + 1.4) * 1.4 * caption_font;
    svg += "<text x=\"" + w.X(bx) + "\" y=\"" + w.Y(y) + "\">" +
           Escape(caption_lines[k]) + "</text>\n";
  }
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace view
