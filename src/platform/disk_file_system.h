#ifndef RRENSEN_PLATFORM_DISK_FILE_SYSTEM_H_
#define RRENSEN_PLATFORM_DISK_FILE_SYSTEM_H_

#include <string>

#include "platform/file_system.h"

namespace platform {

/// The file system of the real disk, in the folder `dir` ("" for the working
/// folder). Renames replace an existing target on every platform (on
/// Windows with MoveFileExW and MOVEFILE_REPLACE_EXISTING).
class DiskFileSystem : public FileSystem {
 public:
  explicit DiskFileSystem(std::string dir = "") : dir_(std::move(dir)) {}

  std::unique_ptr<TextReader> OpenForReading(const std::string& name) override;
  std::unique_ptr<OutStream> OpenForWriting(const std::string& name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& name) override;
  bool Exists(const std::string& name) override;
  bool IsRegularFile(const std::string& name) override;
  std::vector<std::string> List() override;
  bool FoldsCase() const override;

 private:
  std::string Path(const std::string& name) const;
  std::string dir_;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_DISK_FILE_SYSTEM_H_
