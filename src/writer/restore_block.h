#ifndef RRENSEN_WRITER_RESTORE_BLOCK_H_
#define RRENSEN_WRITER_RESTORE_BLOCK_H_

#include "platform/out_stream.h"
#include "reader/attributes.h"

namespace writer {

/// Writes the attribute restore block to `out`: the text style, layer
/// group, layer, line type, line colour and pn value that the exchange file
/// carried first, so that the host's attributes end as they began. Four to
/// six lines; always the last thing in a completed run's output.
void WriteRestoreBlock(const reader::CapturedAttributes& captured,
                       platform::OutStream& out);

}  // namespace writer

#endif  // RRENSEN_WRITER_RESTORE_BLOCK_H_
