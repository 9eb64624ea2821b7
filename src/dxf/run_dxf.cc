#include "dxf/run_dxf.h"

#include <utility>

#include "dxf/fillet_dxf.h"
#include "dxf/join.h"
#include "dxf/report_json.h"

namespace dxf {
namespace {

/// One line of standard error: "rrensen-dxf: <text>\n".
void Say(std::string& standard_error, std::string_view text) {
  standard_error += "rrensen-dxf: ";
  standard_error += text;
  standard_error += "\n";
}

/// The settings of the filleting that `line` asks for.
FilletSettings SettingsOf(const CommandLine& line) {
  FilletSettings settings;
  settings.size = line.size;
  settings.style = line.style;
  settings.layer = line.layer;
  settings.close_gap = line.close_gap;
  if (line.join) settings.join_gap = line.join_gap.value_or(kDefaultJoinGap);
  return settings;
}

}  // namespace

RunResult RunOnBytes(std::string_view bytes, const CommandLine& line,
                     std::string_view input_name) {
  RunResult result;
  if (!line.error.empty()) {
    result.status = 2;
    Say(result.standard_error, line.error + "\nTry 'rrensen-dxf --help'.");
    return result;
  }
  const FilletSettings settings = SettingsOf(line);
  FilletRun run = FilletDrawing(bytes, settings);
  if (!run.error.empty()) {
    std::string where(input_name);
    if (run.error_line > 0) where += ":" + std::to_string(run.error_line);
    result.status = 2;
    Say(result.standard_error,
        where + ": not a readable ASCII DXF file: " + run.error);
    return result;
  }
  for (const std::string& report : run.reports) {
    Say(result.standard_error, report);
  }
  Say(result.standard_error,
      std::to_string(run.filleted) +
          (line.dry_run ? " polylines to fillet, " : " polylines filleted, ") +
          std::to_string(run.partly) + " partly, " +
          std::to_string(run.left_unchanged) + " left unchanged");
  if (settings.join_gap) {
    Say(result.standard_error,
        std::to_string(run.chains_filleted + run.chains_partly +
                       run.chains_left) +
            " chains of lines and arcs: " + std::to_string(run.chains_filleted) +
            (line.dry_run ? " to fillet, " : " filleted, ") +
            std::to_string(run.chains_partly) + " partly, " +
            std::to_string(run.chains_left) + " left unchanged; " +
            std::to_string(run.joined_polylines) +
            (line.dry_run ? " polylines to make of " : " polylines made of ") +
            std::to_string(run.joined_lines) + " lines and " +
            std::to_string(run.joined_arcs) + " arcs");
  }
  result.writes_drawing = !line.dry_run;
  if (result.writes_drawing) result.drawing = std::move(run.output);
  result.writes_report = !line.report.empty();
  if (result.writes_report) {
    for (const OutlineReport& outline : run.outlines) {
      result.report += ReportLine(outline);
      result.report += "\n";
    }
  }
  const int left =
      run.partly + run.left_unchanged + run.chains_partly + run.chains_left;
  result.status = left == 0 ? 0 : 1;
  return result;
}

}  // namespace dxf
