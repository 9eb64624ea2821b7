#include "platform/host_folder.h"

#include <algorithm>

#include "platform/ascii.h"

namespace platform {

std::string HostFolder::CaseVariant(const std::string& name) {
  if (!listed_) {
    listing_ = files_.List();
    listed_ = true;
  }
  for (const std::string& entry : listing_) {
    if (entry != name && EqualIgnoringCase(entry, name)) return entry;
  }
  return "";
}

void HostFolder::Drop(const std::string& entry) {
  listing_.erase(std::remove(listing_.begin(), listing_.end(), entry),
                 listing_.end());
}

void HostFolder::Add(const std::string& entry) {
  if (listed_ && std::find(listing_.begin(), listing_.end(), entry) ==
                     listing_.end()) {
    listing_.push_back(entry);
  }
}

std::string HostFolder::Resolve(const std::string& name, bool* exists) {
  bool found = files_.Exists(name);
  std::string resolved = name;
  if (!found && !files_.FoldsCase()) {
    std::string variant = CaseVariant(name);
    if (!variant.empty()) {
      resolved = variant;
      found = true;
    }
  }
  if (exists != nullptr) *exists = found;
  return resolved;
}

std::unique_ptr<TextReader> HostFolder::OpenForReading(
    const std::string& name) {
  return files_.OpenForReading(Resolve(name));
}

std::unique_ptr<OutStream> HostFolder::OpenForWriting(const std::string& name) {
  std::string entry = Resolve(name);
  std::unique_ptr<OutStream> out = files_.OpenForWriting(entry);
  if (out) Add(entry);
  return out;
}

bool HostFolder::RenameReplacing(const std::string& from,
                                 const std::string& to) {
  bool exists = false;
  std::string source = Resolve(from, &exists);
  if (!exists) return false;
  std::string target = Resolve(to);
  if (target != to && !EqualIgnoringCase(source, target)) {
    if (!files_.Remove(target)) return false;
    Drop(target);
  }
  if (!files_.Rename(source, to)) return false;
  Drop(source);
  Add(to);
  return true;
}

bool HostFolder::RenameExactly(const std::string& from,
                               const std::string& to) {
  if (!files_.Rename(from, to)) return false;
  Drop(from);
  Add(to);
  return true;
}

bool HostFolder::MoveOver(const std::string& from, const std::string& onto) {
  bool exists = false;
  std::string source = Resolve(from, &exists);
  if (!exists) return false;
  std::string target = Resolve(onto);
  if (!files_.Rename(source, target)) return false;
  Drop(source);
  Add(target);
  return true;
}

bool HostFolder::Remove(const std::string& name) {
  std::string entry = Resolve(name);
  if (!files_.Remove(entry)) return false;
  Drop(entry);
  return true;
}

bool HostFolder::IsRegularFile(const std::string& name) {
  return files_.IsRegularFile(Resolve(name));
}

}  // namespace platform
