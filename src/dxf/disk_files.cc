#include "dxf/disk_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace dxf {
namespace {

/// Closes a C file when it goes.
struct FileCloser {
  // A file closed here is one given up on: its fault no longer matters.
  void operator()(std::FILE* file) const { static_cast<void>(std::fclose(file)); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class DiskInput : public InputFile {
 public:
  DiskInput(File file, std::optional<uint64_t> size)
      : file_(std::move(file)), size_(size) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t read = std::fread(buffer, 1, size, file_.get());
    if (read < size && std::ferror(file_.get())) failed_ = true;
    return read;
  }
  bool Rewind() override { return std::fseek(file_.get(), 0, SEEK_SET) == 0; }
  bool failed() const override { return failed_; }
  std::optional<uint64_t> size() const override { return size_; }

 private:
  File file_;
  std::optional<uint64_t> size_;
  bool failed_ = false;
};

class DiskOutput : public OutputFile {
 public:
  explicit DiskOutput(File file) : file_(std::move(file)) {}
  void Write(std::string_view bytes) override {
    if (!file_) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
      failed_ = true;
    }
  }
  bool Commit() override {
    if (!file_) return false;
    return std::fclose(file_.release()) == 0 && !failed_;
  }

 private:
  File file_;
  bool failed_ = false;
};

class StandardOutputFile : public OutputFile {
 public:
  StandardOutputFile() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // keep the file's line ends
#endif
  }
  void Write(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
      failed_ = true;
    }
  }
  bool Commit() override { return std::fflush(stdout) == 0 && !failed_; }

 private:
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<InputFile> DiskFiles::Open(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return nullptr;
  return std::make_unique<DiskInput>(std::move(file), SizeOf(path));
}

std::optional<uint64_t> DiskFiles::SizeOf(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  return static_cast<uint64_t>(size);
}

std::unique_ptr<OutputFile> DiskFiles::Create(const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return nullptr;
  return std::make_unique<DiskOutput>(std::move(file));
}

bool DiskFiles::Rename(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

bool DiskFiles::Remove(const std::string& path) {
  return std::remove(path.c_str()) == 0;
}

bool DiskFiles::IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

std::vector<std::string> DiskFiles::DrawingsIn(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> found;
  std::error_code error;
  const fs::path root(folder);
  for (fs::recursive_directory_iterator it(root, error), end;
       !error && it != end; it.increment(error)) {
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    std::string extension = it->path().extension().string();
    for (char& c : extension) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension != ".dxf") continue;
    found.push_back(it->path().lexically_relative(root).generic_string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool DiskFiles::MakeFolders(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return !error && IsFolder(folder);
}

std::string DiskFiles::Identity(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical =
      std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.generic_string();
}

std::unique_ptr<OutputFile> StandardOutput() {
  return std::make_unique<StandardOutputFile>();
}

}  // namespace dxf
