#ifndef RRENSEN_WRITER_INI_ZOKUSEI_H_
#define RRENSEN_WRITER_INI_ZOKUSEI_H_

#include "state/drawing_state.h"

/// Writes the attribute restore block to `s.fpw`: the text style, layer
/// group, layer, line type, line colour and pn value that the exchange file
/// carried first, so that the host's attributes end as they began. Four to
/// six lines; changes no field.
void IniZokusei(DrawingState& s);

#endif  // RRENSEN_WRITER_INI_ZOKUSEI_H_
