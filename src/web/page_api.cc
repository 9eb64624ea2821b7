#include "web/page_api.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "driver/options.h"
#include "driver/run.h"
#include "driver/settings.h"
#include "dxf/nesting.h"
#include "dxf/number_text.h"
#include "dxf/report_json.h"
#include "dxf/json_writer.h"
#include "dxf/plan.h"
#include "dxf/run.h"
#include "geometry/fillet_rules.h"
#include "platform/ascii.h"
#include "platform/memory_file_system.h"
#include "platform/out_stream.h"
#include "rrensen/fillet.h"
#include "rrensen/polyline.h"
#include "view/svg.h"
#include "view/view.h"

namespace web {
namespace {

using dxf::JsonWriter;

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


/// The fillet size that `rrensen -c<size_text>` uses: the tool's own option
/// reader reads it (the absolute value; 20 or more keeps the default).
double ToolFilletSize(const std::string& size_text) {
  driver::Settings settings;
  std::string word = "-c" + size_text, sink;
  platform::OutStream quiet(&sink, false);
  driver::ApplyOption(word.c_str(), &settings, quiet, quiet);
  return settings.fillet_size;
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

DxfRun FilletDxf(const std::string& input, const dxf::Settings& settings) {
  dxf::RunRequest request;
  request.settings = settings;
  request.input_name = "input";
  request.drawing_name = "output.dxf";
  request.report_name = "report.jsonl";
  dxf::BytesRun run = dxf::RunOnBytes(input, request);
  DxfRun result;
  result.status = run.status;
  result.errors = std::move(run.messages);
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
  json.Number(refused ? preview.largest_size : std::nullopt);
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

std::vector<dxf::Settings> DxfDocument::SettingsByPolyline(
    const dxf::Settings& settings) const {
  std::vector<dxf::Settings> each(drawing_.polylines.size(), settings);
  if (!geometry::IsRelief(settings.style)) return each;
  // The cutter runs inside the holes, as rrensen-dxf finds them.
  std::vector<std::vector<rrensen::BulgeVertex>> outlines;
  std::vector<size_t> with_inside;
  for (size_t k = 0; k < drawing_.polylines.size(); ++k) {
    const dxf::Polyline& p = drawing_.polylines[k];
    if (!dxf::HasInside(p, settings)) continue;
    with_inside.push_back(k);
    outlines.push_back(dxf::InsideVertices(p));
  }
  const std::vector<bool> holes = dxf::Holes(outlines);
  for (size_t k = 0; k < with_inside.size(); ++k) {
    if (holes[k]) each[with_inside[k]].tool_side = rrensen::ToolSide::kInside;
  }
  return each;
}

std::string DxfDocument::FilletJson(const dxf::Settings& settings,
                                    std::vector<double>& after) const {
  const std::vector<dxf::Settings> each = SettingsByPolyline(settings);
  size_t index = 0;
  after.clear();
  JsonWriter json;
  json.BeginObject();
  int filleted = 0, partly = 0, unchanged = 0;
  json.Key("polylines");
  json.BeginArray();
  for (const dxf::Polyline& p : drawing_.polylines) {
    const dxf::PolylinePlan plan = dxf::PlanPolyline(p, each[index++]);
    const dxf::OutlineReport& report = plan.report;
    json.BeginObject();
    json.Key("state");
    if (!plan.considered) {
      json.String(plan.ignored == "not_2d" ? "not-2d" : "other-layer");
      json.EndObject();
      continue;
    }
    json.String(dxf::StatusName(report.status));
    switch (report.status) {
      case dxf::OutlineStatus::kFilleted: ++filleted; break;
      case dxf::OutlineStatus::kPartly: ++partly; break;
      case dxf::OutlineStatus::kUnchanged:
      case dxf::OutlineStatus::kSkipped: ++unchanged; break;
    }
    if (report.status == dxf::OutlineStatus::kSkipped) {
      json.Key("code");
      json.String(report.skip_code);
      json.Key("reason");
      json.String(report.skip_reason);
      json.EndObject();
      continue;
    }
    json.Key("closedAfter");
    json.Bool(report.closed);
    if (report.status != dxf::OutlineStatus::kUnchanged) {
      json.Key("after");
      json.BeginArray();
      json.Integer(static_cast<long long>(after.size() / 3));
      json.Integer(static_cast<long long>(plan.result.vertices.size()));
      json.EndArray();
      for (const rrensen::BulgeVertex& v : plan.result.vertices) {
        after.insert(after.end(), {v.point.x, v.point.y, v.bulge});
      }
    }
    json.Key("namesRuns");
    json.Bool(dxf::ProseNamesRuns(report));
    json.Key("runs");
    json.BeginArray();
    for (const dxf::RunReport& run : report.refused_runs) {
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
      json.Number(run.largest_size ? std::optional<double>(dxf::TypeableSize(
                                                 *run.largest_size, settings.style))
                                           : std::nullopt);
      json.Key("largestText");
      json.String(run.largest_size
                      ? dxf::TypeableSizeText(*run.largest_size, settings.style)
                      : "");
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.Key("filleted");
  json.Integer(filleted);
  json.Key("partly");
  json.Integer(partly);
  json.Key("unchanged");
  json.Integer(unchanged);
  json.Key("style");
  json.String(rrensen::CornerStyleName(settings.style));
  json.Key("sizeText");
  json.String(fmt::format("{}", settings.size));
  json.EndObject();
  return json.Take();
}

double DxfDocument::LargestSize(int index, const dxf::Settings& settings) const {
  const auto& polylines = drawing_.polylines;
  const std::vector<dxf::Settings> each = SettingsByPolyline(settings);
  auto largest = [&](size_t k) {
    return dxf::LargestPolylineSize(polylines[k], each[k]).value_or(std::nan(""));
  };
  if (index >= 0) {
    if (static_cast<size_t>(index) >= polylines.size()) return std::nan("");
    return largest(static_cast<size_t>(index));
  }
  double smallest = std::nan("");
  for (size_t k = 0; k < polylines.size(); ++k) {
    const double size = largest(k);
    if (!std::isnan(size) && !(size >= smallest)) smallest = size;
  }
  return smallest;
}

}  // namespace web
