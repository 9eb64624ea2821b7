#include "web/page_api.h"

#include <algorithm>
#include <cmath>

#include "driver/options.h"
#include "driver/run.h"
#include "driver/settings.h"
#include "platform/ascii.h"
#include "platform/memory_file_system.h"
#include "platform/out_stream.h"
#include "rrensen/fillet.h"
#include "view/svg.h"
#include "view/view.h"
#include "web/json_writer.h"

namespace web {
namespace {

/// The names the page knows a refusal by.
const char* KindName(rrensen::Refusal kind) {
  switch (kind) {
    case rrensen::Refusal::kNone: return "none";
    case rrensen::Refusal::kInvalidSize: return "invalid-size";
    case rrensen::Refusal::kNoCorner: return "no-corner";
    case rrensen::Refusal::kNotFinite: return "not-finite";
    case rrensen::Refusal::kShortSide: return "short-side";
    case rrensen::Refusal::kSharpCorner: return "sharp-corner";
    case rrensen::Refusal::kReversal: return "reversal";
    case rrensen::Refusal::kCornerNotFinite: return "corner-not-finite";
  }
  return "none";
}

/// A refusal's fields, for the page to mark and to put in other words.
void WriteProblem(JsonWriter& json, const rrensen::Problem& problem) {
  json.BeginObject();
  json.Key("kind");
  json.String(KindName(problem.kind));
  json.Key("point");
  json.Integer(problem.point);
  json.Key("next");
  json.Integer(problem.next_point);
  json.Key("needed");
  json.Number(problem.needed);
  json.Key("found");
  json.Number(problem.found);
  json.EndObject();
}

void WriteOptional(JsonWriter& json, const std::optional<double>& value) {
  if (value) {
    json.Number(*value);
  } else {
    json.Null();
  }
}

/// The fillet size that `rrensen -c<size_text>` uses: the tool's own option
/// reader reads it (the absolute value; 20 or more keeps the default).
double ToolFilletSize(const std::string& size_text) {
  driver::Settings settings;
  std::string word = "-c" + size_text, sink;
  platform::OutStream quiet(&sink, false);
  driver::ApplyOption(word.c_str(), &settings, quiet, quiet);
  return settings.fillet_size;
}

/// The points rrensen-dxf hands the library for polyline `p`, with the
/// first vertex once more for a closed one.
std::vector<rrensen::Point> LibraryPoints(const dxf::Polyline& p) {
  return dxf::FilletPolyline(p.vertices, p.closed, 0.0).points;
}

/// The largest fillet size of any size with which `points` draw: NaN when
/// none does, infinity when every size does. LargestFilletSize bisects the
/// sizes in even steps, so it is given a finite limit: the diagonal of the
/// points' box, since every outline with a corner has a side that must be
/// twice the size long. An answer at that limit means every size draws.
double LargestDrawingSize(const std::vector<rrensen::Point>& points) {
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  for (const rrensen::Point& p : points) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  const double limit = std::hypot(x1 - x0, y1 - y0) + 1.0;
  if (!std::isfinite(limit)) return std::nan("");
  std::optional<double> size = rrensen::LargestFilletSize(points, {}, limit);
  if (!size) return std::nan("");
  // LargestFilletSize answers in thousandths below the limit.
  return *size >= limit - 0.002 ? HUGE_VAL : *size;
}

}  // namespace

ExchangeRun RunExchange(std::string_view exchange,
                        const std::vector<std::string>& words) {
  ExchangeRun run;
  platform::MemoryFileSystem files;
  files.Put("kdx_temp.txt", std::string(exchange));
  {
    platform::OutStream console(&run.console, false);
    platform::OutStream errors(&run.errors, false);
    run.status = driver::RunTool(words, files, console, errors) & 0xff;
  }
  if (const std::string* output = files.Get("KDX_TEMP.TXT")) run.output = *output;
  return run;
}

DxfRun FilletDxf(std::string_view input, const DxfOptions& options) {
  DxfRun result;
  const std::string program = "rrensen-dxf: ";
  if (!std::isfinite(options.size) || options.size < 0.0) {
    result.status = 2;
    result.errors = program + "the fillet size must be a number of 0 or more\n";
    return result;
  }
  dxf::FilletSettings settings;
  settings.size = options.size;
  settings.layer = options.layer;
  dxf::FilletRun run = dxf::FilletDrawing(input, settings);
  if (!run.error.empty()) {
    std::string where = "input";
    if (run.error_line > 0) where += ":" + std::to_string(run.error_line);
    result.status = 2;
    result.errors = program + where + ": not a readable ASCII DXF file: " + run.error + "\n";
    return result;
  }
  for (const std::string& report : run.reports) result.errors += program + report + "\n";
  result.errors += program + std::to_string(run.filleted) + " polylines filleted, " +
                   std::to_string(run.left_unchanged) + " left unchanged\n";
  result.report = DxfReport(run);
  if (run.filleted == 0) {
    result.status = 1;
    return result;
  }
  result.dxf = std::move(run.output);
  return result;
}

std::string DxfReport(const dxf::FilletRun& /*run*/) { return ""; }

std::string ExchangePreviewJson(std::string_view exchange,
                                const std::string& size_text,
                                const std::string& title) {
  const view::Preview preview = view::MakePreview(exchange, ToolFilletSize(size_text));
  const bool refused = preview.has_points() && preview.result() != 0;
  JsonWriter json;
  json.BeginObject();
  json.Key("svg");
  json.String(view::Svg(preview, title));
  json.Key("size");
  json.Number(preview.fillet_size);
  json.Key("hasPoints");
  json.Bool(preview.has_points());
  json.Key("points");
  json.Integer(static_cast<long long>(preview.points.size()));
  json.Key("withinLimits");
  json.Bool(preview.within_limits);
  json.Key("result");
  json.Integer(preview.has_points() ? preview.result() : 0);
  json.Key("closed");
  json.Bool(!refused && preview.outline.closed);
  json.Key("corners");
  json.Integer(refused ? 0 : static_cast<long long>(preview.outline.corners.size()));
  json.Key("reason");
  json.String(refused ? view::Reason(preview) : "");
  json.Key("problem");
  WriteProblem(json, refused && preview.within_limits ? preview.outline.problem
                                                      : rrensen::Problem{});
  json.Key("largest");
  WriteOptional(json, refused ? preview.largest_size : std::nullopt);
  json.Key("caption");
  json.BeginArray();
  for (const std::string& line : view::Caption(preview)) json.String(line);
  json.EndArray();
  json.EndObject();
  return json.text();
}

double LargestExchangeSize(std::string_view exchange) {
  const view::Preview preview = view::MakePreview(exchange, 5.0);
  if (!preview.has_points() || !preview.within_limits) return std::nan("");
  std::optional<double> size =
      rrensen::LargestFilletSize(preview.points, {}, driver::kFilletSizeLimit);
  return size ? *size : std::nan("");
}

DxfDocument::DxfDocument(std::string bytes) : bytes_(std::move(bytes)) {
  tags_ = dxf::ReadTags(bytes_);
  if (!tags_.error.empty()) {
    error_ = tags_.error;
    error_line_ = tags_.error_line;
    return;
  }
  drawing_ = dxf::ReadDrawing(tags_);
  error_ = drawing_.error;
  error_line_ = drawing_.error_line;
}

bool DxfDocument::Selected(const dxf::Polyline& p, const DxfOptions& options) const {
  if (p.not_2d) return false;
  return !options.layer || platform::EqualIgnoringCase(*options.layer, p.layer);
}

std::string DxfDocument::PolylinesJson() const {
  JsonWriter json;
  json.BeginArray();
  size_t first = 0;
  for (const dxf::Polyline& p : drawing_.polylines) {
    const dxf::Tag& tag = tags_.tags[p.first_tag];
    json.BeginObject();
    json.Key("handle");
    json.String(p.handle);
    json.Key("layer");
    json.String(p.layer);
    json.Key("line");
    json.Integer(tag.line);
    json.Key("entity");
    json.String(dxf::TrimBlanks(tag.value));
    json.Key("closed");
    json.Bool(p.closed);
    json.Key("points");
    json.BeginArray();
    json.Integer(static_cast<long long>(first));
    json.Integer(static_cast<long long>(p.vertices.size()));
    json.EndArray();
    json.EndObject();
    first += p.vertices.size();
  }
  json.EndArray();
  return json.text();
}

std::vector<double> DxfDocument::Vertices() const {
  std::vector<double> xy;
  for (const dxf::Polyline& p : drawing_.polylines) {
    for (const rrensen::Point& v : p.vertices) {
      xy.push_back(v.x);
      xy.push_back(v.y);
    }
  }
  return xy;
}

std::string DxfDocument::FilletJson(const DxfOptions& options, std::vector<double>& after) const {
  after.clear();
  JsonWriter json;
  json.BeginObject();
  int filleted = 0, unchanged = 0;
  json.Key("polylines");
  json.BeginArray();
  for (const dxf::Polyline& p : drawing_.polylines) {
    json.BeginObject();
    json.Key("state");
    if (p.not_2d) {
      json.String("not-2d");
    } else if (!Selected(p, options)) {
      json.String("other-layer");
    } else if (!p.unfit_reason.empty()) {
      ++unchanged;
      json.String("unchanged");
      json.Key("reason");
      json.String(p.unfit_reason);
    } else {
      const dxf::FilletedPolyline f = dxf::FilletPolyline(p.vertices, p.closed, options.size);
      if (f.outline.result == rrensen::Result::kDrawn) {
        ++filleted;
        json.String("filleted");
        json.Key("closedAfter");
        json.Bool(f.closed);
        json.Key("after");
        json.BeginArray();
        json.Integer(static_cast<long long>(after.size() / 3));
        json.Integer(static_cast<long long>(f.vertices.size()));
        json.EndArray();
        for (const dxf::BulgeVertex& v : f.vertices) {
          after.push_back(v.point.x);
          after.push_back(v.point.y);
          after.push_back(v.bulge);
        }
      } else {
        ++unchanged;
        json.String("unchanged");
        json.Key("reason");
        json.String(rrensen::Describe(f.outline.problem));
        json.Key("problem");
        WriteProblem(json, f.outline.problem);
      }
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("filleted");
  json.Integer(filleted);
  json.Key("unchanged");
  json.Integer(unchanged);
  json.EndObject();
  return json.text();
}

double DxfDocument::LargestSize(int index, const DxfOptions& options) const {
  const double none = std::nan("");
  const auto& polylines = drawing_.polylines;
  if (index >= 0) {
    if (static_cast<size_t>(index) >= polylines.size()) return none;
    const dxf::Polyline& p = polylines[static_cast<size_t>(index)];
    return p.not_2d || !p.unfit_reason.empty() ? none : LargestDrawingSize(LibraryPoints(p));
  }
  double smallest = none;
  for (const dxf::Polyline& p : polylines) {
    if (!Selected(p, options) || !p.unfit_reason.empty()) continue;
    const double size = LargestDrawingSize(LibraryPoints(p));
    if (!std::isnan(size) && (std::isnan(smallest) || size < smallest)) smallest = size;
  }
  return smallest;
}

}  // namespace web
