#ifndef RRENSEN_WEB_PAGE_API_H_
#define RRENSEN_WEB_PAGE_API_H_

/// What the browser page asks of the programs: whole runs of rrensen over an
/// exchange file in memory, rrensen-dxf over a DXF file's bytes, and the
/// pictures and lists the page shows. Plain C++ over bytes and strings, so
/// that it is tested natively; src/web/bindings.cc hands it to JavaScript.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/settings.h"
#include "dxf/tag_reader.h"
#include "rrensen/fillet.h"

namespace web {

/// One run of `rrensen WORDS` in a folder that holds only `exchange` as
/// kdx_temp.txt.
struct ExchangeRun {
  /// The exit status as a process shows it: 0, 1, or 255 for the tool's -1.
  int status = 0;
  /// KDX_TEMP.TXT afterwards: what the host reads back (at a debug level,
  /// the input, as the tool leaves it).
  std::string output;
  std::string console;  ///< standard output
  std::string errors;   ///< standard error
};

ExchangeRun RunExchange(std::string_view exchange,
                        const std::vector<std::string>& words);

/// One run of rrensen-dxf over `input` with `settings`: what `rrensen-dxf
/// -o OUT --report REPORT input` with those options writes for that file.
struct DxfRun {
  /// rrensen-dxf's exit status: 0 all filleted (or none to fillet), 1 some
  /// left unchanged or filleted in part, 2 a file that is no readable ASCII
  /// DXF.
  int status = 0;
  std::string dxf;     ///< the drawing as written; empty for status 2
  std::string errors;  ///< standard error, line by line
  /// The JSON-lines report (one dxf::ReportLine a line); empty for status 2.
  std::string report;
};

DxfRun FilletDxf(const std::string& input, const dxf::Settings& settings);

/// The page's picture of an exchange file at the fillet size that
/// `rrensen -c<size_text>` would use, as JSON: the SVG picture that
/// rrensen-view draws (titled `title`), whether and how the outline was
/// refused, and the largest size below 20 that draws a refused one.
std::string ExchangePreviewJson(std::string_view exchange,
                                const std::string& size_text,
                                const std::string& title);

/// The largest fillet size below 20 with which the tool draws the points of
/// `exchange`; NaN when no size does or the file has none to draw.
double LargestExchangeSize(std::string_view exchange);

/// A DXF file read once, for a page that redraws it at many sizes.
class DxfDocument {
 public:
  explicit DxfDocument(std::string bytes);
  DxfDocument(const DxfDocument&) = delete;
  DxfDocument& operator=(const DxfDocument&) = delete;

  /// Empty when the file was read as ASCII DXF; else why not.
  const std::string& error() const { return error_; }
  int error_line() const { return error_line_; }

  /// Every polyline of the drawing as JSON, in file order: handle, layer,
  /// line, entity name, closed flag, and where its vertices lie in
  /// Vertices() ("points": [first vertex, vertex count]).
  std::string PolylinesJson() const;

  /// The vertices of every polyline, one after the other, as x, y and the
  /// bulge of the piece that starts there.
  std::vector<double> Vertices() const;

  /// How rrensen-dxf with `settings` fillets each polyline (in the order of
  /// PolylinesJson), as JSON: dxf::PlanPolyline's plan for each. Its state:
  /// "filleted", "partly" or "unchanged" (with "closedAfter", its closed
  /// flag as written; "runs", the runs left as they were: their first and
  /// last vertex, the refusal's fields, the library's sentence and the
  /// largest size that fillets the run as it is typed (dxf::TypeableSize)
  /// or null, and as text ("largestText"); and "namesRuns", whether a sentence about it names the run's
  /// vertices), "skipped" (with rrensen-dxf's "code" and "reason"),
  /// "other-layer" or "not-2d". A filleted or partly filleted one says
  /// where its new vertices lie in `after` ("after": [first vertex,
  /// count]); `after` gets x, y, bulge for each. Then the counts:
  /// "filleted", "partly" and "unchanged" (skipped ones with the
  /// unchanged, as rrensen-dxf counts them); and the settings read:
  /// "style" (its name) and "sizeText" (the size with the fewest digits).
  std::string FilletJson(const dxf::Settings& settings, std::vector<double>& after) const;

  /// The largest size, as it is typed, with which rrensen-dxf with
  /// `settings` leaves no run of polyline `index` (in the order of
  /// PolylinesJson) that some size fillets unfilleted
  /// (dxf::LargestPolylineSize). For index -1 the smallest of those of
  /// every polyline that the settings select. NaN when there is none,
  /// infinity when every size does.
  double LargestSize(int index, const dxf::Settings& settings) const;

 private:
  /// `settings` for each polyline: for reliefs, with the cutter's side of
  /// each one with an inside, as rrensen-dxf finds it among the others.
  std::vector<dxf::Settings> SettingsByPolyline(const dxf::Settings& settings) const;

  std::string bytes_;
  dxf::TagList tags_;  ///< views into bytes_
  dxf::Drawing drawing_;
  std::string error_;
  int error_line_ = 0;
};

}  // namespace web

#endif  // RRENSEN_WEB_PAGE_API_H_
