#ifndef RRENSEN_DRIVER_PROCESS_H_
#define RRENSEN_DRIVER_PROCESS_H_

#include <cstdint>

#include "driver/settings.h"
#include "platform/out_stream.h"
#include "platform/text_reader.h"
#include "reader/exchange_contents.h"
#include "reader/exchange_reader.h"

namespace driver {

/// Fillets the indicated points of `points` with the settings' fillet size
/// and writes the outline's records to `out`, with the debug lines of the
/// settings' level on `console` (and the level-2 markers in `out`). Returns
/// the result: 0 drawn, 1, 2 or 3 refused; more than 19 point records, or a
/// last point number outside 0 to 19, give 1 before anything is written.
int BuildOutline(const reader::IndicatedPoints& points, const Settings& settings,
                 platform::OutStream& console, platform::OutStream& out);

/// The work of one run between opening and closing the files: reads `in`,
/// builds the outline, and writes to `out` the passed-through lines, the
/// outline's records, the result message, the level-1 trailer and the
/// restore block. `line_count` is the driver's count, shown in debug lines.
/// Returns false, having written nothing after the reader's pass-through,
/// when `in` could not be read to its end.
bool ProcessExchange(platform::TextReader& in, platform::OutStream& out,
                     platform::OutStream& console, const Settings& settings,
                     uint32_t line_count);

}  // namespace driver

#endif  // RRENSEN_DRIVER_PROCESS_H_
