#ifndef RRENSEN_DXF_FILLET_DXF_H_
#define RRENSEN_DXF_FILLET_DXF_H_

/// Fillets the corners of every 2-D polyline of an ASCII DXF file with
/// rrensen::FilletPolyline (straight runs filleted, arcs kept), and on
/// request first chains its LINE and ARC entities into polylines, and writes
/// the file again, every other tag byte for byte as it was.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/plan.h"
#include "dxf/report_json.h"
#include "dxf/settings.h"
#include "dxf/tag_stream.h"
#include "dxf/workers.h"
#include "rrensen/polyline.h"

namespace dxf {

/// What became of a run's polylines and chains, counted.
struct RunCounts {
  int filleted = 0;        ///< polylines with every run filleted
  int partly = 0;          ///< polylines with some runs left as they were
  int left_unchanged = 0;  ///< polylines left as they were (or skipped)
  /// Chains: every run filleted, some runs left, none filleted (left as
  /// their pieces, or skipped).
  int chains_filleted = 0;
  int chains_partly = 0;
  int chains_left = 0;
  /// The polylines written for chains, and the LINE and ARC entities they
  /// took.
  int joined_polylines = 0;
  int joined_lines = 0;
  int joined_arcs = 0;
  RunCounts& operator+=(const RunCounts& other);
  /// Whether some polyline or chain was left, whole or in part.
  bool SomeLeft() const {
    return partly + left_unchanged + chains_partly + chains_left > 0;
  }
};

/// What a run did: its counts, and
struct FilletRun : RunCounts {
  /// Empty when the file was read; else why not, and the line at fault
  /// (0 when none).
  std::string error;
  int error_line = 0;
  /// The file with its polylines filleted where they could be and unchanged
  /// elsewhere.
  std::string output;
  /// What became of each polyline considered (on the layer asked for, and
  /// 2-D) and of each chain, in file order (a chain where its first piece
  /// was).
  std::vector<OutlineReport> outlines;
  /// The lines for standard error (Prose) on each polyline or chain not
  /// wholly filleted, in file order.
  std::vector<std::string> reports;
  int rewritten = 0;  ///< entities whose tags were written anew
};

/// Reads the ASCII DXF `bytes`, fillets its polylines and writes the file,
/// with a FilletJob: the run's `output`, `outlines` and `reports` hold all
/// of it.
FilletRun FilletDrawing(std::string_view bytes, const Settings& settings);

/// What a FilletJob's survey finds, for its writing (fillet_dxf.cc).
struct FilletPlan;

/// Receives what a run finds, as it finds it, in file order.
class RunListener {
 public:
  virtual ~RunListener() = default;
  /// What became of a polyline or chain considered.
  virtual void OnOutline(const OutlineReport& report) = 0;
  /// Whether it can hold no more of what it is told: a run in one pass
  /// (FilletJob::WriteAtOnce) then stops.
  virtual bool Full() const { return false; }
};

/// Fillets a drawing in one pass over its bytes (WriteAtOnce) when it can,
/// else in two, holding no more of it than its largest entity (and, with
/// --join, its lines and arcs):
///
/// 1. Survey reads the whole file: its tags, its structure and the numbers
///    of the entities read must be sound, so that a file that is not is
///    refused before a byte is written. It notes what the writing must know
///    before it starts: the file's version, where $HANDSEED is, the first
///    free handle and how many new handles the writing will give out
///    (which $HANDSEED, in the header, must count: only the vertex-list
///    polylines' new vertices take handles, so only those are planned
///    here); with --join it chains and fillets the lines and arcs.
/// 2. Write reads the same bytes again, plans each other polyline
///    (PlanPolyline), writes each entity as it goes and tells a RunListener
///    what became of each.
///
/// The survey reads lightweight polylines for their values only (their tags
/// are let go as they are read). With `keep_plans`, for a file whose bytes
/// are held in memory for the two passes, it keeps the vertex-list polylines' plans and
/// those of the long lightweight ones for the writing, so that every
/// polyline is filleted once and a long one's tags are held only when it
/// is rewritten. Without, the writing plans those again and memory stays
/// bounded by the largest entity.
///
/// The bytes written are FilletDrawing's, whatever the size of the chunks
/// the sources give.
class FilletJob {
 public:
  /// The bytes read from a source at a time by default: a quarter of a MiB
  /// keeps the buffer's pages few (each is faulted in once) and the reads
  /// still few.
  static constexpr size_t kChunkBytes = size_t{1} << 18;
  /// `chunk`: the bytes read from a source at a time (the buffer grows to
  /// hold the largest entity whatever it is); small ones are for tests.
  /// `workers`: threads that read, plan and write the lightweight polylines
  /// of a run in one pass while this one splits tags on (the bytes are the
  /// same).
  explicit FilletJob(const Settings& settings, size_t chunk = kChunkBytes,
                     bool keep_plans = false, Workers* workers = nullptr);
  ~FilletJob();
  FilletJob(const FilletJob&) = delete;
  FilletJob& operator=(const FilletJob&) = delete;

