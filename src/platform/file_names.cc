#include "platform/file_names.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/fault.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

fs::path DirPath(const std::string& dir) {
  return dir.empty() ? fs::path(".") : fs::path(dir);
}

/// On Windows the file system itself matches names without regard to case:
/// a name not found as written has no variant to look for.
#ifdef _WIN32
constexpr bool kFileSystemFoldsCase = true;
#else
constexpr bool kFileSystemFoldsCase = false;
#endif

/// Entries whose names differ from a fixed name only in case can only come
/// from before the run: the tool creates every file under its name as
/// written. So the folder is listed once, when a name is first not found as
/// written, and the listing loses the entries the tool renames or removes.
struct Listing {
  bool loaded = false;
  std::string dir;
  std::vector<std::string> names;
};

Listing& TheListing() {
  static Listing listing;
  return listing;
}

/// The entry of `dir` from before the run that matches `name` ignoring case
/// but is not `name` itself (that one was looked for as written), or "".
std::string CaseVariant(const std::string& dir, const std::string& name) {
  Listing& l = TheListing();
  if (!l.loaded || l.dir != dir) {
    l = Listing{true, dir, {}};
    std::error_code ec;
    for (fs::directory_iterator it(DirPath(dir), ec), end; !ec && it != end;
         it.increment(ec)) {
      l.names.push_back(it->path().filename().string());
    }
  }
  for (const std::string& entry : l.names) {
    if (entry != name && EqualIgnoringCase(entry, name)) return entry;
  }
  return "";
}

/// Forgets an entry that the tool renamed or removed.
void Drop(const std::string& dir, const std::string& entry) {
  Listing& l = TheListing();
  if (!l.loaded || l.dir != dir) return;
  l.names.erase(std::remove(l.names.begin(), l.names.end(), entry),
                l.names.end());
}

/// The name of the entry of `dir` that `name` designates on the host, or
/// `name` itself when there is none; `*exists` tells which.
std::string ResolveName(const std::string& dir, const std::string& name,
                        bool* exists = nullptr) {
  std::error_code ec;
  bool found = fs::exists(DirPath(dir) / name, ec);
  std::string resolved = name;
  if (!found && !kFileSystemFoldsCase) {
    std::string variant = CaseVariant(dir, name);
    if (!variant.empty()) {
      resolved = variant;
      found = true;
    }
  }
  if (exists != nullptr) *exists = found;
  return resolved;
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : (fs::path(dir) / name).string();
}

}  // namespace

std::string ResolvePath(const std::string& dir, const std::string& name) {
  return Join(dir, ResolveName(dir, name));
}

void ForgetListing() { TheListing() = Listing(); }

bool RenameReplacing(const std::string& dir, const std::string& from,
                     const std::string& to) {
  if (FaultNow()) return false;
  bool exists = false;
  std::string src = ResolveName(dir, from, &exists);
  if (!exists) return false;
  std::error_code ec;
  std::string dst = ResolveName(dir, to);
  if (dst != to && !EqualIgnoringCase(src, dst)) {
    // An entry that differs from the target only in case is the target on the
    // host: it goes, and the file takes the name as written.
    fs::remove(DirPath(dir) / dst, ec);
    if (ec) return false;
    Drop(dir, dst);
  }
  fs::rename(DirPath(dir) / src, DirPath(dir) / to, ec);
  if (ec) return false;
  Drop(dir, src);
  return true;
}

bool RemoveFile(const std::string& dir, const std::string& name) {
  if (FaultNow()) return false;
  std::error_code ec;
  std::string entry = ResolveName(dir, name);
  bool removed = fs::remove(DirPath(dir) / entry, ec) && !ec;
  if (removed) Drop(dir, entry);
  return removed;
}

}  // namespace platform
