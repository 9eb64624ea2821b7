#ifndef RRENSEN_DRIVER_OPTIONS_H_
#define RRENSEN_DRIVER_OPTIONS_H_

#include "driver/settings.h"
#include "platform/out_stream.h"

namespace driver {

/// Handles one command-line word, lead character ("-" or "/") included: the
/// letter (any case) picks the setting, the rest of the word is its value.
/// Out-of-range values are refused or clamped silently; an unknown letter
/// writes "\n illegal Option.\n" to `errors`. While the debug level is
/// above 2 every word is followed by two trace lines on `console`.
void ApplyOption(const char* word, Settings* settings,
                 platform::OutStream& console, platform::OutStream& errors);

}  // namespace driver

#endif  // RRENSEN_DRIVER_OPTIONS_H_
