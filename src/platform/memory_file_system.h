#ifndef RRENSEN_PLATFORM_MEMORY_FILE_SYSTEM_H_
#define RRENSEN_PLATFORM_MEMORY_FILE_SYSTEM_H_

#include <map>
#include <set>
#include <memory>
#include <string>

#include "platform/fault_injector.h"
#include "platform/file_system.h"

namespace platform {

/// A folder held in memory, for runs that touch no disk: tests, the fuzz
/// target, the preview. Names are told apart by case, as on Linux. A file's
/// bytes are what the disk would hold (CR LF line ends written). Every
/// operation that changes or reads a file counts with `faults()`, so that a
/// test can make any single one of them fail.
class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem() = default;
  explicit MemoryFileSystem(long fail_at) : faults_(fail_at) {}

  /// Sets a file's bytes, as if written by another program.
  void Put(const std::string& name, std::string bytes);
  /// Marks `name` as something other than a regular file (a link, a
  /// device): it can be written and read, but IsRegularFile says no.
  void MarkIrregular(const std::string& name);
  /// A file's bytes, or null when there is no such file.
  const std::string* Get(const std::string& name) const;
  /// Every file, by name.
  const std::map<std::string, std::shared_ptr<std::string>>& files() const {
    return files_;
  }
  FaultInjector& faults() { return faults_; }

  std::unique_ptr<TextReader> OpenForReading(const std::string& name) override;
  std::unique_ptr<OutStream> OpenForWriting(const std::string& name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& name) override;
  bool Exists(const std::string& name) override;
  bool IsRegularFile(const std::string& name) override;
  std::vector<std::string> List() override;
  bool FoldsCase() const override { return false; }

 private:
  /// Each file's bytes are shared with a stream writing to it, so that
  /// removing or renaming the file while it is open leaves the stream valid.
  std::map<std::string, std::shared_ptr<std::string>> files_;
  /// Names marked as no regular file.
  std::set<std::string> irregular_;
  FaultInjector faults_;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_MEMORY_FILE_SYSTEM_H_
