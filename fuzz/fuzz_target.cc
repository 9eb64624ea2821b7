// Fuzz target: one whole run in memory. The first line of the input holds
// the option words, the rest is the exchange file. Whatever the input, the
// run must finish, end its output with the restore block, and write no
// record with nan or inf.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "output_check.h"
#include "whole_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nl = input.find('\n');
  std::string_view words =
      nl == std::string_view::npos ? input : input.substr(0, nl);
  std::string_view exchange =
      nl == std::string_view::npos ? std::string_view() : input.substr(nl + 1);
  WholeRun run = RunWholeInMemory(words, exchange);
  // Only a refusal of an over-long file ends without the restore block.
  if (run.status != 0) return 0;
  std::string problem = check::CompletedOutput(run.output);
  if (!problem.empty()) {
    std::fprintf(stderr, "broken check: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
