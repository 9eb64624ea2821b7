#include "dxf/tag_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace dxf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLittleEndian() {
  const uint16_t one = 1;
  unsigned char first = 0;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

/// The index of the lowest set bit of `bits`, which is not 0.
int LowestSetBit(uint64_t bits) {
#if defined(__GNUC__)
  return __builtin_ctzll(bits);
#else
  int index = 0;
  while ((bits & 1u) == 0) {
    bits >>= 1;
    ++index;
  }
  return index;
#endif
}

/// The group code written in `text`, or -1 when it is not a whole number
/// from 0 to kMaxGroupCode: blanks, one to four digits, blanks.
int ParseGroupCode(std::string_view text) {
  size_t i = 0;
  const size_t size = text.size();
  while (i < size && IsBlank(text[i])) ++i;
  int code = 0;
  size_t digits = 0;
  for (; i < size && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    code = code * 10 + (text[i] - '0');
    if (digits == 4) return -1;
  }
  while (i < size && IsBlank(text[i])) ++i;
  if (digits == 0 || i != size) return -1;
  return code <= kMaxGroupCode ? code : -1;
}

/// The offset of the first '\n' in `bytes`, or `size` when there is none.
/// Eight bytes at a time: a byte of x = word ^ 0x0A0A... is 0 where the
/// word has '\n', and (x - 0x0101...) & ~x & 0x8080... sets the high bit
/// of the lowest such byte first (borrows only run upwards from a zero
/// byte, so bytes below the first zero are exact).
size_t FindNewline(const char* bytes, size_t size) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  constexpr uint64_t kNewlines = 0x0A0A0A0A0A0A0A0Au;
  size_t k = 0;
  for (; k + 8 <= size; k += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes + k, 8);
    const uint64_t x = word ^ kNewlines;
    const uint64_t found = (x - kOnes) & ~x & kHighs;
    if (found != 0) {
      // The lowest byte in memory is the lowest in value on a
      // little-endian machine; elsewhere, look byte by byte.
      if (IsLittleEndian()) {
        return k + static_cast<size_t>(LowestSetBit(found) / 8);
      }
      break;
    }
  }
  const void* hit = std::memchr(bytes + k, '\n', size - k);
  return hit == nullptr
             ? size
             : static_cast<size_t>(static_cast<const char*>(hit) - bytes);
}

std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string shown;
  for (char c : text.substr(0, kShown)) {
    bool printable = c >= ' ' && c <= '~';
    shown += printable ? c : '?';
  }
  if (text.size() > kShown) shown += "...";
  return "'" + shown + "'";
}

std::string TooLong() {
  return "line longer than " + std::to_string(kMaxLineBytes) + " bytes";
}

}  // namespace

TagStream::TagStream(std::string_view bytes)
    : data_(bytes.data()), filled_(bytes.size()) {}

TagStream::TagStream(ByteSource& source, size_t chunk)
    : source_(&source),
      chunk_(std::max<size_t>(chunk, 1)),
      source_ended_(false) {}

bool TagStream::Fill() {
  if (source_ended_) return false;
  if (filled_ == storage_.size()) {
    // Full: drop the bytes no longer needed (before the held ones and the
    // tag being read), moving the rest to the front, in a buffer twice as
    // large when they fill more than all but a chunk of it.
    const size_t keep = std::min(released_, tag_begin_);
    const size_t kept = Available() - keep;
    if (kept + chunk_ > storage_.size()) {
      std::vector<char> larger(std::max(2 * storage_.size(), kept + chunk_));
      if (kept > 0) std::memcpy(larger.data(), At(keep), kept);
      storage_.swap(larger);
    } else if (kept > 0) {
      std::memmove(storage_.data(), At(keep), kept);
    }
    base_ = keep;
    filled_ = kept;
    data_ = storage_.data();
    ++moves_;
  }
  const size_t read =
      source_->Read(storage_.data() + filled_, storage_.size() - filled_);
  if (read == 0) {
    source_ended_ = true;
    return false;
  }
  filled_ += read;
  return true;
}

