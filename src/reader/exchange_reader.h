#ifndef RRENSEN_READER_EXCHANGE_READER_H_
#define RRENSEN_READER_EXCHANGE_READER_H_

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/exchange_contents.h"

namespace reader {

/// Called with each line that the reader takes as a record, after the record
/// has changed the contents; lets a caller see every record, where the
/// contents keep only what the run uses.
using RecordHook = std::function<void(std::string_view line)>;

/// The most lines the reader takes: the longest exchange file the tool
/// accepts.
constexpr uint32_t kLineLimit = 50000;

struct ReadOptions {
  /// The debug level: at 3 every line read and every point record is shown
  /// on the console.
  int32_t debug_level = 0;
  /// The driver's count of the file's lines, shown in the level-3 lines.
  uint32_t line_count = 0;
  /// The most lines to read.
  uint32_t line_limit = kLineLimit;
};

/// Reads the exchange file `in` line by line (pieces of at most 254
/// characters) into `contents`, and passes comment lines ("#") and "bz"
/// lines through to `pass_through` unchanged, whole however long, each
/// ended with a line end. A read error leaves `in.error()` set for the
/// caller to see.
void ReadExchange(platform::TextReader& in, const ReadOptions& options,
                  platform::OutStream& pass_through,
                  platform::OutStream& console, ExchangeContents* contents,
                  const RecordHook& hook = nullptr);

}  // namespace reader

#endif  // RRENSEN_READER_EXCHANGE_READER_H_
