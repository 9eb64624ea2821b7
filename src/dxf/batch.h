#ifndef RRENSEN_DXF_BATCH_H_
#define RRENSEN_DXF_BATCH_H_

/// A batch: several drawings, or folders of them, each filleted by
/// RunDrawing into one output folder, several at once. Each file's output
/// goes through its own scratch file, so a file that fails, or one cut off
/// by a stop, leaves nothing behind; the others go on.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "dxf/command_line.h"
#include "dxf/files.h"
#include "dxf/run.h"

namespace dxf {

/// The exit status of a batch that was stopped (as a shell reports a
/// program stopped by Ctrl-C).
constexpr int kInterrupted = 130;

/// One drawing of a batch.
struct BatchFile {
  std::string input;   ///< the path it is read from
  std::string name;    ///< its path below the folder given, or its own name
  std::string output;  ///< the output folder and `name`
  uint64_t bytes = 0;  ///< its size, for the progress (0 when unknown)
};

/// The drawings a command line names, or why it names no batch that can
/// run.
struct BatchPlan {
  std::vector<BatchFile> files;
  std::string error;
};

/// Whether `line` asks for a batch: more than one input, or a folder.
bool IsBatch(const CommandLine& line, Files& files);

/// The drawings of `line`'s inputs: a file as itself, a folder as every
/// drawing below it (those below the output folder aside: they are an
/// earlier batch's outputs). Refuses a batch without an output folder
/// (unless a dry run), with no drawing, with two drawings of one output
/// name, or with an output that is one of the inputs.
BatchPlan PlanBatch(const CommandLine& line, Files& files);

/// How far a batch has come.
struct BatchProgress {
  size_t files_done = 0;
  size_t files = 0;
  uint64_t bytes_done = 0;
  uint64_t bytes = 0;
  double seconds = 0.0;  ///< since the batch began
};

/// The progress as one line: "12/200 files, 3.4/120.0 MB, 0:41 left".
std::string ProgressText(const BatchProgress& progress);

/// Where a batch shows its progress: on a terminal, a line redrawn in
/// place. Called from one thread at a time.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void Show(const std::string& text) = 0;
  /// Ends the line, so that what follows starts on a new one.
  virtual void End() = 0;
};

/// What a batch needs beyond its files.
struct BatchEnvironment {
  int jobs = 1;  ///< drawings filleted at once
  /// Where the progress goes (redrawn at least every half second), or
  /// null for none.
  ProgressView* progress = nullptr;
  /// Set, by Ctrl-C say, to stop: no other drawing begins, none that has
  /// not been written whole is written, and the status is kInterrupted.
  const std::atomic<bool>* stop = nullptr;
};

/// Fillets the drawings of `line` (a batch: IsBatch) into -o's folder, and
/// says one summary: the files, the polylines and chains, and each file
/// that failed with why. With --report, one JSON line per polyline or
/// chain, its file first ("file": its name). Returns the worst file's
/// status, or kInterrupted.
int RunBatch(const CommandLine& line, Files& files, Messages& messages,
             const BatchEnvironment& environment);

}  // namespace dxf

#endif  // RRENSEN_DXF_BATCH_H_
