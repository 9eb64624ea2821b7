#include "platform/out_stream.h"

#include <cstring>

#include "platform/number_format.h"

namespace platform {

std::unique_ptr<OutStream> OutStream::OpenFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return nullptr;
  // The stream has a buffer of its own; without stdio's, each flush is one
  // write call. Should stdio refuse, it keeps its own buffer: the bytes are
  // the same.
  if (std::setvbuf(f, nullptr, _IONBF, 0) != 0) {
    // Nothing to undo: the stream works either way.
  }
  return std::unique_ptr<OutStream>(new OutStream(f, true, true));
}

OutStream::OutStream(std::string* memory, bool crlf, FaultInjector* faults)
    : memory_(memory),
      faults_(faults),
      crlf_(crlf),
      buf_(new char[kStreamBufferSize]) {}

OutStream::OutStream(std::FILE* console) : OutStream(console, false, false) {}

OutStream::OutStream(std::FILE* file, bool owns, bool crlf)
    : file_(file),
      owns_file_(owns),
      crlf_(crlf),
      buf_(new char[kStreamBufferSize]) {}

OutStream::~OutStream() { Close(); }

void OutStream::Put(const char* data, size_t size) {
  if (closed_) {
    error_ = true;
    return;
  }
  while (size > 0) {
    if (used_ == kStreamBufferSize && !Flush()) return;
    size_t room = kStreamBufferSize - used_;
    size_t n = room < size ? room : size;
    std::memcpy(buf_.get() + used_, data, n);
    used_ += n;
    data += n;
    size -= n;
  }
}

void OutStream::Write(const char* data, size_t size) {
  if (!crlf_) {
    Put(data, size);
    return;
  }
  while (size > 0) {
    const void* nl = std::memchr(data, '\n', size);
    if (nl == nullptr) {
      Put(data, size);
      return;
    }
    size_t n = static_cast<size_t>(static_cast<const char*>(nl) - data);
    Put(data, n);
    Put("\r\n", 2);
    data += n + 1;
    size -= n + 1;
  }
}

void OutStream::Fixed(double value, int decimals) {
  char tmp[kNumberBufSize];
  Put(tmp, FormatFixed(tmp, value, decimals));
}

void OutStream::Int(int32_t value) {
  char tmp[16];
  Put(tmp, FormatInt(tmp, value));
}

void OutStream::Unsigned(uint32_t value) {
  char tmp[16];
  Put(tmp, FormatUnsigned(tmp, value));
}

void OutStream::Hex(uint32_t value, int min_digits) {
  char tmp[16];
  Put(tmp, FormatHex(tmp, value, min_digits));
}

bool OutStream::Flush() {
  if (used_ == 0 || error_) {
    used_ = 0;
    return !error_;
  }
  bool written = false;
  if (memory_ != nullptr) {
    written = faults_ == nullptr || !faults_->Now();
    if (written) memory_->append(buf_.get(), used_);
  } else if (file_ != nullptr) {
    written = std::fwrite(buf_.get(), 1, used_, file_) == used_;
    // The console is flushed at once, so that its lines keep their order.
    if (written && !owns_file_ && std::fflush(file_) != 0) written = false;
  }
  if (!written) error_ = true;
  used_ = 0;
  return !error_;
}

bool OutStream::Close() {
  if (closed_) return !error_;
  Flush();
  closed_ = true;
  if (file_ != nullptr && owns_file_) {
    if (std::fflush(file_) != 0 || std::ferror(file_)) error_ = true;
    if (std::fclose(file_) != 0) error_ = true;
    file_ = nullptr;
  } else if (memory_ != nullptr && faults_ != nullptr && faults_->Now()) {
    error_ = true;
  }
  return !error_;
}

}  // namespace platform
