#ifndef RRENSEN_DRIVER_OPTIONS_H_
#define RRENSEN_DRIVER_OPTIONS_H_

#include "state/drawing_state.h"

/// Handles one command-line word, lead character ("-" or "/") included: the
/// letter (any case) picks the setting, the rest of the word is its value.
/// Out-of-range values are refused or clamped silently; an unknown letter
/// writes "\n illegal Option.\n" to s.err. While isTest is above 2 every
/// word is followed by two trace lines on s.out.
void opt(DrawingState& s, const char* word);

#endif  // RRENSEN_DRIVER_OPTIONS_H_
