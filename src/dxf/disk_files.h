#ifndef RRENSEN_DXF_DISK_FILES_H_
#define RRENSEN_DXF_DISK_FILES_H_

/// The real disk, as rrensen-dxf's Files, and its standard output.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dxf/files.h"

namespace dxf {

class DiskFiles : public Files {
 public:
  std::unique_ptr<InputFile> Open(const std::string& path) override;
  std::unique_ptr<OutputFile> Create(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::optional<uint64_t> SizeOf(const std::string& path) override;
  std::vector<std::string> DrawingsIn(const std::string& folder) override;
  bool MakeFolders(const std::string& folder) override;
  std::string Identity(const std::string& path) override;
};

/// Standard output as a binary file (the drawing's own line ends kept):
/// Commit flushes it.
std::unique_ptr<OutputFile> StandardOutput();

}  // namespace dxf

#endif  // RRENSEN_DXF_DISK_FILES_H_
