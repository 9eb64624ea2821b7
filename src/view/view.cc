#include "view.h"

#include <cstdio>

#include "driver/settings.h"
#include "platform/number_format.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/exchange_reader.h"
#include "reader/scan.h"

namespace view {

Preview MakePreview(std::string_view bytes, double fillet_size) {
  Preview p;
  p.fillet_size = fillet_size;
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
    p.outline = geometry::FilletWithTrace(
        p.points, {fillet_size, rrensen::Closing::kByProximity}, &p.trace);
    if (p.outline.result != rrensen::Result::kDrawn) {
      p.largest_size =
          rrensen::LargestFilletSize(p.points, {}, driver::kFilletSizeLimit);
    }
  }
  return p;
}

Drawing::Arc ArcOf(const geometry::CornerTrace& corner) {
  const geometry::HostArc a = geometry::HostArcOf(corner);
  return {a.centre.x,     a.centre.y,       a.radius,
          a.start_degrees, a.end_degrees, a.tilt_degrees};
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

/// "largest fillet size below 20 that draws it: ..." or that none does.
std::string LargestSizeLine(const Preview& p) {
  const std::optional<double>& size = p.largest_size;
  if (!size) return "no fillet size below " + Limit() + " draws it";
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
            std::to_string(p.points.size()) + " points, fillet size " +
            platform::FixedText(p.fillet_size, 3) + ", " + std::to_string(p.outline.corners.size()) +
            (p.outline.corners.size() == 1 ? " corner" : " corners")};
  }
  std::vector<std::string> lines =
      Wrap("refused at fillet size " + platform::FixedText(p.fillet_size, 3) + " (result " +
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
            std::to_string(p.points.size()) + " points, fillet size " +
            platform::FixedText(p.fillet_size, 3) + "\ncorner  point  kind   radius\n";
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