bool TagStream::Fail(std::string message, int line) {
  error_ = std::move(message);
  error_line_ = line;
  done_ = true;
  return false;
}

bool TagStream::Start() {
  const size_t wanted = kByteOrderMark.size() + kBinarySentinel.size();
  while (Available() < wanted && Fill()) {
  }
  const std::string_view head = Bytes(0, std::min(Available(), wanted));
  size_t start = 0;
  if (head.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    start = kByteOrderMark.size();
  }
  if (head.substr(start, kBinarySentinel.size()) == kBinarySentinel) {
    return Fail(
        "this is a binary DXF file; only ASCII DXF can be read "
        "(save the drawing as ASCII DXF)",
        0);
  }
  position_ = start;
  searched_ = start;
  return true;
}

bool TagStream::NextLine(Line& line, bool& too_long) {
  too_long = false;
  if (position_ >= Available() && !Fill()) return false;  // the end
  ++line_number_;
  size_t newline = std::string_view::npos;
  for (;;) {
    const size_t from = std::max(searched_, position_);
    const size_t found = FindNewline(At(from), Available() - from);
    if (from + found < Available()) {
      newline = from + found;
      break;
    }
    searched_ = Available();
    // No line end in kMaxLineBytes + 2 bytes: the line's text is longer than
    // kMaxLineBytes whatever follows, a '\r' before its '\n' aside.
    if (Available() - position_ >= kMaxLineBytes + 2 || !Fill()) break;
  }
  const size_t stop = newline == std::string_view::npos ? Available() : newline;
  line.begin = position_;
  line.text_end = stop;
  if (stop > position_ && Byte(stop - 1) == '\r') --line.text_end;
  line.end = newline == std::string_view::npos ? stop : stop + 1;
  position_ = line.end;
  if (line.text_end - line.begin > kMaxLineBytes) {
    too_long = true;
    return false;
  }
  return true;
}

bool TagStream::NextInBuffer(Tag& tag) {
  // Both lines' ends must lie in the held bytes; their lengths need no
  // check below kMaxLineBytes. The code line is read as writers lay it out,
  // spaces then one to four digits then its line end, in one look at each
  // byte; anything else goes the slow way, which reads every layout and
  // says what is wrong.
  const size_t available = std::min(Available() - position_, kMaxLineBytes);
  const char* start = At(position_);
  size_t i = 0;
  while (i < available && start[i] == ' ') ++i;
  const size_t digits_begin = i;
  int code = 0;
  while (i < available && i - digits_begin < 4 && start[i] >= '0' &&
         start[i] <= '9') {
    code = code * 10 + (start[i] - '0');
    ++i;
  }
  if (i == digits_begin || code > kMaxGroupCode) return false;
  if (i < available && start[i] == '\r') ++i;
  if (i >= available || start[i] != '\n') return false;
  const size_t value_begin = i + 1;
  const size_t value_size =
      FindNewline(start + value_begin, available - value_begin);
  if (value_size >= available - value_begin) return false;
  size_t value_text_end = value_begin + value_size;
  if (value_size > 0 && start[value_text_end - 1] == '\r') --value_text_end;
  tag.code = code;
  tag.begin = position_;
  tag.value_begin = position_ + value_begin;
  tag.value_text_end = position_ + value_text_end;
  tag.end = position_ + value_begin + value_size + 1;
  tag.line = line_number_ + 1;
  line_number_ += 2;
  position_ = tag.end;
  std::string_view value(start + value_begin, value_text_end - value_begin);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  tag.value = value;
  if (code == 0 && value == "EOF") {
    done_ = true;
    in_body_ = false;
  }
  return true;
}

