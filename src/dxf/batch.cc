#include "dxf/batch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "dxf/json_writer.h"

namespace dxf {
namespace {

/// How often, at the least, the progress line is drawn again.
constexpr std::chrono::milliseconds kProgressEvery{500};

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return EndsWithSeparator(folder) ? folder + name : folder + "/" + name;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool Stopped(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load();
}

/// An input that reads nothing more once the batch is stopped: its run
/// ends as one that cannot be read, and writes nothing.
class StoppableInput : public InputFile {
 public:
  StoppableInput(std::unique_ptr<InputFile> input, const std::atomic<bool>* stop)
      : input_(std::move(input)), stop_(stop) {}
  size_t Read(char* buffer, size_t size) override {
    if (Stopped(stop_)) {
      stopped_ = true;
      return 0;
    }
    return input_->Read(buffer, size);
  }
  bool Rewind() override { return input_->Rewind(); }
  bool failed() const override { return stopped_ || input_->failed(); }
  std::optional<uint64_t> size() const override { return input_->size(); }

 private:
  std::unique_ptr<InputFile> input_;
  const std::atomic<bool>* stop_;
  bool stopped_ = false;
};

/// An output that is not made whole once the batch is stopped: its scratch
/// file goes, and the target stays as it was.
class StoppableOutput : public OutputFile {
 public:
  StoppableOutput(std::unique_ptr<OutputFile> output,
                  const std::atomic<bool>* stop)
      : output_(std::move(output)), stop_(stop) {}
  void Write(std::string_view bytes) override { output_->Write(bytes); }
  bool StartOver() override { return output_->StartOver(); }
  bool Commit() override { return !Stopped(stop_) && output_->Commit(); }

