#include "platform/text_reader.h"

#include <cstdint>
#include <cstring>


namespace platform {
namespace {
constexpr char kCtrlZ = '\x1a';

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

/// Marks the zero bytes of `w` in their high bits. The lowest mark is always
/// exact (a borrow only ever runs upwards, into higher bytes), which is all
/// the search below uses.
uint64_t ZeroBytes(uint64_t w) { return (w - kOnes) & ~w & kHighBits; }

/// Loads eight bytes as a little-endian word, so that the lowest mark
/// belongs to the first byte.
uint64_t Load(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  w = __builtin_bswap64(w);
#endif
  return w;
}

/// Length of the run of bytes at `p` (at most `n`) that text mode hands over
/// unchanged: none of LF, CR and Ctrl-Z. Eight bytes at a time.
size_t OrdinaryRun(const char* p, size_t n) {
  size_t k = 0;
  for (; k + 8 <= n; k += 8) {
    uint64_t w = Load(p + k);
    uint64_t marks = ZeroBytes(w ^ (kOnes * '\n')) |
                     ZeroBytes(w ^ (kOnes * '\r')) |
                     ZeroBytes(w ^ (kOnes * 0x1au));
    if (marks != 0) {
      // The first special byte: the lowest mark, counted in whole bytes.
      size_t first = 0;
      while ((marks & 0xffu) == 0) {
        marks >>= 8;
        ++first;
      }
      return k + first;
    }
  }
  while (k < n && p[k] != '\n' && p[k] != '\r' && p[k] != kCtrlZ) ++k;
  return k;
}

}  // namespace

std::unique_ptr<TextReader> TextReader::OpenFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return nullptr;
  // The reader has a buffer of its own; should stdio refuse to drop its
  // buffer, the bytes read are the same.
  if (std::setvbuf(f, nullptr, _IONBF, 0) != 0) {
    // Nothing to undo.
  }
  return std::unique_ptr<TextReader>(new TextReader(f));
}

TextReader::TextReader(std::string_view bytes)
    : raw_(bytes.data()), len_(bytes.size()) {}

TextReader::TextReader(std::string bytes, FaultInjector* faults)
    : owned_(std::move(bytes)), faults_(faults), at_end_(false) {
  // Nothing is available until the first block is taken.
  raw_ = owned_.data();
}

TextReader::TextReader(std::FILE* file)
    : file_(file), buf_(new char[kBlockSize]) {
  raw_ = buf_.get();
}

TextReader::~TextReader() { Close(); }

bool TextReader::Close() {
  if (file_ != nullptr) {
    bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }
  if (faults_ != nullptr) {
    bool ok = !faults_->Now();
    faults_ = nullptr;
    return ok;
  }
  return true;
}

bool TextReader::Fill() {
  if (pos_ < len_) return true;
  bool from_memory = file_ == nullptr && (faults_ != nullptr || !owned_.empty());
  if ((file_ == nullptr && !from_memory) || eof_ || error_ || at_end_) {
    if (!error_) eof_ = true;
    return false;
  }
  if (faults_ != nullptr && faults_->Now()) {
    error_ = true;
    return false;
  }
  if (from_memory) {
    // The next block of the copy, as a file read would hand it over.
    size_t left = owned_.size() - owned_pos_;
    raw_ = owned_.data() + owned_pos_;
    len_ = left < kBlockSize ? left : kBlockSize;
    owned_pos_ += len_;
    pos_ = 0;
    if (len_ < kBlockSize) at_end_ = true;
    if (len_ == 0) {
      eof_ = true;
      return false;
    }
    return true;
  }
  len_ = std::fread(buf_.get(), 1, kBlockSize, file_);
  pos_ = 0;
  // A short read met the end or an error already: do not ask again.
  if (len_ < kBlockSize && !std::ferror(file_)) at_end_ = true;
  if (len_ == 0) {
    if (std::ferror(file_)) {
      error_ = true;
    } else {
      eof_ = true;
    }
    return false;
  }
  return true;
}

bool TextReader::ReadPiece(Piece* piece) {
  piece->size = 0;
  if (eof_ || error_) return false;
  while (piece->size < Piece::kMax) {
    if (!Fill()) break;
    // Copy the run of ordinary bytes in one go; stop at the first byte that
    // text mode treats specially.
    size_t room = Piece::kMax - piece->size;
    size_t avail = len_ - pos_;
    size_t n = room < avail ? room : avail;
    const char* p = raw_ + pos_;
    size_t k = OrdinaryRun(p, n);
    std::memcpy(piece->data + piece->size, p, k);
    piece->size += k;
    pos_ += k;
    if (k == n) continue;
    char c = raw_[pos_];
    if (c == kCtrlZ) {
      eof_ = true;
      break;
    }
    ++pos_;
    if (c == '\r') {
      // A CR is dropped when a LF follows it, also across a buffer refill.
      if (Fill() && raw_[pos_] == '\n') {
        ++pos_;
        c = '\n';
      } else if (error_) {
        break;
      }
    }
    piece->data[piece->size++] = c;
    if (c == '\n') break;
  }
  piece->data[piece->size] = '\0';
  if (error_) return false;
  return piece->size > 0;
}
}  // namespace platform
