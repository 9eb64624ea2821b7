// Fuzz target: one whole run in memory, through the tool's own entry. The
// first line of the input holds the option words, the rest is the exchange
// file. Whatever the input, the run must finish, end its output with the
// restore block, and write no record with nan or inf.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "whole_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem = CheckFuzzInput(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "broken check: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
