#ifndef RRENSEN_WEB_PAGE_API_H_
#define RRENSEN_WEB_PAGE_API_H_

/// What the browser page asks of the programs: whole runs of rrensen over an
/// exchange file in memory, rrensen-dxf over a DXF file's bytes, and the
/// pictures and lists the page shows. Plain C++ over bytes and strings, so
/// that it is tested natively; src/web/bindings.cc hands it to JavaScript.

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/fillet_dxf.h"
#include "dxf/tag_reader.h"

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

/// What rrensen-dxf is asked to do, as its command line would say it.
struct DxfOptions {
  double size = 5.0;          ///< -c SIZE; any size of 0 or more
  std::optional<std::string> layer;  ///< --layer NAME
};

/// One run of `rrensen-dxf -c SIZE [--layer NAME] -o OUT IN`.
struct DxfRun {
  /// rrensen-dxf's exit status: 0 written, 1 nothing to fillet (nothing
  /// written), 2 bad options or a file that is no ASCII DXF.
  int status = 0;
  std::string dxf;     ///< OUT as written; empty when nothing is written
  std::string errors;  ///< standard error, line by line
  /// The JSON-lines report, one object a line (see DxfReport).
  std::string report;
};

DxfRun FilletDxf(std::string_view input, const DxfOptions& options);

/// The JSON-lines report of a run: one JSON object a line. rrensen-dxf
/// writes none yet, so it is empty; this is the one place that builds it.
std::string DxfReport(const dxf::FilletRun& run);

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

  /// The vertices of every polyline, one after the other, as x, y pairs.
  std::vector<double> Vertices() const;

  /// How rrensen-dxf with `options` fillets each polyline (in the order of
  /// PolylinesJson), as JSON: its state ("filleted", "unchanged",
  /// "other-layer", "not-2d"), for a filleted one its closed flag and where
  /// its new vertices lie in `after` ("after": [first vertex, count]), for
  /// one left unchanged the reason rrensen-dxf gives and the refusal's
  /// fields; and the counts. `after` gets x, y, bulge for each new vertex.
  std::string FilletJson(const DxfOptions& options, std::vector<double>& after) const;

  /// The largest fillet size with which polyline `index` (in the order of
  /// PolylinesJson) is filleted; for index -1 the largest with which every
  /// polyline that options.layer selects and some size fillets is filleted.
  /// NaN when there is none, infinity when every size fillets it.
  double LargestSize(int index, const DxfOptions& options) const;

 private:
  /// Whether polyline `p` is one that rrensen-dxf with `options` fillets
  /// (or reports as left unchanged).
  bool Selected(const dxf::Polyline& p, const DxfOptions& options) const;

  std::string bytes_;
  dxf::TagList tags_;  ///< views into bytes_
  dxf::Drawing drawing_;
  std::string error_;
  int error_line_ = 0;
};

}  // namespace web

#endif  // RRENSEN_WEB_PAGE_API_H_
