#ifndef RRENSEN_DXF_RUN_H_
#define RRENSEN_DXF_RUN_H_

/// One whole run of rrensen-dxf over a drawing: it reads the input, writes
/// the drawing and the report, says on standard error what it did and
/// decides the exit status. The program (main.cc) only opens files and
/// hands them over; the page and the Python module run it over bytes in
/// memory (RunOnBytes) and get the same bytes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dxf/command_line.h"
#include "dxf/files.h"
#include "dxf/fillet_dxf.h"
#include "dxf/settings.h"

namespace dxf {

/// A drawing that needs two passes (most need one, read a piece at a time)
/// is read once and held in memory up to this size; a larger one is read
/// twice, a piece at a time, in memory bounded by its largest entity.
constexpr uint64_t kReadOnceBytes = uint64_t{64} << 20;

/// What a run in one pass over a drawing read in pieces holds of its
/// messages, at most, until the drawing is known to read; one that says
/// more is read in two passes.
constexpr size_t kHeldMessageBytes = size_t{4} << 20;

/// Receives the lines a run says, for standard error, as it says them.
class Messages {
 public:
  virtual ~Messages() = default;
  /// One line, without the program's name before it or a line end.
  virtual void Say(std::string_view line) = 0;
};

/// Keeps what a run says as standard error shows it: "rrensen-dxf: ", the
/// line and a line end, for each line.
class MessageText : public Messages {
 public:
  void Say(std::string_view line) override;
  std::string text;
};

/// The exit statuses: every polyline and chain filleted (or none to
/// fillet); some left unchanged or filleted only in part; bad usage, a file
/// that cannot be read as ASCII DXF, or an output that cannot be written.
constexpr int kAllFilleted = 0;
constexpr int kSomeLeft = 1;
constexpr int kFailed = 2;

/// What a run is asked to do, beyond the files.
struct RunRequest {
  Settings settings;
  /// Fillet and report, but write no drawing.
  bool dry_run = false;
  /// The names the messages give the input, the drawing's output and the
  /// report's.
  std::string input_name;
  std::string drawing_name = "standard output";
  std::string report_name;
  /// Threads for the drawing's polylines besides the run's own; none for
  /// one thread. The bytes are the same either way.
  Workers* workers = nullptr;
};

/// Says the counts for people: polylines, and with `join` chains.
void SayCounts(const RunCounts& counts, bool dry_run, bool join,
               Messages& messages);

/// Runs rrensen-dxf over `input`: the drawing to `drawing` (none with
/// dry_run), the report's JSON lines to `report` (when not null), every
/// message to `messages`; returns the exit status. Nothing is committed
/// unless the run succeeds (status 0 or 1), and the drawing before the
/// report; the input is let go before either is committed, so that an
/// output may replace it.
/// `counts`, when not null, receives the counts of a run that read the
/// input.
int RunDrawing(std::unique_ptr<InputFile> input, OutputFile* drawing,
               OutputFile* report, const RunRequest& request,
               Messages& messages, RunCounts* counts = nullptr);

/// RunDrawing over bytes in memory, with every output in memory.
struct BytesRun {
  int status = kAllFilleted;
  /// The drawing as written; empty for a dry run and for status 2.
  std::string drawing;
  /// The JSON-lines report, one line a polyline or chain; empty for
  /// status 2.
  std::string report;
  /// Standard error: "rrensen-dxf: " and each line the run said.
  std::string messages;
};
BytesRun RunOnBytes(const std::string& bytes, const RunRequest& request);

/// rrensen-dxf as `line` asks (a line without an error; --help and
/// --version are the caller's), over `files`: the input opened, the drawing
/// written through a scratch file to -o's file (OutputThroughScratch) or
/// to `standard_output`, the report through a scratch file.
int RunCommandLine(const CommandLine& line, Files& files,
                   OutputFile& standard_output, Messages& messages,
                   Workers* workers = nullptr);

/// The message for a command line whose words are wrong: `error`, and where
/// to read more.
std::string UsageError(const std::string& error);

}  // namespace dxf

#endif  // RRENSEN_DXF_RUN_H_
