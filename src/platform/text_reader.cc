#include "platform/text_reader.h"

#include "platform/fault.h"

namespace platform {
namespace {
constexpr char kCtrlZ = '\x1a';
}  // namespace

std::unique_ptr<TextReader> TextReader::OpenFile(const std::string& path) {
  if (FaultNow()) return nullptr;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return nullptr;
  return std::unique_ptr<TextReader>(new TextReader(f));
}

TextReader::TextReader(std::string_view bytes)
    : raw_(bytes.data()), len_(bytes.size()) {}

TextReader::TextReader(std::FILE* file)
    : file_(file), buf_(new char[kBufSize]) {
  raw_ = buf_.get();
}

TextReader::~TextReader() { Close(); }

bool TextReader::Close() {
  if (file_ == nullptr) return true;
  bool fault = FaultNow();
  bool ok = std::fclose(file_) == 0 && !fault;
  file_ = nullptr;
  return ok;
}

bool TextReader::Fill() {
  if (pos_ < len_) return true;
  if (file_ == nullptr || eof_ || error_) {
    if (!error_) eof_ = true;
    return false;
  }
  if (FaultNow()) {
    error_ = true;
    return false;
  }
  len_ = std::fread(buf_.get(), 1, kBufSize, file_);
  pos_ = 0;
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
