#include "platform/file_names.h"

#include <filesystem>
#include <system_error>

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

/// The name of the entry of `dir` that `name` designates on the host, or
/// `name` itself when there is none.
std::string ResolveName(const std::string& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(DirPath(dir) / name, ec)) return name;
#ifdef _WIN32
  // The file system itself matches without regard to case: no entry that
  // differs only in case can exist when the name was not found.
  return name;
#endif
  for (fs::directory_iterator it(DirPath(dir), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualIgnoringCase(entry, name)) return entry;
  }
  return name;
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : (fs::path(dir) / name).string();
}

}  // namespace

std::string ResolvePath(const std::string& dir, const std::string& name) {
  return Join(dir, ResolveName(dir, name));
}

bool RenameReplacing(const std::string& dir, const std::string& from,
                     const std::string& to) {
  if (FaultNow()) return false;
  std::string src = ResolveName(dir, from);
  std::error_code ec;
  if (!fs::exists(DirPath(dir) / src, ec)) return false;
  std::string dst = ResolveName(dir, to);
  if (dst != to && !EqualIgnoringCase(src, dst)) {
    // An entry that differs from the target only in case is the target on the
    // host: it goes, and the file takes the name as written.
    fs::remove(DirPath(dir) / dst, ec);
    if (ec) return false;
  }
  fs::rename(DirPath(dir) / src, DirPath(dir) / to, ec);
  return !ec;
}

bool RemoveFile(const std::string& dir, const std::string& name) {
  if (FaultNow()) return false;
  std::error_code ec;
  return fs::remove(DirPath(dir) / ResolveName(dir, name), ec) && !ec;
}

}  // namespace platform
