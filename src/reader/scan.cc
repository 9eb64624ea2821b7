#include "reader/scan.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace scan {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when `text` continues at `pos` with `word`, ignoring letter case.
bool HasWord(std::string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    if (Lower(text[pos + k]) != word[k]) return false;
  }
  return true;
}

void SkipSpace(std::string_view text, size_t* pos) {
  while (*pos < text.size() && IsSpace(text[*pos])) ++*pos;
}

/// Reads an optional sign at `*pos`; true for a minus.
bool ReadSign(std::string_view text, size_t* pos) {
  if (*pos < text.size() && (text[*pos] == '+' || text[*pos] == '-')) {
    return text[(*pos)++] == '-';
  }
  return false;
}

/// Applies the sign to a magnitude accumulated modulo 2^32 and returns the
/// two's-complement value, without signed overflow.
int32_t Wrap(uint32_t magnitude, bool negative) {
  uint32_t bits = negative ? 0u - magnitude : magnitude;
  if (bits <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
    return static_cast<int32_t>(bits);
  }
  return static_cast<int32_t>(bits - 0x80000000u) +
         std::numeric_limits<int32_t>::min();
}

}  // namespace

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool ParseInt(std::string_view text, size_t* pos, int32_t* value) {
  size_t p = *pos;
  SkipSpace(text, &p);
  bool negative = ReadSign(text, &p);
  if (p >= text.size() || !IsDigit(text[p])) return false;
  uint32_t magnitude = 0;
  while (p < text.size() && IsDigit(text[p])) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[p] - '0');
    ++p;
  }
  *value = Wrap(magnitude, negative);
  *pos = p;
  return true;
}

bool ParseHex(std::string_view text, size_t* pos, int32_t* value) {
  size_t p = *pos;
  SkipSpace(text, &p);
  bool negative = ReadSign(text, &p);
  if (p + 2 < text.size() && text[p] == '0' && Lower(text[p + 1]) == 'x' &&
      HexValue(text[p + 2]) >= 0) {
    p += 2;
  }
  if (p >= text.size() || HexValue(text[p]) < 0) return false;
  uint32_t magnitude = 0;
  while (p < text.size() && HexValue(text[p]) >= 0) {
    magnitude = magnitude * 16u + static_cast<uint32_t>(HexValue(text[p]));
    ++p;
  }
  *value = Wrap(magnitude, negative);
  *pos = p;
  return true;
}

bool ParseReal(std::string_view text, size_t* pos, double* value) {
  size_t p = *pos;
  SkipSpace(text, &p);
  bool negative = ReadSign(text, &p);
  double result = 0.0;
  if (HasWord(text, p, "nan")) {
    result = std::numeric_limits<double>::quiet_NaN();
    p += 3;
  } else if (HasWord(text, p, "inf")) {
    result = std::numeric_limits<double>::infinity();
    p += HasWord(text, p, "infinity") ? 8 : 3;
  } else {
    // The longest prefix of the form digits[.digits][e[sign]digits] with at
    // least one mantissa digit.
    size_t begin = p;
    size_t digits = 0;
    long magnitude = 0;  // decimal position of the leading digit, roughly
    bool leading = true;
    while (p < text.size() && IsDigit(text[p])) {
      if (text[p] != '0') leading = false;
      if (!leading && magnitude < 100000) ++magnitude;
      ++p;
      ++digits;
    }
    if (p < text.size() && text[p] == '.') {
      ++p;
      while (p < text.size() && IsDigit(text[p])) {
        if (leading && text[p] == '0' && magnitude > -100000) --magnitude;
        if (text[p] != '0') leading = false;
        ++p;
        ++digits;
      }
    }
    if (digits == 0) return false;
    if (p < text.size() && Lower(text[p]) == 'e') {
      size_t q = p + 1;
      bool exp_negative = ReadSign(text, &q);
      if (q < text.size() && IsDigit(text[q])) {
        long exponent = 0;
        while (q < text.size() && IsDigit(text[q])) {
          if (exponent < 100000) exponent = exponent * 10 + (text[q] - '0');
          ++q;
        }
        magnitude += exp_negative ? -exponent : exponent;
        p = q;
      }
    }
    std::from_chars_result r = std::from_chars(
        text.data() + begin, text.data() + p, result,
        std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
      result = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (r.ec != std::errc() || r.ptr != text.data() + p) {
      return false;
    }
  }
  *value = negative ? -result : result;
  *pos = p;
  return true;
}

int Scan(std::string_view line, size_t start, const char* format,
         std::initializer_list<Target> targets) {
  size_t pos = start < line.size() ? start : line.size();
  const Target* next = targets.begin();
  int stored = 0;
  for (const char* f = format; *f != '\0'; ++f) {
    if (*f == ' ') {
      SkipSpace(line, &pos);
      continue;
    }
    if (*f != '%') {
      if (pos >= line.size() || line[pos] != *f) return stored;
      ++pos;
      continue;
    }
    if (next == targets.end()) return stored;
    ++f;
    bool ok = false;
    if (*f == 'd') {
      ok = ParseInt(line, &pos, next->i);
    } else if (*f == 'x') {
      ok = ParseHex(line, &pos, next->i);
    } else if (*f == 'l' && f[1] == 'f') {
      ++f;
      ok = ParseReal(line, &pos, next->d);
    } else if (*f == 's') {
      SkipSpace(line, &pos);
      size_t n = 0;
      while (pos < line.size() && !IsSpace(line[pos])) {
        if (n + 1 < next->cap) next->s[n++] = line[pos];
        ++pos;
        ok = true;
      }
      if (ok) next->s[n] = '\0';
    }
    if (!ok) return stored;
    ++stored;
    ++next;
  }
  return stored;
}

}  // namespace scan
