#ifndef RRENSEN_TESTS_OUTPUT_CHECK_H_
#define RRENSEN_TESTS_OUTPUT_CHECK_H_

#include <string>
#include <string_view>

namespace check {

/// What must hold for the output of any completed run, whatever the input:
/// it ends with the attribute restore block, and no record the tool writes
/// (line, arc, circle, text marker, restore record) carries nan or inf.
/// Returns "" when it holds, else what is wrong.
std::string CompletedOutput(std::string_view output);

}  // namespace check

#endif  // RRENSEN_TESTS_OUTPUT_CHECK_H_
