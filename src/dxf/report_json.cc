#include "dxf/report_json.h"

#include <optional>

#include "dxf/json_writer.h"
#include "geometry/fillet_rules.h"

namespace dxf {

const char* StatusName(OutlineStatus status) {
  switch (status) {
    case OutlineStatus::kFilleted: return "filleted";
    case OutlineStatus::kPartly: return "partly";
    case OutlineStatus::kUnchanged: return "unchanged";
    case OutlineStatus::kSkipped: return "skipped";
  }
  return "";
}

namespace {

/// A vertex index from 0 as the report numbers it, from 1; null for none.
void VertexNumber(JsonWriter& json, int index) {
  if (index < 0) {
    json.Null();
  } else {
    json.Integer(index + 1);
  }
}

/// A text, or null when it is empty.
void TextOrNull(JsonWriter& json, const std::string& text) {
  if (text.empty()) {
    json.Null();
  } else {
    json.String(text);
  }
}

void WriteRun(JsonWriter& json, const RunReport& run) {
  const rrensen::Problem& p = run.problem;
  const bool measured = p.kind == rrensen::Refusal::kShortSide ||
                        p.kind == rrensen::Refusal::kSharpCorner;
  json.BeginObject();
  json.Key("first_vertex");
  VertexNumber(json, run.first_vertex);
  json.Key("last_vertex");
  VertexNumber(json, run.last_vertex);
  json.Key("reason");
  json.String(rrensen::RefusalCode(p.kind));
  json.Key("message");
  json.String(rrensen::Describe(p));
  json.Key("at_vertex");
  VertexNumber(json, p.point);
  json.Key("to_vertex");
  VertexNumber(json, p.next_point);
  json.Key("needed");
  json.Number(measured ? std::optional<double>(p.needed) : std::nullopt);
  json.Key("found");
  json.Number(measured ? std::optional<double>(p.found) : std::nullopt);
  json.Key("largest_size");
  json.Number(run.largest_size);
  json.EndObject();
}

}  // namespace

std::string ReportLine(const OutlineReport& report) {
  JsonWriter json;
  json.BeginObject();
  json.Key("kind");
  json.String(report.kind);
  json.Key("type");
  TextOrNull(json, report.type);
  json.Key("handle");
  TextOrNull(json, report.handle);
  json.Key("layer");
  json.String(report.layer);
  json.Key("line");
  json.Integer(report.line);
  json.Key("style");
  json.String(rrensen::CornerStyleName(report.style));
  json.Key("status");
  json.String(StatusName(report.status));
  json.Key("closed");
  json.Bool(report.closed);
  if (report.status == OutlineStatus::kSkipped) {
    json.Key("reason");
    json.String(report.skip_code);
    json.Key("message");
    json.String(report.skip_reason);
  } else {
    json.Key("corners_filleted");
    json.Integer(report.corners_filleted);
    json.Key("corners_left");
    json.Integer(report.corners_left);
    // Only when a selection was asked for, or for reliefs, which go at some
    // corners only: reports of every corner stay as they always were.
    if (report.corners != rrensen::CornerSelection::kAll ||
        geometry::IsRelief(report.style)) {
      json.Key("corners");
      json.String(rrensen::CornerSelectionName(
          report.selection_applied ? report.corners : rrensen::CornerSelection::kAll));
      json.Key("corners_unselected");
      json.Integer(report.corners_unselected);
    }
    // Only when re-cutting was asked for, as above.
    if (report.refillet) {
      json.Key("earlier_cuts");
      json.Integer(report.earlier_cuts);
      json.Key("earlier_cuts_recut");
      json.Integer(report.earlier_cuts_recut);
    }
    json.Key("refused_runs");
    json.BeginArray();
    for (const RunReport& run : report.refused_runs) WriteRun(json, run);
    json.EndArray();
  }
  if (!report.parts.empty()) {
    json.Key("parts");
    json.BeginArray();
    for (const EntityRef& part : report.parts) {
      json.BeginObject();
      json.Key("type");
      json.String(part.type);
      json.Key("handle");
      TextOrNull(json, part.handle);
      json.Key("line");
      json.Integer(part.line);
      json.EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
  return json.Take();
}

}  // namespace dxf
