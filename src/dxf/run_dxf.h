#ifndef RRENSEN_DXF_RUN_DXF_H_
#define RRENSEN_DXF_RUN_DXF_H_

/// One whole run of rrensen-dxf over a file's bytes in memory: the exit
/// status, what goes to standard error, the drawing and the report. The
/// program (main.cc) only reads the file and writes what this says; the
/// browser page and other hosts without files call it directly and get the
/// same bytes.

#include <string>
#include <string_view>

#include "dxf/command_line.h"

namespace dxf {

/// What a run makes of the bytes.
struct RunResult {
  /// The exit status: 0 when every polyline (and chain of lines and arcs)
  /// was filleted, or there was none to fillet; 1 when some were left
  /// unchanged or filleted only in part; 2 for bad usage or a file that is
  /// not readable ASCII DXF.
  int status = 0;
  /// What the program writes to standard error, whole lines.
  std::string standard_error;
  /// Whether the drawing is to be written (to the command line's -o file,
  /// else standard output): always, but for a dry run and status 2.
  bool writes_drawing = false;
  /// The drawing as written.
  std::string drawing;
  /// Whether the report is to be written: when --report names a file and
  /// the status is not 2.
  bool writes_report = false;
  /// The JSON-lines report, one line (ReportLine) for each polyline
  /// considered, each ended by "\n"; made only when it is to be written.
  std::string report;
};

/// Runs rrensen-dxf as `line` says over `bytes`, the contents of the file
/// `input_name` (the name its messages give the file). A line with an
/// error gives status 2 and the usage message without looking at the bytes.
/// `line.help` and `line.version` are the caller's to answer. Writing may
/// still fail; then the program says so and ends with status 2.
RunResult RunOnBytes(std::string_view bytes, const CommandLine& line,
                     std::string_view input_name);

}  // namespace dxf

#endif  // RRENSEN_DXF_RUN_DXF_H_
