#include "dxf/run_dxf.h"

#include <utility>

#include "dxf/fillet_dxf.h"
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
  FilletRun run = FilletDrawing(bytes, SettingsOf(line));
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
  result.writes_drawing = !line.dry_run;
  if (result.writes_drawing) result.drawing = std::move(run.output);
  result.writes_report = !line.report.empty();
  if (result.writes_report) {
    for (const OutlineReport& outline : run.outlines) {
      result.report += ReportLine(outline);
      result.report += "\n";
    }
  }
  result.status = run.partly + run.left_unchanged == 0 ? 0 : 1;
  return result;
}

}  // namespace dxf
