#ifndef RRENSEN_FUZZ_WHOLE_RUN_H_
#define RRENSEN_FUZZ_WHOLE_RUN_H_

#include <string>
#include <string_view>

/// One whole run of the tool in memory: option words and exchange-file bytes
/// in, the output bytes (as the scratch file would get them) out.
struct WholeRun {
  std::string output;
  std::string console;
  std::string errors;
  bool over_limit = false;  ///< refused for more than 50000 lines
};

/// Runs the option handler on each blank-separated word of `words` that
/// begins with "-" or "/", counts the lines of `exchange` as the driver does
/// and, within the limit, reads, builds and writes as the tool does.
WholeRun RunWholeInMemory(std::string_view words, std::string_view exchange);

#endif  // RRENSEN_FUZZ_WHOLE_RUN_H_
