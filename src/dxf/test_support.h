#ifndef RRENSEN_DXF_TEST_SUPPORT_H_
#define RRENSEN_DXF_TEST_SUPPORT_H_

/// What the tests of rrensen-dxf share: DXF files written by hand, a source
/// that gives its bytes a few at a time, and files in memory that fail on
/// demand.

#include <algorithm>
#include <cstdint>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/files.h"
#include "dxf/tag_stream.h"

namespace dxf {
namespace testing {

/// A file of `entities` in an ENTITIES section; with `seed`, a HEADER
/// before it with that $HANDSEED, and with `version` its $ACADVER.
inline std::string File(const std::string& entities,
                        const std::string& seed = "",
                        const std::string& version = "") {
  std::string header;
  if (!version.empty()) header += "  9\n$ACADVER\n  1\n" + version + "\n";
  if (!seed.empty()) header += "  9\n$HANDSEED\n  5\n" + seed + "\n";
  if (!header.empty()) header = "  0\nSECTION\n  2\nHEADER\n" + header + "  0\nENDSEC\n";
  return header + "  0\nSECTION\n  2\nENTITIES\n" + entities +
         "  0\nENDSEC\n  0\nEOF\n";
}

/// An LWPOLYLINE on `layer` through "x,y" points; "x,y,b" gives the piece
/// that starts there bulge b.
inline std::string Lightweight(const std::string& handle, int flags,
                               const std::vector<std::string>& points,
                               const std::string& layer = "0") {
  std::string text = "  0\nLWPOLYLINE\n  5\n" + handle + "\n  8\n" + layer +
                     "\n 90\n" + std::to_string(points.size()) + "\n 70\n" +
                     std::to_string(flags) + "\n";
  for (const std::string& point : points) {
    const size_t comma = point.find(',');
    const size_t bulge = point.find(',', comma + 1);
    text += " 10\n" + point.substr(0, comma) + "\n 20\n" +
            point.substr(comma + 1, bulge - comma - 1) + "\n";
    if (bulge != std::string::npos) text += " 42\n" + point.substr(bulge + 1) + "\n";
  }
  return text;
}

/// A POLYLINE on layer "0" with `flags` (none when 0) through the first
/// corners of a square 100 wide: `handles` are the POLYLINE's, each
/// VERTEX's (followed by `extra` tags) and the SEQEND's.
inline std::string VertexList(const std::vector<std::string>& handles, int flags = 0,
                              const std::string& extra = "") {
  const char* const points[] = {"0\n 20\n0", "100\n 20\n0", "100\n 20\n100", "0\n 20\n100"};
  std::string text = "  0\nPOLYLINE\n  5\n" + handles.front() + "\n  8\n0\n 66\n1\n" +
                     (flags ? " 70\n" + std::to_string(flags) + "\n" : "");
  for (size_t k = 1; k + 1 < handles.size(); ++k) {
    text += "  0\nVERTEX\n  5\n" + handles[k] + "\n  8\n0\n 10\n" + points[k - 1] + "\n" + extra;
  }
  return text + "  0\nSEQEND\n  5\n" + handles.back() + "\n";
}

/// A closed square LWPOLYLINE, 100 wide, that size 5 fillets.
inline const std::string kSquareEntity =
    Lightweight("2A", 1, {"0,0", "100,0", "100,100", "0,100"});
/// An open LWPOLYLINE whose last side, 3 long, is too short for size 5.
inline const std::string kTightEntity =
    Lightweight("2B", 0, {"0,0", "100,0", "100,3"});

/// Gives the bytes of a string `step` at a time; with a `seed`, each read
/// takes 1 to `step` bytes (fewer than asked, as a pipe may), chosen by it.
class TrickleSource : public ByteSource {
 public:
  TrickleSource(std::string_view bytes, size_t step, unsigned seed = 0)
      : bytes_(bytes), step_(step), random_(seed), seeded_(seed != 0) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t most =
        seeded_ ? std::uniform_int_distribution<size_t>(1, step_)(random_)
                : step_;
    const std::string_view part = bytes_.substr(position_, std::min(size, most));
    part.copy(buffer, part.size());
    position_ += part.size();
    return part.size();
  }

