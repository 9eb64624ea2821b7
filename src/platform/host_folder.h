#ifndef RRENSEN_PLATFORM_HOST_FOLDER_H_
#define RRENSEN_PLATFORM_HOST_FOLDER_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

/// The folder of a run as the host sees it. The host's file system matches
/// names without regard to case; on a file system that tells case apart, a
/// fixed name of the protocol resolves to an existing entry that matches it
/// ignoring ASCII case, an exact match first, and a name with no such entry
/// stays as written (a new file takes it). One HostFolder serves one run: it
/// lists the folder at most once.
class HostFolder {
 public:
  explicit HostFolder(FileSystem& files) : files_(files) {}

  /// The entry that `name` designates on the host, or `name` itself when
  /// there is none; `*exists` tells which.
  std::string Resolve(const std::string& name, bool* exists = nullptr);

  std::unique_ptr<TextReader> OpenForReading(const std::string& name);
  std::unique_ptr<OutStream> OpenForWriting(const std::string& name);
  /// Renames `from` to `to`, replacing an existing `to`: an entry that
  /// differs from `to` only in case is the target on the host, so it goes
  /// and the file takes `to` as written. False when `from` does not exist or
  /// the rename fails.
  bool RenameReplacing(const std::string& from, const std::string& to);
  /// Renames the entry `from` to `to`, both exactly as written: no other
  /// spelling is looked for or replaced.
  bool RenameExactly(const std::string& from, const std::string& to);
  /// Renames `from` over the entry that `onto` designates, replacing it in
  /// one step: at every instant that entry holds either its old bytes or
  /// all of the new ones. False when `from` does not exist or the rename
  /// fails.
  bool MoveOver(const std::string& from, const std::string& onto);
  bool Remove(const std::string& name);
  bool IsRegularFile(const std::string& name);

 private:
  /// The entry from before the run that matches `name` ignoring case but is
  /// not `name` itself, or "".
  std::string CaseVariant(const std::string& name);
  /// Forgets an entry that the run renamed or removed, and learns one that
  /// it created, so that the listing stays the folder's.
  void Drop(const std::string& entry);
  void Add(const std::string& entry);

  FileSystem& files_;
  /// The folder is listed once, when a name is first not found as written;
  /// from then on the listing follows what the run itself creates, renames
  /// and removes (nothing else changes the folder while the host waits).
  bool listed_ = false;
  std::vector<std::string> listing_;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_HOST_FOLDER_H_
