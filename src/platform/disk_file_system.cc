#include "platform/disk_file_system.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace platform {

std::string DiskFileSystem::Path(const std::string& name) const {
  return dir_.empty() ? name : (fs::path(dir_) / name).string();
}

std::unique_ptr<TextReader> DiskFileSystem::OpenForReading(
    const std::string& name) {
  return TextReader::OpenFile(Path(name));
}

std::unique_ptr<OutStream> DiskFileSystem::OpenForWriting(
    const std::string& name) {
  return OutStream::OpenFile(Path(name));
}

bool DiskFileSystem::Rename(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // std::rename fails on Windows when the target exists; this replaces it in
  // one step, as rename does on POSIX.
  return MoveFileExW(fs::path(Path(from)).c_str(), fs::path(Path(to)).c_str(),
                     MOVEFILE_REPLACE_EXISTING) != 0;
#else
  std::error_code ec;
  fs::rename(Path(from), Path(to), ec);
  return !ec;
#endif
}

bool DiskFileSystem::Remove(const std::string& name) {
  std::error_code ec;
  return fs::remove(Path(name), ec) && !ec;
}

bool DiskFileSystem::Exists(const std::string& name) {
  std::error_code ec;
  return fs::exists(Path(name), ec);
}

bool DiskFileSystem::IsRegularFile(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(Path(name), ec));
}

std::vector<std::string> DiskFileSystem::List() {
  std::vector<std::string> names;
  std::error_code ec;
  fs::path folder = dir_.empty() ? fs::path(".") : fs::path(dir_);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

bool DiskFileSystem::FoldsCase() const {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

}  // namespace platform
