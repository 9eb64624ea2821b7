#ifndef RRENSEN_TESTS_E2E_HARNESS_H_
#define RRENSEN_TESTS_E2E_HARNESS_H_

#include <initializer_list>
#include <map>
#include <string>

namespace e2e {

/// File name -> exact bytes.
using Files = std::map<std::string, std::string>;

/// What one run of the tool left behind.
struct Outcome {
  int status = 0;    ///< exit status as the shell sees it (-1 shows as 255)
  std::string out;   ///< standard output
  std::string err;   ///< standard error
  Files files;       ///< every file in the directory afterwards
};

/// Runs the tool (the command in $RRENSEN_COMMAND) with `args` in a fresh
/// temporary directory that holds `files`, and collects the outcome.
/// `setup`, when given, is a shell command run in that directory first.
Outcome RunIn(const Files& files, const std::string& args = "",
            const std::string& setup = "");

/// Joins lines with CR LF, each line ended.
std::string Crlf(std::initializer_list<const char*> lines);

/// The restore block of a run that captured nothing, CR LF.
std::string EmptyRestoreBlock();

}  // namespace e2e

#endif  // RRENSEN_TESTS_E2E_HARNESS_H_
