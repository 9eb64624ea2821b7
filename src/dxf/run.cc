#include "dxf/run.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dxf/fillet_dxf.h"
#include "dxf/plan.h"
#include "dxf/report_json.h"
#include "geometry/fillet_rules.h"

namespace dxf {
namespace {

/// Says each outline not wholly filleted, and writes the report's lines,
/// when one is asked for, to `report`. It says them as they come, or
/// holds them until Flush for a pass that may start over.
class Teller : public RunListener {
 public:
  Teller(Messages& messages, OutputFile* report)
      : messages_(messages), report_(report) {}
  void OnOutline(const OutlineReport& outline) override {
    for (std::string& line : Prose(outline)) {
      if (holding_) {
        held_bytes_ += line.size();
        held_.push_back(std::move(line));
      } else {
        messages_.Say(line);
      }
    }
    if (report_ == nullptr) return;
    text_ += ReportLine(outline);
    text_ += "\n";
    if (text_.size() >= kFlushBytes) Write();
  }
  /// From now on, holds what it says, until it holds `limit` bytes.
  void Hold(size_t limit) {
    holding_ = true;
    limit_ = limit;
  }
  bool Full() const override { return holding_ && held_bytes_ >= limit_; }
  /// Forgets what it was told, and says what it is told from now on; false
  /// when the report cannot start over.
  bool StartOver() {
    held_.clear();
    held_bytes_ = 0;
    holding_ = false;
    text_.clear();
    return report_ == nullptr || report_->StartOver();
  }
  void Flush() {
    for (const std::string& line : held_) messages_.Say(line);
    held_.clear();
    held_bytes_ = 0;
    Write();
  }

 private:
  static constexpr size_t kFlushBytes = size_t{1} << 20;
  void Write() {
    if (report_ != nullptr) report_->Write(text_);
    text_.clear();
  }
  Messages& messages_;
  OutputFile* report_;
  std::string text_;
  bool holding_ = false;
  size_t limit_ = 0;
  std::vector<std::string> held_;
  size_t held_bytes_ = 0;
};

/// A file's bytes read into memory, not set to anything first.
struct ReadBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
};

/// Reads all of `input` into `bytes`; false on a fault.
bool ReadAll(InputFile& input, ReadBytes& bytes) {
  // One more byte than the file is said to hold, so that its end is seen;
  // a file that grew meanwhile is read on.
  size_t room = static_cast<size_t>(input.size().value_or(0)) + 1;
  bytes.data.reset(new char[room]);
  for (;;) {
    if (bytes.size == room) {
      std::unique_ptr<char[]> larger(new char[2 * room]);
      std::memcpy(larger.get(), bytes.data.get(), bytes.size);
      bytes.data = std::move(larger);
      room *= 2;
    }
    const size_t read =
        input.Read(bytes.data.get() + bytes.size, room - bytes.size);
    if (read == 0) break;
    bytes.size += read;
  }
  return !input.failed();
}

}  // namespace

void SayCounts(const RunCounts& counts, bool dry_run, bool join,
               Messages& messages) {
  const bool dry = dry_run;
  messages.Say(std::to_string(counts.filleted) +
               (dry ? " polylines to fillet, " : " polylines filleted, ") +
               std::to_string(counts.partly) + " partly, " +
               std::to_string(counts.left_unchanged) + " left unchanged");
  if (!join) return;
  messages.Say(
      std::to_string(counts.chains_filleted + counts.chains_partly +
                     counts.chains_left) +
      " chains of lines and arcs: " + std::to_string(counts.chains_filleted) +
      (dry ? " to fillet, " : " filleted, ") +
      std::to_string(counts.chains_partly) + " partly, " +
      std::to_string(counts.chains_left) + " left unchanged; " +
      std::to_string(counts.joined_polylines) +
      (dry ? " polylines to make of " : " polylines made of ") +
      std::to_string(counts.joined_lines) + " lines and " +
      std::to_string(counts.joined_arcs) + " arcs");
}