 private:
  std::unique_ptr<OutputFile> output_;
  const std::atomic<bool>* stop_;
};

/// The lines a run says, kept.
class SaidLines : public Messages {
 public:
  void Say(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

/// What became of one drawing.
struct Outcome {
  bool finished = false;  ///< run to its end, not cut off by a stop
  int status = kAllFilleted;
  RunCounts counts;
  std::vector<std::string> said;
  std::string report;
};

Outcome FilletOne(const BatchFile& file, const CommandLine& line,
                  Files& files, const std::atomic<bool>* stop) {
  Outcome outcome;
  SaidLines said;
  std::unique_ptr<InputFile> input = files.Open(file.input);
  if (!input) {
    outcome.finished = true;
    outcome.status = kFailed;
    outcome.said = {"cannot open '" + file.input + "'"};
    return outcome;
  }
  RunRequest request;
  request.settings = line.settings;
  request.dry_run = line.dry_run;
  request.input_name = file.input;
  request.drawing_name = file.output;
  request.report_name = line.report;
  std::unique_ptr<OutputFile> drawing;
  if (!line.dry_run) {
    const std::string folder = FolderOf(file.output);
    if (!folder.empty() && !files.MakeFolders(folder)) {
      outcome.finished = true;
      outcome.status = kFailed;
      outcome.said = {"cannot make the folder '" + folder + "'"};
      return outcome;
    }
    drawing = std::make_unique<StoppableOutput>(
        OutputThroughScratch(files, file.output), stop);
  }
  BytesOutput report;
  outcome.status = RunDrawing(
      std::make_unique<StoppableInput>(std::move(input), stop), drawing.get(),
      line.report.empty() ? nullptr : &report, request, said, &outcome.counts);
  outcome.finished = !(outcome.status == kFailed && Stopped(stop));
  outcome.said = std::move(said.lines);
  outcome.report = report.bytes();
  return outcome;
}

/// Each line of a file's report with "file" first.
std::string ReportWithFile(const std::string& report, const std::string& name) {
  JsonWriter json;
  json.String(name);
  const std::string key = "{\"file\":" + json.text() + ",";
  std::string lines;
  size_t begin = 0;
  while (begin < report.size()) {
    size_t end = report.find('\n', begin);
    if (end == std::string::npos) end = report.size();
    // Every line is an object with at least one member.
    lines += key;
    lines.append(report, begin + 1, end - begin - 1);
    lines += "\n";
    begin = end + 1;
  }
  return lines;
}

}  // namespace

bool IsBatch(const CommandLine& line, Files& files) {
  return line.inputs.size() > 1 ||
         (line.inputs.size() == 1 && files.IsFolder(line.inputs.front()));
}

BatchPlan PlanBatch(const CommandLine& line, Files& files) {
  BatchPlan plan;
  if (line.output.empty() && !line.dry_run) {
    plan.error =
        "several drawings need -o OUTDIR, the folder their outputs go to";
    return plan;
  }
  const std::string out_folder =
      line.output.empty() ? std::string() : files.Identity(line.output);
  auto below_output = [&](const std::string& identity) {
    return !out_folder.empty() &&
           identity.compare(0, out_folder.size() + 1, out_folder + "/") == 0;
  };
  std::vector<std::string> identities;
  for (const std::string& given : line.inputs) {
    if (files.IsFolder(given)) {
      for (const std::string& name : files.DrawingsIn(given)) {
        const std::string path = JoinPath(given, name);
        const std::string identity = files.Identity(path);
        if (below_output(identity)) continue;
        plan.files.push_back({path, name, "", 0});
        identities.push_back(identity);
      }
    } else {
      plan.files.push_back({given, BaseName(given), "", 0});
      identities.push_back(files.Identity(given));
    }
  }
  if (plan.files.empty()) {
    plan.error = "no drawings (*.dxf) in the folders given";
    return plan;
  }
  std::map<std::string, const BatchFile*> by_output;
  for (BatchFile& file : plan.files) {
    file.bytes = files.SizeOf(file.input).value_or(0);
    if (line.dry_run) continue;
    file.output = JoinPath(line.output, file.name);
    const std::string identity = files.Identity(file.output);
    const auto [other, fresh] = by_output.emplace(identity, &file);
    if (!fresh) {
      plan.error = "'" + other->second->input + "' and '" + file.input +
                   "' would both be written to '" + file.output + "'";
      return plan;
    }
    if (std::find(identities.begin(), identities.end(), identity) !=
        identities.end()) {
      plan.error = "'" + file.output + "' would be written over an input";
      return plan;
    }
  }
  return plan;
}

std::string ProgressText(const BatchProgress& progress) {
  char text[160];
  const double megabytes_done = static_cast<double>(progress.bytes_done) / 1e6;
  const double megabytes = static_cast<double>(progress.bytes) / 1e6;
  int length = std::snprintf(text, sizeof text, "%zu/%zu files, %.1f/%.1f MB",
                             progress.files_done, progress.files,
                             megabytes_done, megabytes);
  // The time left, from the bytes done so far (from the files when their
  // sizes are unknown).
  double done = static_cast<double>(progress.bytes_done);
  double total = static_cast<double>(progress.bytes);
  if (progress.bytes == 0) {
    done = static_cast<double>(progress.files_done);
    total = static_cast<double>(progress.files);
  }
  if (done > 0 && done < total && length > 0) {
    const double left = progress.seconds * (total - done) / done;
    const long seconds = std::lround(left);
    static_cast<void>(std::snprintf(
        text + length, sizeof text - static_cast<size_t>(length),
        ", %ld:%02ld left", seconds / 60, seconds % 60));
  }
  return text;
}

int RunBatch(const CommandLine& line, Files& files, Messages& messages,
             const BatchEnvironment& environment) {
  const BatchPlan plan = PlanBatch(line, files);
  if (!plan.error.empty()) {
    messages.Say(plan.error);
    return kFailed;
  }
  const size_t count = plan.files.size();
  BatchProgress progress;
  progress.files = count;
  for (const BatchFile& file : plan.files) progress.bytes += file.bytes;

  std::vector<Outcome> outcomes(count);
  std::mutex mutex;
  std::condition_variable changed;
  size_t next = 0;
  size_t working = static_cast<size_t>(std::max(1, environment.jobs));
  working = std::min(working, count);
  auto work = [&] {
    for (;;) {
      size_t index = 0;
      {
        const std::lock_guard<std::mutex> lock(mutex);
        if (next == count || Stopped(environment.stop)) break;
        index = next++;
      }
      Outcome outcome =
          FilletOne(plan.files[index], line, files, environment.stop);
      const std::lock_guard<std::mutex> lock(mutex);
      if (outcome.finished) {
        ++progress.files_done;
        progress.bytes_done += plan.files[index].bytes;
      }
      outcomes[index] = std::move(outcome);
    }
    const std::lock_guard<std::mutex> lock(mutex);
    --working;
    changed.notify_all();
  };
  const auto start = std::chrono::steady_clock::now();
  if (environment.progress != nullptr) {
    environment.progress->Show(ProgressText(progress));
  }
  std::vector<std::thread> workers;
  const size_t started = working;
  for (size_t k = 0; k < started; ++k) workers.emplace_back(work);
  {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait_for(lock, kProgressEvery, [&] { return working == 0; });
      if (environment.progress != nullptr) {
        progress.seconds = std::chrono::duration<double>(
                               std::chrono::steady_clock::now() - start)
                               .count();
        environment.progress->Show(ProgressText(progress));
      }
      if (working == 0) break;
    }
  }
  for (std::thread& worker : workers) worker.join();
  if (environment.progress != nullptr) environment.progress->End();

  // The summary, and the report in the inputs' order.
  RunCounts counts;
  int status = kAllFilleted;
  size_t failed = 0;
  size_t finished = 0;
  std::string report;
  for (size_t k = 0; k < count; ++k) {
    const Outcome& outcome = outcomes[k];
    if (!outcome.finished) continue;
    ++finished;
    status = std::max(status, outcome.status);
    if (outcome.status == kFailed) {
      ++failed;
      continue;
    }
    counts += outcome.counts;
    report += ReportWithFile(outcome.report, plan.files[k].name);
  }
  const bool interrupted = Stopped(environment.stop);
  std::string files_line =
      std::to_string(count) + " files: " + std::to_string(finished - failed) +
      (line.dry_run ? " read, " : " written, ") + std::to_string(failed) +
      " failed";
  if (interrupted) {
    files_line += ", " + std::to_string(count - finished) +
                  " not finished (interrupted)";
  }
  messages.Say(files_line);
  SayCounts(counts, line.dry_run, line.settings.join_gap.has_value(), messages);
  for (const Outcome& outcome : outcomes) {
    if (!outcome.finished || outcome.status != kFailed) continue;
    for (const std::string& said : outcome.said) messages.Say(said);
  }
  if (!line.report.empty()) {
    const std::unique_ptr<OutputFile> out =
        OutputThroughScratch(files, line.report);
    out->Write(report);
    if (!out->Commit()) {
      messages.Say("cannot write the report '" + line.report + "'");
      status = kFailed;
    }
  }
  return interrupted ? kInterrupted : status;
}

}  // namespace dxf
