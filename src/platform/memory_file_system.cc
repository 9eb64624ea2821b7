#include "platform/memory_file_system.h"

namespace platform {
namespace {

/// A stream that keeps its file's bytes alive while it writes to them.
class MemoryFileStream : public OutStream {
 public:
  MemoryFileStream(std::shared_ptr<std::string> bytes, FaultInjector* faults)
      : OutStream(bytes.get(), true, faults), bytes_(std::move(bytes)) {}
  ~MemoryFileStream() { Close(); }
  MemoryFileStream(const MemoryFileStream&) = delete;
  MemoryFileStream& operator=(const MemoryFileStream&) = delete;

 private:
  std::shared_ptr<std::string> bytes_;
};

}  // namespace

void MemoryFileSystem::Put(const std::string& name, std::string bytes) {
  files_[name] = std::make_shared<std::string>(std::move(bytes));
}

void MemoryFileSystem::MarkIrregular(const std::string& name) {
  irregular_.insert(name);
}

const std::string* MemoryFileSystem::Get(const std::string& name) const {
  auto it = files_.find(name);
  return it == files_.end() ? nullptr : it->second.get();
}

std::unique_ptr<TextReader> MemoryFileSystem::OpenForReading(
    const std::string& name) {
  if (faults_.Now()) return nullptr;
  auto it = files_.find(name);
  if (it == files_.end()) return nullptr;
  return std::make_unique<TextReader>(*it->second, &faults_);
}

std::unique_ptr<OutStream> MemoryFileSystem::OpenForWriting(
    const std::string& name) {
  if (faults_.Now()) return nullptr;
  auto bytes = std::make_shared<std::string>();
  auto it = files_.find(name);
  if (it != files_.end()) {
    // Emptied in place: a link keeps pointing where it did.
    bytes = it->second;
    bytes->clear();
  } else {
    files_[name] = bytes;
  }
  return std::make_unique<MemoryFileStream>(bytes, &faults_);
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  if (faults_.Now()) return false;
  auto it = files_.find(from);
  if (it == files_.end()) return false;
  if (from == to) return true;
  std::shared_ptr<std::string> bytes = it->second;
  files_.erase(it);
  files_[to] = std::move(bytes);
  irregular_.erase(to);
  if (irregular_.erase(from) == 1) irregular_.insert(to);
  return true;
}

bool MemoryFileSystem::Remove(const std::string& name) {
  if (faults_.Now()) return false;
  irregular_.erase(name);
  return files_.erase(name) == 1;
}

bool MemoryFileSystem::Exists(const std::string& name) {
  return files_.count(name) == 1;
}

bool MemoryFileSystem::IsRegularFile(const std::string& name) {
  return Exists(name) && irregular_.count(name) == 0;
}

std::vector<std::string> MemoryFileSystem::List() {
  std::vector<std::string> names;
  for (const auto& entry : files_) names.push_back(entry.first);
  return names;
}

}  // namespace platform
