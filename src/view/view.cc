#include "view.h"

#include <cmath>
#include <cstdio>

#include "driver/settings.h"
#include "geometry/angles.h"
#include "geometry/trig.h"
#include "platform/number_format.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/exchange_reader.h"
#include "reader/scan.h"

namespace view {

Preview MakePreview(std::string_view bytes, double fillet_size,
                    rrensen::CornerStyle style) {
  Preview p;
  p.fillet_size = fillet_size;
  p.style = style;
  std::string sink;
  platform::OutStream quiet(&sink, false);
  platform::TextReader reader(bytes);
  Drawing* records = &p.records;
  reader::ReadExchange(
      reader, reader::ReadOptions{}, quiet, quiet, &p.contents,
      [records](std::string_view line) {
        // Only whole records are drawn.
        if (!line.empty() && line[0] == ' ') {
          Drawing::Line l{};
          if (reader::scan::Scan(line, 1, "%lf %lf %lf %lf",
                         {&l.x1, &l.y1, &l.x2, &l.y2}) == 4) {
            records->lines.push_back(l);
          }
        } else if (line.substr(0, 2) == "ci") {
          double v[7] = {};
          int n = reader::scan::Scan(line, 2, "%lf %lf %lf %lf %lf %lf %lf",
                             {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]});
          if (n == 7) {
            records->arcs.push_back({v[0], v[1], v[2], v[3], v[4], v[6]});
          } else if (n >= 3) {
            records->circles.push_back({v[0], v[1], v[2]});
          }
        }
      });
  p.within_limits = p.contents.points.WithinLimits();
  p.points = p.contents.points.Outline();
  if (p.within_limits) {
    const rrensen::FilletOptions options{
        fillet_size, rrensen::Closing::kByProximity, style};
    p.outline = geometry::FilletWithTrace(p.points, options, &p.trace);
    if (p.outline.result != rrensen::Result::kDrawn) {
      p.largest_size = rrensen::LargestFilletSize(p.points, options,
                                                  driver::kFilletSizeLimit);
    }
  }
  return p;
}

Drawing::Arc ArcOf(const geometry::CornerTrace& corner) {
  const geometry::HostArc a = geometry::HostArcOf(corner);
  return {a.centre.x,     a.centre.y,       a.radius,
          a.start_degrees, a.end_degrees, a.tilt_degrees};
}

Drawing::Arc ArcOf(const rrensen::Segment& arc) {
  // A clockwise arc is the counter-clockwise one from its end.
  const rrensen::Point& from = arc.sweep < 0.0 ? arc.end : arc.start;
  const double start = geometry::Degrees(
      trig::Atan2(from.y - arc.centre.y, from.x - arc.centre.x));
  return {arc.centre.x, arc.centre.y, arc.radius,
          start,        start + geometry::Degrees(std::fabs(arc.sweep)), 0.0};
}

std::string Reason(const Preview& p) {
  if (!p.within_limits) {
    const std::string highest = std::to_string(reader::kHighestPointNumber);
    return "more than " + highest +
           " point records, or a last point numbered outside 0 to " + highest;
  }
  return rrensen::Describe(p.outline.problem);
}

