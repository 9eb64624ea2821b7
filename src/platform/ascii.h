#ifndef RRENSEN_PLATFORM_ASCII_H_
#define RRENSEN_PLATFORM_ASCII_H_

#include <string_view>

namespace platform {

/// `c` with an ASCII capital made small; every other byte as it is. No
/// locale: the same on every platform.
inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when `a` and `b` are the same but for the case of ASCII letters.
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace platform

#endif  // RRENSEN_PLATFORM_ASCII_H_