 private:
  std::string_view bytes_;
  size_t step_;
  std::mt19937 random_;
  bool seeded_;
  size_t position_ = 0;
};

/// Files in memory, with faults on demand.
class MemoryFiles : public Files {
 public:
  std::map<std::string, std::string> files;
  /// Reads fail once this many bytes have been read in all.
  std::optional<uint64_t> fail_reads_after;
  /// Files whose size is not told, so that they are read twice, a piece at
  /// a time, rather than once into memory.
  bool sizes_unknown = false;
  /// A file's bytes once it is read again from its start: it changed.
  std::map<std::string, std::string> after_rewind;
  /// Paths that cannot be created, and whether renaming fails.
  std::set<std::string> unwritable;
  bool renames_fail = false;

  std::unique_ptr<InputFile> Open(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) return nullptr;
    return std::make_unique<Input>(*this, path, found->second);
  }
  std::unique_ptr<OutputFile> Create(const std::string& path) override {
    if (unwritable.count(path) != 0) return nullptr;
    files[path].clear();
    return std::make_unique<Output>(*this, path);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    const auto found = files.find(from);
    if (renames_fail || found == files.end()) return false;
    std::string bytes = std::move(found->second);
    files.erase(found);
    files[to] = std::move(bytes);
    return true;
  }
  bool Remove(const std::string& path) override {
    return files.erase(path) == 1;
  }
  /// A folder is a path some file lies below.
  bool IsFolder(const std::string& path) override {
    const auto below = files.lower_bound(path + "/");
    return below != files.end() && below->first.rfind(path + "/", 0) == 0;
  }
  std::vector<std::string> DrawingsIn(const std::string& folder) override {
    std::vector<std::string> found;
    for (const auto& [path, bytes] : files) {
      if (path.rfind(folder + "/", 0) != 0 || path.size() < 4) continue;
      std::string end = path.substr(path.size() - 4);
      for (char& c : end) c = static_cast<char>(std::tolower(c));
      if (end == ".dxf") found.push_back(path.substr(folder.size() + 1));
    }
    return found;
  }

 private:
  class Input : public InputFile {
   public:
    Input(MemoryFiles& owner, std::string path, std::string bytes)
        : owner_(owner), path_(std::move(path)), bytes_(std::move(bytes)) {}
    size_t Read(char* buffer, size_t size) override {
      if (owner_.fail_reads_after && owner_.read_ >= *owner_.fail_reads_after) {
        failed_ = true;
        return 0;
      }
      if (owner_.fail_reads_after) {
        size = std::min<uint64_t>(size, *owner_.fail_reads_after - owner_.read_);
      }
      const std::string_view part = std::string_view(bytes_).substr(position_, size);
      part.copy(buffer, part.size());
      position_ += part.size();
      owner_.read_ += part.size();
      return part.size();
    }
    bool Rewind() override {
      const auto changed = owner_.after_rewind.find(path_);
      if (changed != owner_.after_rewind.end()) bytes_ = changed->second;
      position_ = 0;
      return true;
    }
    bool failed() const override { return failed_; }
    std::optional<uint64_t> size() const override {
      if (owner_.sizes_unknown) return std::nullopt;
      return bytes_.size();
    }

   private:
    MemoryFiles& owner_;
    std::string path_;
    std::string bytes_;
    size_t position_ = 0;
    bool failed_ = false;
  };

  class Output : public OutputFile {
   public:
    Output(MemoryFiles& owner, std::string path)
        : owner_(owner), path_(std::move(path)) {}
    void Write(std::string_view bytes) override { owner_.files[path_].append(bytes); }
    bool StartOver() override {
      owner_.files[path_].clear();
      return true;
    }
    bool Commit() override { return owner_.files.count(path_) == 1; }

   private:
    MemoryFiles& owner_;
    std::string path_;
  };

  uint64_t read_ = 0;
};

}  // namespace testing
}  // namespace dxf

#endif  // RRENSEN_DXF_TEST_SUPPORT_H_
