#ifndef RRENSEN_DXF_FILES_H_
#define RRENSEN_DXF_FILES_H_

/// The files a run of rrensen-dxf reads and writes, behind an interface:
/// DiskFiles for the program, MemoryFiles for tests (with faults on
/// demand), and inputs and outputs in memory for the page and the Python
/// module.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/tag_stream.h"

namespace dxf {

/// A file read from its start, as often as asked.
class InputFile : public ByteSource {
 public:
  /// Starts again from the first byte; false when it cannot.
  virtual bool Rewind() = 0;
  /// Whether a read failed, rather than reaching the end.
  virtual bool failed() const = 0;
  /// Its size in bytes, when known before reading.
  virtual std::optional<uint64_t> size() const = 0;
  /// Its bytes, when they are in memory already; else null.
  virtual const std::string* held() const { return nullptr; }
};

/// A file being written.
class OutputFile : public ByteSink {
 public:
  /// Ends the writing: makes the file what was written, whole. False when
  /// that cannot be done; the file is then as it was before.
  virtual bool Commit() = 0;
  /// Empties the file, for a run that writes it again from the start.
  /// False when it cannot be: standard output cannot take back what it gave
  /// out, and is as it was; a file that cannot be made anew can no longer
  /// be written, and its commit fails.
  virtual bool StartOver() { return false; }
};

/// The file operations of a run, on paths as the user gave them.
class Files {
 public:
  virtual ~Files() = default;
  /// Opens `path` for reading; null when it cannot be opened.
  virtual std::unique_ptr<InputFile> Open(const std::string& path) = 0;
  /// Creates `path`, or empties it, for writing; null when it cannot. Its
  /// Commit closes it.
  virtual std::unique_ptr<OutputFile> Create(const std::string& path) = 0;
  /// Renames `from` to `to`, replacing `to` in one step.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  /// Deletes `path`.
  virtual bool Remove(const std::string& path) = 0;

  // Folders, for batches; a store without folders keeps these defaults.
  /// Whether `path` is a folder.
  virtual bool IsFolder(const std::string& /*path*/) { return false; }
  /// The size of file `path` in bytes; none when it cannot be known. By
  /// default the file is opened to ask it.
  virtual std::optional<uint64_t> SizeOf(const std::string& path) {
    const std::unique_ptr<InputFile> input = Open(path);
    return input ? input->size() : std::nullopt;
  }
  /// The drawings below `folder`, at any depth: the files whose names end
  /// in ".dxf" in any case, as paths relative to `folder` with '/' between
  /// names, sorted.
  virtual std::vector<std::string> DrawingsIn(const std::string& /*folder*/) {
    return {};
  }
  /// Makes `folder` and the folders above it that are missing.
  virtual bool MakeFolders(const std::string& /*folder*/) { return true; }
  /// One name for the file or folder at `path`, however the path spells
  /// it (for a file that does not exist yet, its folder's name and its
  /// own), so that two paths to one file compare equal.
  virtual std::string Identity(const std::string& path) { return path; }
};

/// What a file is written as until it is whole: its name and this.
constexpr std::string_view kScratchSuffix = ".rrensen-dxf-part";

/// An output written to a scratch file beside `target` (its name and
/// kScratchSuffix) and renamed over `target` by Commit. A scratch file not
/// committed is removed when the output goes, so that `target` is never
/// seen half-written, a failed run leaves it as it was, and it may be the
/// input itself. When the scratch file cannot be made, writing goes nowhere
/// and Commit fails.
std::unique_ptr<OutputFile> OutputThroughScratch(Files& files,
                                                 const std::string& target);

/// A file whose bytes are in memory.
class BytesInput : public InputFile {
 public:
  /// `bytes` must outlive the input.
  explicit BytesInput(const std::string& bytes) : bytes_(bytes), source_(bytes) {}
  size_t Read(char* buffer, size_t size) override { return source_.Read(buffer, size); }
  bool Rewind() override {
    source_ = StringSource(bytes_);
    return true;
  }
  bool failed() const override { return false; }
  std::optional<uint64_t> size() const override { return bytes_.size(); }
  const std::string* held() const override { return &bytes_; }

 private:
  const std::string& bytes_;
  StringSource source_;
};

/// An output that keeps what was written in memory: `bytes` once
/// committed, empty before.
class BytesOutput : public OutputFile {
 public:
  void Write(std::string_view bytes) override { written_.append(bytes); }
  bool StartOver() override {
    written_.clear();
    return true;
  }
  bool Commit() override {
    bytes_ = std::move(written_);
    committed_ = true;
    return true;
  }
  bool committed() const { return committed_; }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string written_;
  std::string bytes_;
  bool committed_ = false;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_FILES_H_