bool TagStream::NextSlowly(Tag& tag) {
  in_body_ = false;
  if (done_) return false;
  if (!started_) {
    started_ = true;
    if (!Start()) return false;
  }
  tag_begin_ = position_;
  Line code_line;
  Line value_line;
  bool too_long = false;
  if (!NextLine(code_line, too_long)) {
    if (too_long) return Fail(TooLong(), line_number_);
    done_ = true;  // the end of the input
    return false;
  }
  const std::string_view code_text = Bytes(code_line.begin, code_line.text_end);
  const int code = ParseGroupCode(code_text);
  if (code < 0) {
    return Fail("group code " + Quoted(code_text) +
                    " is not a whole number from 0 to " +
                    std::to_string(kMaxGroupCode),
                line_number_);
  }
  const int code_line_number = line_number_;
  // Read before the value line, which may move the bytes.
  const bool crlf = code_line.end - code_line.text_end == 2;
  const bool padded = !code_text.empty() && IsBlank(code_text.front());
  if (!NextLine(value_line, too_long)) {
    if (too_long) return Fail(TooLong(), line_number_);
    return Fail("group code " + std::to_string(code) + " has no value line",
                code_line_number);
  }
  if (first_tag_) {
    first_tag_ = false;
    layout_.line_end = crlf ? "\r\n" : "\n";
    layout_.padded_codes = padded;
  }
  tag.code = code;
  tag.begin = code_line.begin;
  tag.value_begin = value_line.begin;
  tag.value_text_end = value_line.text_end;
  tag.end = value_line.end;
  tag.line = code_line_number;
  std::string_view value = Bytes(value_line.begin, value_line.text_end);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  tag.value = value;
  // Reading stops after "0 / EOF": the bytes after it are not tags. Till
  // then most tags lie whole in the bytes held.
  if (code == 0 && value == "EOF") done_ = true;
  in_body_ = !done_;
  return true;
}

void TagStream::CopyRest(size_t offset, ByteSink& sink) {
  if (offset < Available()) sink.Write(Bytes(offset, Available()));
  done_ = true;
  in_body_ = false;
  if (source_ == nullptr || source_ended_) return;
  // The buffer's bytes are all given out: it takes the rest chunk by chunk.
  if (storage_.size() < chunk_) storage_.resize(chunk_);
  for (;;) {
    const size_t read = source_->Read(storage_.data(), storage_.size());
    if (read == 0) break;
    sink.Write({storage_.data(), read});
  }
  source_ended_ = true;
  base_ += filled_;
  filled_ = 0;
  ++moves_;
}

void TagQueue::AddBlock() {
  if (spare_.empty()) {
    blocks_.push_back(std::make_unique<Tag[]>(kBlock));
  } else {
    blocks_.push_back(std::move(spare_.back()));
    spare_.pop_back();
  }
}

void TagQueue::PopFront(size_t count) {
  size_ -= count;
  head_ += count;
  first_block_ += head_ >> kShift;
  head_ &= kMask;
  if (first_block_ == 0) return;
  // The emptied blocks go: a few are kept for the back, the others (after
  // a huge entity) freed.
  constexpr size_t kSpares = 4;
  for (size_t k = 0; k < first_block_ && spare_.size() < kSpares; ++k) {
    spare_.push_back(std::move(blocks_[k]));
  }
  blocks_.erase(blocks_.begin(),
                blocks_.begin() + static_cast<std::ptrdiff_t>(first_block_));
  first_block_ = 0;
}

bool TagWindow::ReadTo(size_t i) {
  if (stream_ == nullptr) return false;
  while (end_ <= i) {
    Tag& tag = held_.PushBack();
    if (!stream_->Next(tag)) {
      held_.PopBack();
      return false;
    }
    if (stream_->moves() != moves_) {
      // The held bytes moved: the held tags' values point to their new
      // place.
      moves_ = stream_->moves();
      for (size_t k = 0; k < held_.size(); ++k) {
        Tag& held = held_[k];
        held.value = {stream_->At(held.value_begin), held.value.size()};
      }
    }
    ++end_;
    last_line_ = tag.line;
  }
  return true;
}

void TagWindow::Release(size_t i, size_t offset) {
  if (stream_ == nullptr) return;
  if (i > first_) {
    const size_t count = std::min(i - first_, held_.size());
    held_.PopFront(count);
    first_ += count;
  }
  stream_->Release(offset);
}

}  // namespace dxf
