#ifndef RRENSEN_DXF_TAG_STREAM_H_
#define RRENSEN_DXF_TAG_STREAM_H_

/// Reading the tags of an ASCII DXF file one at a time, holding only the
/// bytes and tags still needed, so that a drawing of any size is read in
/// the memory its largest entity takes. ReadTags is this reader run over a
/// whole file in memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/tag_reader.h"
#include "dxf/tag_writer.h"

namespace dxf {

/// Where a file's bytes come from, in order.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  /// Reads up to `size` bytes into `buffer`; the number read, 0 at the end
  /// of the input or on a fault.
  virtual size_t Read(char* buffer, size_t size) = 0;
};

/// Where written bytes go, in order.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

/// Gives the bytes of a string, which must outlive it, in pieces as large
/// as asked for.
class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string_view bytes) : bytes_(bytes) {}
  size_t Read(char* buffer, size_t size) override {
    const std::string_view part = bytes_.substr(position_, size);
    part.copy(buffer, part.size());
    position_ += part.size();
    return part.size();
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

/// Appends what it is given to `text`.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

/// Splits a file into tags as ReadTags does, with the same faults on the
/// same lines, from a ByteSource read in chunks or from bytes in memory.
///
/// Offsets are positions in the whole input. The bytes from the last
/// Release on are held; those before may be dropped. A tag's `value` points
/// into the held bytes and stays valid until the next call of Next, which
/// may move them (`moves()` then counts one more; At gives the new place).
class TagStream {
 public:
  /// Tags of `bytes`, which must outlive the stream; nothing is copied and
  /// nothing moves.
  explicit TagStream(std::string_view bytes);
  /// Tags of what `source` gives, read `chunk` bytes at a time (or more:
  /// as many as the buffer has room for). The buffer grows to hold the
  /// longest run of tags held at once.
  explicit TagStream(ByteSource& source, size_t chunk = size_t{1} << 20);

  /// Reads the next tag into `tag`. False after the last one (the "0 / EOF"
  /// tag, or the end of the input) and on a fault, which `error` names.
  bool Next(Tag& tag) { return (in_body_ && NextInBuffer(tag)) || NextSlowly(tag); }

  /// Empty unless a fault stopped the reading; then what is wrong, for a
  /// person, and the line at fault (0 when the fault has no line).
  const std::string& error() const { return error_; }
  int error_line() const { return error_line_; }
  /// The layout of the first tag, for new tags.
  const TagLayout& layout() const { return layout_; }

  /// The input's bytes [begin, end), which must be held.
  std::string_view Bytes(size_t begin, size_t end) const {
    return {data_ + (begin - base_), end - begin};
  }
  /// Where the input's byte `offset`, which must be held, is now.
  const char* At(size_t offset) const { return data_ + (offset - base_); }
  /// How often held bytes have moved.
  uint64_t moves() const { return moves_; }
  /// The bytes the buffer has room for (0 for bytes in memory).
  size_t capacity() const { return storage_.size(); }

  /// The bytes before `offset` are no longer needed.
  void Release(size_t offset) {
    if (offset > released_) released_ = offset;
  }

  /// Gives `sink` every byte of the input from `offset` (held) on to its
  /// end, reading what is left of the source; for the bytes after the last
  /// tag.
  void CopyRest(size_t offset, ByteSink& sink);

 private:
  /// One physical line: where it starts, where its text ends (before "\r\n"
  /// or "\n") and where the next one starts.
  struct Line {
    size_t begin = 0;
    size_t text_end = 0;
    size_t end = 0;
  };

  /// The next line; false at the end of the input or when the line is too
  /// long (`too_long` tells which).
  bool NextLine(Line& line, bool& too_long);
  /// Next for a tag whose two lines lie whole in the held bytes, each
  /// shorter than kMaxLineBytes, with a good group code; false, and nothing
  /// read, for any other.
  /// A tag that lies whole in the held bytes, as writers lay tags out;
  /// false, with nothing read, for any other.
  bool NextInBuffer(Tag& tag);
  /// Any tag, any layout, its faults named; the first tag, whose layout is
  /// the file's.
  bool NextSlowly(Tag& tag);
  /// Reads more of the source; false when it has no more.
  bool Fill();
  /// Checks the first bytes: a byte-order mark is skipped, binary DXF
  /// refused.
  bool Start();
  bool Fail(std::string message, int line);
  char Byte(size_t offset) const { return data_[offset - base_]; }
  size_t Available() const { return base_ + filled_; }

  ByteSource* source_ = nullptr;
  size_t chunk_ = 0;
  std::vector<char> storage_;   ///< the held bytes when reading a source
  const char* data_ = nullptr;  ///< input bytes [base_, base_ + filled_)
  size_t base_ = 0;
  size_t filled_ = 0;
  bool source_ended_ = true;
  size_t released_ = 0;
  uint64_t moves_ = 0;

  size_t tag_begin_ = 0;  ///< where the tag being read starts
  size_t position_ = 0;   ///< where the next line starts
  size_t searched_ = 0;   ///< no line end lies in [position_, searched_)
  int line_number_ = 0;
  bool started_ = false;
  bool first_tag_ = true;
  bool done_ = false;
  /// After the first tag and before the end: NextInBuffer may read.
  bool in_body_ = false;
  std::string error_;
  int error_line_ = 0;
  TagLayout layout_;
};

/// Tags in order, in blocks of 256 that never move: a reference to one
/// stays good while more are added. A few blocks emptied at the front are
/// kept for the back, so that a steady stream of tags allocates nothing.
class TagQueue {
 public:
  size_t size() const { return size_; }
  /// The `k`-th tag from the front.
  Tag& operator[](size_t k) {
    const size_t at = head_ + k;
    return blocks_[first_block_ + (at >> kShift)][at & kMask];
  }
  const Tag& operator[](size_t k) const {
    const size_t at = head_ + k;
    return blocks_[first_block_ + (at >> kShift)][at & kMask];
  }
  /// A new tag at the back, as it was left.
  Tag& PushBack() {
    const size_t at = head_ + size_;
    if (first_block_ + (at >> kShift) == blocks_.size()) AddBlock();
    ++size_;
    return (*this)[size_ - 1];
  }
  void PopBack() { --size_; }
  /// Drops `count` tags from the front.
  void PopFront(size_t count);

 private:
  void AddBlock();
  static constexpr size_t kShift = 8;
  static constexpr size_t kBlock = size_t{1} << kShift;
  static constexpr size_t kMask = kBlock - 1;

  /// blocks_[first_block_] holds the front tag at head_; spare_ the blocks
  /// kept for reuse.
  std::vector<std::unique_ptr<Tag[]>> blocks_;
  std::vector<std::unique_ptr<Tag[]>> spare_;
  size_t first_block_ = 0;
  size_t head_ = 0;
  size_t size_ = 0;
};

/// The tags of a TagStream by number, from 0, held from the last Release
/// on; or the tags of a TagList, all held. A held tag's reference and its
/// value stay good while more tags are read.
class TagWindow {
 public:
  explicit TagWindow(TagStream& stream) : stream_(&stream) {}
  /// The tags of `list`, whose bytes are `bytes`.
  TagWindow(const TagList& list, std::string_view bytes)
      : list_(&list),
        bytes_(bytes),
        tags_(list.tags.data()),
        end_(list.tags.size()),
        last_line_(list.tags.empty() ? 0 : list.tags.back().line) {}

  /// True when tag `i` exists; reads up to it.
  bool Has(size_t i) { return i < end_ || ReadTo(i); }
  /// Tag `i`, which must be held.
  const Tag& operator[](size_t i) const {
    return stream_ != nullptr ? held_[i - first_] : tags_[i];
  }
  /// The number of tags read so far.
  size_t count() const { return end_; }
  /// The line of the last tag read; 0 when none was.
  int LastLine() const { return last_line_; }

  /// The input's bytes [begin, end), which must be held.
  std::string_view Bytes(size_t begin, size_t end) const {
    return stream_ != nullptr ? stream_->Bytes(begin, end)
                              : bytes_.substr(begin, end - begin);
  }
  const TagLayout& layout() const {
    return stream_ != nullptr ? stream_->layout() : list_->layout;
  }

  /// Tags before tag `i` and the bytes before `offset` are no longer
  /// needed.
  void Release(size_t i, size_t offset);

 private:
  bool ReadTo(size_t i);

  TagStream* stream_ = nullptr;
  const TagList* list_ = nullptr;
  std::string_view bytes_;
  /// A stream's held tags, from tag first_; a reference to one stays good
  /// while more are read (and its value is kept pointing at its bytes).
  TagQueue held_;
  const Tag* tags_ = nullptr;  ///< a TagList's tags
  size_t first_ = 0;
  size_t end_ = 0;
  int last_line_ = 0;
  uint64_t moves_ = 0;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_TAG_STREAM_H_
