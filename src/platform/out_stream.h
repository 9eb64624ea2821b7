#ifndef RRENSEN_PLATFORM_OUT_STREAM_H_
#define RRENSEN_PLATFORM_OUT_STREAM_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fault_injector.h"

namespace platform {

/// Size of the buffer each stream moves its bytes through.
constexpr size_t kStreamBufferSize = 1 << 16;

/// A buffered output stream with the host's text-mode convention: in CR LF
/// mode every line feed written is stored as CR LF. One class serves a file,
/// memory (for tests and previews: the same bytes as the file would get) and
/// the console, so that every writer has one code path.
class OutStream {
 public:
  /// Creates (or empties) the file at `path` in CR LF mode. Returns null when
  /// it cannot be opened.
  static std::unique_ptr<OutStream> OpenFile(const std::string& path);

  /// Appends to `*memory` (which must outlive the stream) when flushed;
  /// `crlf` as for a file. With `faults`, every flush and the close count as
  /// one file operation each and fail when it says so.
  explicit OutStream(std::string* memory, bool crlf = true,
                     FaultInjector* faults = nullptr);

  /// Writes through to an open stdio stream (the console) unchanged.
  explicit OutStream(std::FILE* console);

  virtual ~OutStream();
  OutStream(const OutStream&) = delete;
  OutStream& operator=(const OutStream&) = delete;

  void Write(const char* data, size_t size);
  void Str(std::string_view text) { Write(text.data(), text.size()); }
  void Chr(char c) { Write(&c, 1); }
  /// printf "%.<decimals>f", the same bytes on every platform.
  void Fixed(double value, int decimals);
  /// printf "%d".
  void Int(int32_t value);
  /// printf "%u".
  void Unsigned(uint32_t value);
  /// printf "%x" / "%06x" of the 32-bit pattern.
  void Hex(uint32_t value, int min_digits = 1);

  /// Hands buffered bytes on; false once any write has failed.
  bool Flush();
  /// Flushes and, for a file, closes it. False when any write or the close
  /// failed: the caller must not take the file as complete then.
  bool Close();
  /// True once a write has failed.
  bool failed() const { return error_; }

 private:
  OutStream(std::FILE* file, bool owns, bool crlf);
  void Put(const char* data, size_t size);

  std::FILE* file_ = nullptr;
  std::string* memory_ = nullptr;
  FaultInjector* faults_ = nullptr;
  bool owns_file_ = false;
  bool crlf_ = false;
  bool error_ = false;
  bool closed_ = false;
  size_t used_ = 0;
  std::unique_ptr<char[]> buf_;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_OUT_STREAM_H_
