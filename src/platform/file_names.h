#ifndef RRENSEN_PLATFORM_FILE_NAMES_H_
#define RRENSEN_PLATFORM_FILE_NAMES_H_

#include <string>

namespace platform {

/// The host's file system matches names without regard to case. On a file
/// system that tells case apart the fixed names of the protocol resolve to an
/// existing entry of `dir` that matches ignoring ASCII case, an exact match
/// first; a name with no such entry stays as written (a new file takes it).
/// Returns the path to use: `dir` joined with the resolved name (`dir` empty
/// means the working directory).
std::string ResolvePath(const std::string& dir, const std::string& name);

/// Renames `from` to `to` in `dir`, replacing an existing `to` on every
/// platform. Both names are resolved as above; an existing target whose name
/// differs from `to` only in case is replaced and the file takes `to` as
/// written. Returns false on failure (including an armed fault).
bool RenameReplacing(const std::string& dir, const std::string& from,
                     const std::string& to);

/// Starts a run afresh: forgets the folder listing kept for the matching of
/// names (see ResolvePath). The driver calls it first.
void ForgetListing();

/// Deletes `name` in `dir`. Returns false on failure.
bool RemoveFile(const std::string& dir, const std::string& name);

}  // namespace platform

#endif  // RRENSEN_PLATFORM_FILE_NAMES_H_