  /// For reliefs (dogbones, T-bones), a pass before all others: which
  /// outlines with an inside are holes (Holes), the cutter running inside
  /// them and outside the others. False when the bytes do not read (the
  /// survey then says why).
  bool Nest(ByteSource& source);
  bool Nest(std::string_view bytes);

  /// The first pass, over all of `source`. False when the bytes are not a
  /// readable ASCII DXF file; `error` and `error_line` then say why.
  bool Survey(ByteSource& source);
  /// The same over bytes in memory, which are read where they lie.
  bool Survey(std::string_view bytes);
  const std::string& error() const;
  int error_line() const;

  /// The second pass, after Survey: `source` gives the same bytes again from
  /// the start. Writes the file to `sink` (nothing when null) and tells
  /// `listener` of every polyline and chain; the run's `output`, `outlines`
  /// and `reports` stay empty. Its `error` is set when the bytes are not
  /// the ones surveyed.
  FilletRun Write(ByteSource& source, ByteSink* sink, RunListener& listener);
  FilletRun Write(std::string_view bytes, ByteSink* sink,
                  RunListener& listener);

  /// Both passes in one, for a file whose writing needs nothing that only a
  /// survey finds: as Write after Survey. Or none when the file needs the
  /// two passes; `sink` and `listener` then have had the start of the run,
  /// which the caller takes back. A file needs them with --join
  /// (MayWriteAtOnce), when a vertex-list polyline is rewritten (its new
  /// vertices take handles, which $HANDSEED before them must count), when a
  /// lightweight polyline says it is long (the survey plans it from its
  /// values, holding none of its tags), when it does not read (the survey
  /// says why) and when `listener` says it is full (it holds what it was
  /// told until the run is known to read).
  /// Over bytes in memory, which are read where they lie:
  std::optional<FilletRun> WriteAtOnce(std::string_view bytes, ByteSink* sink,
                                       RunListener& listener);
  /// Over all of `source`, holding no more of it than its largest entity;
  /// after none, the caller rewinds it for the two passes.
  std::optional<FilletRun> WriteAtOnce(ByteSource& source, ByteSink* sink,
                                       RunListener& listener);
  /// Whether WriteAtOnce may do: not with --join, whose chains only a survey
  /// finds.
  bool MayWriteAtOnce() const;

 private:
  std::optional<FilletRun> WriteAtOnce(TagStream& stream, ByteSink* sink,
                                       RunListener& listener);
  bool Nest(TagStream& stream);
  bool Survey(TagStream& stream);
  FilletRun Write(TagStream& stream, ByteSink* sink, RunListener& listener);

  std::unique_ptr<FilletPlan> plan_;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_FILLET_DXF_H_
