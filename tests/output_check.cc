#include "output_check.h"

#include <vector>

namespace check {
namespace {

bool StartsWith(std::string_view s, std::string_view p) {
  return s.substr(0, p.size()) == p;
}

/// "<key><digits>" with a leading minus allowed where `sign`.
bool KeyNumber(std::string_view line, std::string_view key, bool hex,
               bool sign) {
  if (!StartsWith(line, key)) return false;
  std::string_view v = line.substr(key.size());
  if (sign && !v.empty() && v[0] == '-') v.remove_prefix(1);
  if (v.empty()) return false;
  for (char c : v) {
    bool digit = (c >= '0' && c <= '9') || (hex && c >= 'a' && c <= 'f');
    if (!digit) return false;
  }
  return true;
}

}  // namespace

std::string CompletedOutput(std::string_view output) {
  std::vector<std::string_view> lines;
  while (!output.empty()) {
    size_t end = output.find("\r\n");
    if (end == std::string_view::npos) return "output does not end in CR LF";
    lines.push_back(output.substr(0, end));
    output.remove_prefix(end + 2);
  }
  for (std::string_view line : lines) {
    bool record = StartsWith(line, " ") || StartsWith(line, "ci ") ||
                  StartsWith(line, "ch ") || StartsWith(line, "cn") ||
                  StartsWith(line, "lg") || StartsWith(line, "ly") ||
                  StartsWith(line, "lt") || StartsWith(line, "lc") ||
                  StartsWith(line, "pn");
    if (record && (line.find("nan") != std::string_view::npos ||
                   line.find("inf") != std::string_view::npos)) {
      return "record with a non-finite value: " + std::string(line);
    }
  }
  size_t n = lines.size();
  if (n > 0 && KeyNumber(lines[n - 1], "pn", false, true)) --n;
  if (n < 4 || !KeyNumber(lines[n - 4], "lg", true, false) ||
      !KeyNumber(lines[n - 3], "ly", true, false) ||
      !KeyNumber(lines[n - 2], "lt", false, true) ||
      !KeyNumber(lines[n - 1], "lc", false, true)) {
    return "output does not end with the restore block";
  }
  return "";
}

}  // namespace check
