// rrensen-dxf: fillets the corners of the polylines of an ASCII DXF file.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "dxf/command_line.h"
#include "dxf/fillet_dxf.h"
#include "dxf/join.h"

namespace {

/// Largest input file read, in bytes: DXF files are untrusted input.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{256} * 1024 * 1024;

int Fail(const std::string& message) {
  std::cerr << "rrensen-dxf: " << message << "\n";
  return 2;
}

/// Closes a C file when it goes.
struct FileCloser {
  // A file closed here is one given up on: its fault no longer matters.
  void operator()(std::FILE* file) const { static_cast<void>(std::fclose(file)); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

/// The input file, read from the start once for each pass.
class FileSource : public dxf::ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t read = std::fread(buffer, 1, size, file_);
    if (read < size && std::ferror(file_)) failed_ = true;
    return read;
  }
  bool Rewind() { return std::fseek(file_, 0, SEEK_SET) == 0; }
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

/// A file written in the blocks it is given.
class FileSink : public dxf::ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  void Write(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      failed_ = true;
    }
  }
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

/// Says each polyline left or partly filleted on standard error as it comes,
/// and writes the report's lines, when one is asked for, to `report`.
class Listener : public dxf::RunListener {
 public:
  explicit Listener(FileSink* report) : report_(report) {}
  void OnOutline(const dxf::OutlineReport& outline) override {
    if (report_ == nullptr) return;
    text_ += dxf::ReportLine(outline);
    text_ += "\n";
    if (text_.size() >= kFlushBytes) Flush();
  }
  void OnProse(const std::string& line) override {
    std::cerr << "rrensen-dxf: " << line << "\n";
  }
  void Flush() {
    if (report_ != nullptr) report_->Write(text_);
    text_.clear();
  }

