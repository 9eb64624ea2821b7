#include "web/page_api.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "driver/options.h"
#include "driver/run.h"
#include "driver/settings.h"
#include "dxf/fillet_dxf.h"
#include "dxf/number_text.h"
#include "dxf/report_json.h"
#include "dxf/run_dxf.h"
#include "platform/ascii.h"
#include "platform/memory_file_system.h"
#include "platform/out_stream.h"
#include "rrensen/fillet.h"
#include "rrensen/polyline.h"
#include "view/svg.h"
#include "view/view.h"
#include "web/json_writer.h"

namespace web {
namespace {

/// A refusal's fields, for the page to mark and to put in other words.
void WriteProblem(JsonWriter& json, const rrensen::Problem& problem) {
  json.BeginObject();
  json.Key("kind");
  json.String(rrensen::RefusalCode(problem.kind));
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

/// The vertices and closing with which rrensen-dxf, with `options`, hands
/// polyline `p` to rrensen::FilletPolyline: closed by its flag, or by the
/// gap without its last vertex.
struct LibraryPolyline {
  std::vector<rrensen::BulgeVertex> vertices;
  rrensen::Closing closing = rrensen::Closing::kOpen;
};

LibraryPolyline LibraryInput(const dxf::Polyline& p, const DxfOptions& options) {
  LibraryPolyline input{p.vertices, p.closed ? rrensen::Closing::kClosed : rrensen::Closing::kOpen};
  if (dxf::ClosesByGap(p.vertices, p.closed, options.close_gap)) {
    input.vertices.pop_back();
    input.closing = rrensen::Closing::kClosed;
  }
  return input;
}

/// The diagonal of the box of `vertices`' points; infinite or NaN when a
/// point is not finite.
double Diagonal(const std::vector<rrensen::BulgeVertex>& vertices) {
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  for (const rrensen::BulgeVertex& v : vertices) {
    if (!std::isfinite(v.point.x) || !std::isfinite(v.point.y)) return std::nan("");
    x0 = std::min(x0, v.point.x);
    y0 = std::min(y0, v.point.y);
    x1 = std::max(x1, v.point.x);
    y1 = std::max(y1, v.point.y);
  }
  return vertices.empty() ? 0.0 : std::hypot(x1 - x0, y1 - y0);
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

std::vector<std::string> DxfWords(const DxfOptions& options) {
  // Each number with the fewest digits that read back as the same double,
  // so that rrensen-dxf's own reader gets the very value (and says what it
  // says of one that is not finite or below 0).
  std::vector<std::string> words = {"-c", dxf::FormatCoordinate(options.size)};
  if (options.layer) words.insert(words.end(), {"--layer", *options.layer});
  if (options.close_gap) {
    words.insert(words.end(), {"--close-gap", dxf::FormatCoordinate(*options.close_gap)});
  }
  if (options.style != rrensen::CornerStyle::kChordArc) {
    words.insert(words.end(), {"--style", rrensen::CornerStyleName(options.style)});
  }
  if (options.join) words.emplace_back("--join");
  words.insert(words.end(), {"-o", "output.dxf", "--report", "report.jsonl", "input"});
  return words;
}

DxfRun FilletDxf(std::string_view input, const DxfOptions& options) {
  const dxf::CommandLine line = dxf::ParseCommandLine(DxfWords(options));
  dxf::RunResult run = dxf::RunOnBytes(input, line, line.input);
  DxfRun result;
  result.status = run.status;
  result.errors = std::move(run.standard_error);
  result.dxf = std::move(run.drawing);
  result.report = std::move(run.report);
  return result;
}

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
  std::vector<double> xyb;
  for (const dxf::Polyline& p : drawing_.polylines) {
    for (const rrensen::BulgeVertex& v : p.vertices) {
      xyb.insert(xyb.end(), {v.point.x, v.point.y, v.bulge});
    }
  }
  return xyb;
}

std::string DxfDocument::FilletJson(const DxfOptions& options, std::vector<double>& after) const {
  after.clear();
  JsonWriter json;
  json.BeginObject();
  int filleted = 0, partly = 0, unchanged = 0;
  json.Key("polylines");
  json.BeginArray();
  for (const dxf::Polyline& p : drawing_.polylines) {
    json.BeginObject();
    json.Key("state");
    if (p.not_2d) {
      json.String("not-2d");
    } else if (!Selected(p, options)) {
      json.String("other-layer");
    } else if (!p.unfit_code.empty()) {
      ++unchanged;
      json.String("skipped");
      json.Key("code");
      json.String(p.unfit_code);
      json.Key("reason");
      json.String(p.unfit_reason);
    } else {
      const LibraryPolyline input = LibraryInput(p, options);
      const rrensen::PolylineResult f =
          rrensen::FilletPolyline(input.vertices, {options.size, input.closing, options.style});
      const dxf::OutlineStatus status = dxf::StatusOf(f);
      json.String(dxf::StatusName(status));
      json.Key("closedAfter");
      json.Bool(status == dxf::OutlineStatus::kUnchanged ? p.closed : f.closed);
      if (status == dxf::OutlineStatus::kUnchanged) {
        ++unchanged;
      } else {
        ++(status == dxf::OutlineStatus::kFilleted ? filleted : partly);
        json.Key("after");
        json.BeginArray();
        json.Integer(static_cast<long long>(after.size() / 3));
        json.Integer(static_cast<long long>(f.vertices.size()));
        json.EndArray();
        for (const rrensen::BulgeVertex& v : f.vertices) {
          after.insert(after.end(), {v.point.x, v.point.y, v.bulge});
        }
      }
      json.Key("runs");
      json.BeginArray();
      for (const rrensen::RefusedRun& run : f.refused_runs) {
        json.BeginObject();
        json.Key("first");
        json.Integer(run.first_vertex);
        json.Key("last");
        json.Integer(run.last_vertex);
        json.Key("problem");
        WriteProblem(json, run.problem);
        json.Key("reason");
        json.String(rrensen::Describe(run.problem));
        json.Key("largest");
        WriteOptional(json, run.largest_size);
        json.EndObject();
      }
      json.EndArray();
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("filleted");
  json.Integer(filleted);
  json.Key("partly");
  json.Integer(partly);
  json.Key("unchanged");
  json.Integer(unchanged);
  json.EndObject();
  return json.text();
}

double DxfDocument::PolylineLargestSize(const dxf::Polyline& p, const DxfOptions& options) const {
  const double none = std::nan("");
  if (p.not_2d || !p.unfit_code.empty()) return none;
  const LibraryPolyline input = LibraryInput(p, options);
  // Filleted at a size no run with a corner takes, every such run is
  // refused, and FilletPolyline says the largest size that fillets it.
  // For every style but radius arcs, twice the diagonal of the polyline's
  // box is such a size: each cut reaches at least half the size back along
  // both sides of its corner, and no side is longer than the diagonal. A
  // radius arc at a corner that turns by t reaches only size x tan(t / 2)
  // back, so for a corner that hardly turns the size is raised a millionfold
  // at a time until the corner is refused or the size is not finite.
  double size = 2.0 * Diagonal(input.vertices) + 1.0;
  if (!std::isfinite(size)) size = 1.0;  // the points that are not finite refuse it
  rrensen::PolylineResult f;
  for (;;) {
    f = rrensen::FilletPolyline(input.vertices, {size, input.closing, options.style});
    const double larger = size * 1e6;
    if (f.corners_filleted == 0 || !std::isfinite(larger)) break;
    size = larger;
  }
  // Corners still filleted at the largest size tried take every size.
  double smallest = f.corners_filleted > 0 ? HUGE_VAL : none;
  for (const rrensen::RefusedRun& run : f.refused_runs) {
    if (run.largest_size && !(*run.largest_size >= smallest)) smallest = *run.largest_size;
  }
  if (std::isnan(smallest) && f.refused_runs.empty()) return HUGE_VAL;  // no corner to cut
  return smallest;
}

double DxfDocument::LargestSize(int index, const DxfOptions& options) const {
  const double none = std::nan("");
  const auto& polylines = drawing_.polylines;
  if (index >= 0) {
    if (static_cast<size_t>(index) >= polylines.size()) return none;
    return PolylineLargestSize(polylines[static_cast<size_t>(index)], options);
  }
  double smallest = none;
  for (const dxf::Polyline& p : polylines) {
    if (!Selected(p, options)) continue;
    const double size = PolylineLargestSize(p, options);
    if (!std::isnan(size) && !(size >= smallest)) smallest = size;
  }
  return smallest;
}

}  // namespace web
