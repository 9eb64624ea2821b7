#ifndef RRENSEN_PLATFORM_TEXT_READER_H_
#define RRENSEN_PLATFORM_TEXT_READER_H_

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fault_injector.h"

namespace platform {

/// One read of a text line as `fgets` with a 255-byte buffer delivers it: the
/// characters up to and including the next line feed, at most 254 of them. It
/// carries its length, so a NUL byte is ordinary data.
struct Piece {
  static constexpr size_t kMax = 254;
  char data[kMax + 1];
  size_t size = 0;
  std::string_view view() const { return std::string_view(data, size); }
};

/// Reads a file, or bytes in memory, with the host's text-mode convention on
/// every platform: CR LF is handed over as one line feed, a lone CR is kept,
/// and a Ctrl-Z byte ends the input.
class TextReader {
 public:
  /// Opens the file at `path` for reading; null when it cannot be opened.
  static std::unique_ptr<TextReader> OpenFile(const std::string& path);

  /// Reads from `bytes`, which must outlive the reader.
  explicit TextReader(std::string_view bytes);

  /// Reads a copy of `bytes`, taken in blocks as from a file: with `faults`,
  /// each block read and the close count as one file operation each and
  /// fail when it says so.
  TextReader(std::string bytes, FaultInjector* faults);

  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  /// Reads the next piece. False when nothing could be read: at the end of
  /// the input, or on a read error (then error() is true).
  bool ReadPiece(Piece* piece);

  /// True once the end of the input has been met (fgets' end-of-file flag).
  bool eof() const { return eof_; }
  /// True once a read has failed for another reason than the end.
  bool error() const { return error_; }

  /// Closes the file. False when the close failed.
  bool Close();

 private:
  explicit TextReader(std::FILE* file);
  /// Makes at least one raw byte available; false at the end or on error.
  bool Fill();

  /// Blocks handed over at a time by a file or by owned memory.
  static constexpr size_t kBlockSize = 1 << 16;

  std::FILE* file_ = nullptr;
  std::string owned_;  // the bytes of a reader over a copy
  size_t owned_pos_ = 0;
  FaultInjector* faults_ = nullptr;
  const char* raw_ = nullptr;  // current raw bytes
  size_t pos_ = 0;
  size_t len_ = 0;
  bool eof_ = false;
  bool error_ = false;
  bool at_end_ = false;  // the source has nothing more to read
  std::unique_ptr<char[]> buf_;
};

}  // namespace platform

#endif  // RRENSEN_PLATFORM_TEXT_READER_H_