 private:
  static constexpr size_t kFlushBytes = size_t{1} << 20;
  FileSink* report_;
  std::string text_;
};

/// A file written through a scratch file beside it, which takes its name
/// when it is whole: the file is never seen half-written, and may be the
/// one read.
class ScratchFile {
 public:
  explicit ScratchFile(std::string path)
      : path_(std::move(path)),
        scratch_(path_ + ".rrensen-dxf-part"),
        file_(std::fopen(scratch_.c_str(), "wb")),
        sink_(file_.get()) {}
  ~ScratchFile() {
    if (file_) {
      file_.reset();
      static_cast<void>(std::remove(scratch_.c_str()));
    }
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  /// Null when the scratch file could not be made.
  FileSink* sink() { return file_ ? &sink_ : nullptr; }
  /// Closes the scratch file and gives it the file's name; false when
  /// something failed, and then neither is left.
  bool Keep() {
    if (!file_) return false;
    bool kept = std::fclose(file_.release()) == 0 && !sink_.failed();
    if (kept) {
      std::error_code error;
      std::filesystem::rename(scratch_, path_, error);
      kept = !error;
    }
    if (!kept) static_cast<void>(std::remove(scratch_.c_str()));
    return kept;
  }

 private:
  std::string path_;
  std::string scratch_;
  File file_;
  FileSink sink_;
};

/// Whether `output` names the file `input` (which is then written through a
/// scratch file, since it is read while the output is written).
bool SameFile(const std::string& input, const std::string& output) {
  std::error_code error;
  return std::filesystem::equivalent(input, output, error) && !error;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  dxf::CommandLine line = dxf::ParseCommandLine(words);
  if (line.help) {
    std::cout << dxf::kUsage;
    return 0;
  }
  if (line.version) {
    std::cout << "rrensen-dxf " << RRENSEN_VERSION << "\n";
    return 0;
  }
  if (!line.error.empty()) {
    return Fail(line.error + "\nTry 'rrensen-dxf --help'.");
  }

  File input(std::fopen(line.input.c_str(), "rb"));
  if (!input) return Fail("cannot open '" + line.input + "'");
  std::error_code size_error;
  if (std::filesystem::file_size(line.input, size_error) > kMaxFileBytes &&
      !size_error) {
    return Fail("'" + line.input + "' is larger than 256 MiB");
  }
  FileSource source(input.get());

  dxf::FilletSettings settings;
  settings.size = line.size;
  settings.style = line.style;
  settings.layer = line.layer;
  settings.close_gap = line.close_gap;
  if (line.join) {
    settings.join_gap = line.join_gap.value_or(dxf::kDefaultJoinGap);
  }
  dxf::FilletJob job(settings);
  // The first pass reads the whole file: nothing is written for a file that
  // does not read.
  if (!job.Survey(source)) {
    if (source.failed()) return Fail("cannot read '" + line.input + "'");
    std::string where = line.input;
    if (job.error_line() > 0) where += ":" + std::to_string(job.error_line());
    return Fail(where + ": not a readable ASCII DXF file: " + job.error());
  }
  if (!source.Rewind()) return Fail("cannot read '" + line.input + "'");

  // The drawing goes to -o's file (through a scratch file beside it when
  // that is the input), to standard output, or nowhere with --dry-run. A
  // file that cannot be opened is said so after the polylines, as one that
  // cannot be written.
  const bool through_scratch =
      !line.dry_run && !line.output.empty() && SameFile(line.input, line.output);
  const std::string target =
      line.output.empty() ? std::string("standard output") : line.output;
  std::unique_ptr<ScratchFile> scratch;
  File output;
  std::FILE* out = nullptr;
  if (!line.dry_run && !through_scratch) {
    if (line.output.empty()) {
#ifdef _WIN32
      _setmode(_fileno(stdout), _O_BINARY);  // keep the file's line ends
#endif
      out = stdout;
    } else {
      output.reset(std::fopen(line.output.c_str(), "wb"));
      out = output.get();
    }
  }
  FileSink direct(out);
  FileSink* sink = out != nullptr ? &direct : nullptr;
  if (through_scratch) {
    scratch = std::make_unique<ScratchFile>(line.output);
    sink = scratch->sink();
  }
  const bool unwritable = !line.dry_run && sink == nullptr;
  // The report goes through a scratch file, which takes its name only once
  // the drawing is written: a report never describes a drawing that is not
  // there.
  std::unique_ptr<ScratchFile> report;
  if (!line.report.empty()) report = std::make_unique<ScratchFile>(line.report);
  Listener listener(report ? report->sink() : nullptr);
  dxf::FilletRun run = job.Write(source, sink, listener);
  listener.Flush();
  if (!run.error.empty() || source.failed()) {
    return Fail("cannot read '" + line.input + "': " +
                (run.error.empty() ? std::string("a fault") : run.error));
  }

  std::cerr << "rrensen-dxf: " << run.filleted
            << (line.dry_run ? " polylines to fillet, " : " polylines filleted, ")
            << run.partly << " partly, " << run.left_unchanged
            << " left unchanged\n";
  if (settings.join_gap) {
    std::cerr << "rrensen-dxf: "
              << run.chains_filleted + run.chains_partly + run.chains_left
              << " chains of lines and arcs: " << run.chains_filleted
              << (line.dry_run ? " to fillet, " : " filleted, ")
              << run.chains_partly << " partly, " << run.chains_left
              << " left unchanged; " << run.joined_polylines
              << (line.dry_run ? " polylines to make of "
                               : " polylines made of ")
              << run.joined_lines << " lines and " << run.joined_arcs
              << " arcs\n";
  }
  // The drawing first, then the report.
  if (unwritable) return Fail("cannot write '" + target + "'");
  if (sink != nullptr) {
    bool written = !direct.failed();
    if (scratch) {
      written = scratch->Keep();
    } else if (output) {
      written = std::fclose(output.release()) == 0 && written;
    } else {
      written = std::fflush(stdout) == 0 && written;
    }
    if (!written) return Fail("cannot write '" + target + "'");
  }
  if (report && !report->Keep()) {
    return Fail("cannot write the report '" + line.report + "'");
  }
  const int left =
      run.partly + run.left_unchanged + run.chains_partly + run.chains_left;
  return left == 0 ? 0 : 1;
}
