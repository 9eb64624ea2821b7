// The libFuzzer entry of every fuzz target: it runs the target's check on
// one input and stops the fuzzer with the reason when the check breaks.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

/// The check of one input, from the fuzz target this entry is linked with:
/// "" when it holds, else what is wrong.
std::string CheckFuzzInput(std::string_view input);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem = CheckFuzzInput(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "broken check: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