int RunDrawing(std::unique_ptr<InputFile> input, OutputFile* drawing,
               OutputFile* report, const RunRequest& request,
               Messages& messages, RunCounts* counts) {
  const std::string& name = request.input_name;
  auto cannot_read = [&](const std::string& why) {
    messages.Say("cannot read '" + name + "'" + (why.empty() ? "" : ": " + why));
    return kFailed;
  };
  // Most drawings are written in one pass, read a piece at a time, into
  // outputs that can start over for the few that need two (standard output
  // cannot). The two passes run over the bytes of a drawing that fits in
  // memory comfortably, read once; a larger one is read twice.
  ReadBytes read;
  std::optional<std::string_view> bytes;
  if (const std::string* held = input->held()) bytes = *held;
  const std::optional<uint64_t> size = input->size();
  const bool read_once = bytes || (size && *size <= kReadOnceBytes);
  FilletJob job(request.settings, FilletJob::kChunkBytes, read_once,
                request.workers);
  // Reliefs need to know first which outlines are holes; a file that does
  // not read is refused by the survey below.
  if (geometry::IsRelief(request.settings.style)) {
    if (bytes) {
      job.Nest(*bytes);
    } else {
      job.Nest(*input);
      if (input->failed() || !input->Rewind()) return cannot_read("");
    }
  }
  Teller teller(messages, report);
  OutputFile* sink = request.dry_run ? nullptr : drawing;
  // Empties the outputs; the message when one cannot be.
  auto start_over = [&]() -> std::string {
    if (sink != nullptr && !sink->StartOver()) {
      return "cannot write '" + request.drawing_name + "'";
    }
    if (!teller.StartOver()) {
      return "cannot write the report '" + request.report_name + "'";
    }
    return "";
  };
  std::optional<FilletRun> at_once;
  if (job.MayWriteAtOnce() && start_over().empty()) {
    // What a drawing read in pieces says is held up to a bound, beyond
    // which it is read in two passes, so that its memory stays bounded.
    teller.Hold(bytes ? SIZE_MAX : kHeldMessageBytes);
    at_once = bytes ? job.WriteAtOnce(*bytes, sink, teller)
                    : job.WriteAtOnce(*input, sink, teller);
    if (!at_once) {
      const std::string fault = start_over();
      if (!fault.empty()) {
        messages.Say(fault);
        return kFailed;
      }
      if (!bytes && (input->failed() || !input->Rewind())) {
        return cannot_read("");
      }
    }
  }
  if (!at_once) {
    if (!bytes && read_once) {
      if (!ReadAll(*input, read)) return cannot_read("");
      input.reset();
      bytes = std::string_view(read.data.get(), read.size);
    }
    // The first pass reads the whole file: nothing is written for a file
    // that does not read.
    if (!(bytes ? job.Survey(*bytes) : job.Survey(*input))) {
      if (input && input->failed()) return cannot_read("");
      std::string where = name;
      if (job.error_line() > 0) where += ":" + std::to_string(job.error_line());
      messages.Say(where + ": not a readable ASCII DXF file: " + job.error());
      return kFailed;
    }
    if (!bytes && !input->Rewind()) return cannot_read("");
    at_once = bytes ? job.Write(*bytes, sink, teller)
                    : job.Write(*input, sink, teller);
  }
  const FilletRun& run = *at_once;
  if (input && input->failed()) return cannot_read("");
  teller.Flush();
  if (!run.error.empty()) return cannot_read(run.error);
  input.reset();
  const RunCounts& counted = run;
  if (counts != nullptr) *counts = counted;
  SayCounts(counted, request.dry_run, request.settings.join_gap.has_value(),
            messages);
  // The drawing first, then the report: a report never describes a drawing
  // that is not there.
  if (!request.dry_run && (drawing == nullptr || !drawing->Commit())) {
    messages.Say("cannot write '" + request.drawing_name + "'");
    return kFailed;
  }
  if (report != nullptr && !report->Commit()) {
    messages.Say("cannot write the report '" + request.report_name + "'");
    return kFailed;
  }
  return counted.SomeLeft() ? kSomeLeft : kAllFilleted;
}

BytesRun RunOnBytes(const std::string& bytes, const RunRequest& request) {
  BytesOutput drawing;
  BytesOutput report;
  MessageText messages;
  BytesRun run;
  run.status = RunDrawing(std::make_unique<BytesInput>(bytes), &drawing,
                          &report, request, messages);
  run.drawing = drawing.bytes();
  run.report = report.bytes();
  run.messages = std::move(messages.text);
  return run;
}

int RunCommandLine(const CommandLine& line, Files& files,
                   OutputFile& standard_output, Messages& messages,
                   Workers* workers) {
  const std::string& path = line.inputs.front();
  std::unique_ptr<InputFile> input = files.Open(path);
  if (!input) {
    messages.Say("cannot open '" + path + "'");
    return kFailed;
  }
  RunRequest request;
  request.settings = line.settings;
  request.dry_run = line.dry_run;
  request.input_name = path;
  request.workers = workers;
  std::unique_ptr<OutputFile> to_file;
  OutputFile* drawing = nullptr;
  if (!line.dry_run) {
    if (line.output.empty()) {
      drawing = &standard_output;
    } else {
      request.drawing_name = line.output;
      to_file = OutputThroughScratch(files, line.output);
      drawing = to_file.get();
    }
  }
  std::unique_ptr<OutputFile> report;
  if (!line.report.empty()) {
    request.report_name = line.report;
    report = OutputThroughScratch(files, line.report);
  }
  return RunDrawing(std::move(input), drawing, report.get(), request,
                    messages);
}

void MessageText::Say(std::string_view line) {
  text += "rrensen-dxf: ";
  text += line;
  text += "\n";
}

std::string UsageError(const std::string& error) {
  return error + "\nTry 'rrensen-dxf --help'.";
}

}  // namespace dxf
