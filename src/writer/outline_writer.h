#ifndef RRENSEN_WRITER_OUTLINE_WRITER_H_
#define RRENSEN_WRITER_OUTLINE_WRITER_H_

#include "geometry/fillet_trace.h"
#include "platform/out_stream.h"
#include "rrensen/fillet.h"

namespace writer {

/// Writes the lines and arcs of a drawn outline to `out` in drawing order: a
/// line record for each side and chord, an arc record for each arc corner.
/// A refused outline writes nothing.
void WriteOutlineRecords(const rrensen::Outline& outline,
                         const geometry::FilletTrace& trace,
                         platform::OutStream& out);

/// The debug trace of the filleting at level 2, as far as the passes got:
/// on `console` a spacing line for each side tested, the corner lines of
/// each corner reached and, for a drawn outline of three or more points,
/// the count line; into `out` (before the outline's records) a text record
/// and a circle of half the radius at the centre of each corner that
/// completed.
void WriteFilletTrace(const rrensen::Outline& outline,
                      const geometry::FilletTrace& trace, double fillet_size,
                      platform::OutStream& console, platform::OutStream& out);

}  // namespace writer

#endif  // RRENSEN_WRITER_OUTLINE_WRITER_H_