namespace {

/// The tool's size limit, "20".
std::string Limit() { return platform::FixedText(driver::kFilletSizeLimit, 0); }

bool ChordStyle(const Preview& p) {
  return p.style == rrensen::CornerStyle::kChordArc;
}

/// What the size measures: "fillet size" for the tool's chord arcs, else
/// "radius", "distance" or "chord".
std::string SizeName(const Preview& p) {
  switch (p.style) {
    case rrensen::CornerStyle::kChordArc: break;
    case rrensen::CornerStyle::kRadiusArc: return "radius";
    case rrensen::CornerStyle::kDistanceChamfer: return "distance";
    case rrensen::CornerStyle::kChordChamfer: return "chord";
    case rrensen::CornerStyle::kDogbone:
    case rrensen::CornerStyle::kTBone: return "cutter diameter";
  }
  return "fillet size";
}

/// The style's name, "radius arcs", "distance chamfers" or "chord
/// chamfers"; empty for the tool's chord arcs.
std::string StyleName(const Preview& p) {
  switch (p.style) {
    case rrensen::CornerStyle::kChordArc: break;
    case rrensen::CornerStyle::kRadiusArc: return "radius arcs";
    case rrensen::CornerStyle::kDistanceChamfer: return "distance chamfers";
    case rrensen::CornerStyle::kChordChamfer: return "chord chamfers";
    case rrensen::CornerStyle::kDogbone: return "dogbones";
    case rrensen::CornerStyle::kTBone: return "T-bones";
  }
  return "";
}

/// "fillet size 5.000", or for another style e.g. "radius arcs, radius
/// 5.000".
std::string SizeText(const Preview& p) {
  const std::string size = SizeName(p) + " " + platform::FixedText(p.fillet_size, 3);
  return ChordStyle(p) ? size : StyleName(p) + ", " + size;
}

/// "largest fillet size below 20 that draws it: ..." or that none does.
/// The other styles' largest size is exact; it is shown rounded down to
/// millionths, which still draws.
std::string LargestSizeLine(const Preview& p) {
  const std::optional<double>& size = p.largest_size;
  if (!size) return "no " + SizeName(p) + " below " + Limit() + " draws it";
  if (!ChordStyle(p)) {
    return "largest " + SizeName(p) + " below " + Limit() + " that draws it: " +
           platform::FixedText(std::floor(*size * 1e6) / 1e6, 6);
  }
  return "largest fillet size below " + Limit() + " that draws it: " + platform::FixedText(*size, 3) +
         " (rrensen /c" + platform::FixedText(*size, 3) + ")";
}

/// Breaks `text` at blanks into lines of at most `width` characters.
std::vector<std::string> Wrap(const std::string& text, size_t width) {
  std::vector<std::string> lines;
  std::string line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<std::string> Caption(const Preview& p) {
  if (!p.has_points()) {
    return {"the drawing records of the file (it holds no indicated points)"};
  }
  if (p.result() == 0) {
    return {std::string(p.outline.closed ? "closed" : "open") + " outline of " +
            std::to_string(p.points.size()) + " points, " + SizeText(p) + ", " +
            std::to_string(p.outline.corners.size()) +
            (p.outline.corners.size() == 1 ? " corner" : " corners")};
  }
  std::vector<std::string> lines =
      Wrap("refused at " + SizeName(p) + " " + platform::FixedText(p.fillet_size, 3) +
               " (" + (ChordStyle(p) ? "" : StyleName(p) + "; ") + "result " +
               std::to_string(p.result()) + "): " + Reason(p),
           80);
  lines.push_back(LargestSizeLine(p));
  return lines;
}

std::string Explain(const Preview& p) {
  std::string text;
  if (p.result() == 0) {
    const rrensen::Outline& o = p.outline;
    text += std::string(o.closed ? "closed" : "open") + " outline, " +
            std::to_string(p.points.size()) + " points, " + SizeText(p) + "\n";
    if (!ChordStyle(p)) {
      // Every style's cut-back, and the radius of arcs.
      text += "corner  point  kind     cut back  radius\n";
      for (size_t k = 0; k < o.corners.size(); ++k) {
        const rrensen::Corner& c = o.corners[k];
        char line[128];
        (void)std::snprintf(line, sizeof line, "%6zu  %5d  %-7s  %8s  %s\n", k + 1,
                            c.point + 1, c.is_arc ? "arc" : "chamfer",
                            platform::FixedText(c.cut_back, 3).c_str(),
                            c.is_arc ? platform::FixedText(c.radius, 3).c_str() : "-");
        text += line;
      }
      return text;
    }
    text += "corner  point  kind   radius\n";
    for (size_t k = 0; k < o.corners.size(); ++k) {
      const rrensen::Corner& c = o.corners[k];
      char line[96];
      (void)std::snprintf(line, sizeof line, "%6zu  %5d  %-5s  %s\n", k + 1,
                          c.point + 1, c.is_arc ? "arc" : "chord",
                          c.is_arc ? platform::FixedText(c.radius, 3).c_str() : "-");
      text += line;
    }
    return text;
  }
  text += "refused (result " + std::to_string(p.result()) + "): " + Reason(p) +
          "\n" + LargestSizeLine(p) + "\n";
  return text;
}

}  // namespace view
