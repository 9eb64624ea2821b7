#ifndef RRENSEN_PLATFORM_FILE_SYSTEM_H_
#define RRENSEN_PLATFORM_FILE_SYSTEM_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/out_stream.h"
#include "platform/text_reader.h"

namespace platform {

/// The file operations of a run, on plain names in one folder, names taken
/// exactly as given. Streams read and write with the host's text
/// convention. The tool runs over the real disk (DiskFileSystem); tests, the
/// fuzz target and the preview can run it over files in memory
/// (MemoryFileSystem). HostFolder adds the host's way of matching names on
/// top of either.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// Opens `name` for reading; null when it cannot be opened.
  virtual std::unique_ptr<TextReader> OpenForReading(
      const std::string& name) = 0;
  /// Creates or empties `name` and opens it for writing; null when it
  /// cannot.
  virtual std::unique_ptr<OutStream> OpenForWriting(
      const std::string& name) = 0;
  /// Renames `from` to `to`, replacing an existing `to` in one step.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  /// Deletes `name`.
  virtual bool Remove(const std::string& name) = 0;
  /// Whether an entry called `name` exists.
  virtual bool Exists(const std::string& name) = 0;
  /// Whether `name` is a regular file (not a link, a folder or a device).
  virtual bool IsRegularFile(const std::string& name) = 0;
  /// The names of the folder's entries.
  virtual std::vector<std::string> List() = 0;
  /// True when the file system itself matches names without regard to case
  /// (as Windows does): then a name not found as written has no other
  /// spelling to look for.
  virtual bool FoldsCase() const = 0;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_FILE_SYSTEM_H_
