#include "reader/scan.h"

#include <fast_float/fast_float.h>

#include <limits>
#include <system_error>

#include "platform/ascii.h"

namespace reader::scan {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// True when `text` continues at `pos` with `word`, ignoring letter case.
bool HasWord(std::string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    if (platform::LowerAscii(text[pos + k]) != word[k]) return false;
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
  return c == ' ' || (c >= '\t' && c <= '\r');  // \t \n \v \f \r
}

namespace {

/// "%d" (base 10) and "%x" (base 16, with an optional "0x" prefix).
bool ParseInteger(std::string_view text, size_t* pos, int32_t* value,
                  int base) {
  auto digit = [base](char c) {
    return base == 16 ? HexValue(c) : (IsDigit(c) ? c - '0' : -1);
  };
  size_t p = *pos;
  SkipSpace(text, &p);
  bool negative = ReadSign(text, &p);
  if (base == 16 && p + 2 < text.size() && text[p] == '0' &&
      platform::LowerAscii(text[p + 1]) == 'x' && HexValue(text[p + 2]) >= 0) {
    p += 2;
  }
  if (p >= text.size() || digit(text[p]) < 0) return false;
  uint32_t magnitude = 0;
  for (; p < text.size() && digit(text[p]) >= 0; ++p) {
    magnitude = magnitude * static_cast<uint32_t>(base) +
                static_cast<uint32_t>(digit(text[p]));
  }
  *value = Wrap(magnitude, negative);
  *pos = p;
  return true;
}

}  // namespace

bool ParseInt(std::string_view text, size_t* pos, int32_t* value) {
  return ParseInteger(text, pos, value, 10);
}

bool ParseHex(std::string_view text, size_t* pos, int32_t* value) {
  return ParseInteger(text, pos, value, 16);
}

bool ParseReal(std::string_view text, size_t* pos, double* value) {
  size_t p = *pos;
  SkipSpace(text, &p);
  bool negative = ReadSign(text, &p);
  double result = 0.0;
  if (p < text.size() && !IsDigit(text[p]) && text[p] != '.') {
    if (HasWord(text, p, "nan")) {
      result = std::numeric_limits<double>::quiet_NaN();
      p += 3;
    } else if (HasWord(text, p, "inf")) {
      result = std::numeric_limits<double>::infinity();
      p += HasWord(text, p, "infinity") ? 8 : 3;
    } else {
      return false;
    }
    *value = negative ? -result : result;
    *pos = p;
    return true;
  }
  // The longest prefix of the form digits[.digits][e[sign]digits] with at
  // least one mantissa digit. On the way, up to 19 significant digits are
  // gathered in `mantissa`, the value being mantissa x 10^scale.
  const char* s = text.data();
  const size_t n = text.size();
  const size_t begin = p;
  uint64_t mantissa = 0;
  int significant = 0;  // digits from the first non-zero one on
  long scale = 0;
  while (p < n && IsDigit(s[p])) {
    uint64_t d = static_cast<uint64_t>(s[p++] - '0');
    if ((mantissa | d) != 0 && ++significant > 19) continue;
    mantissa = mantissa * 10 + d;
  }
  const size_t int_end = p;
  size_t frac_begin = p;
  if (p < n && s[p] == '.') {
    frac_begin = ++p;
    while (p < n && IsDigit(s[p])) {
      uint64_t d = static_cast<uint64_t>(s[p++] - '0');
      if ((mantissa | d) != 0 && ++significant > 19) continue;
      mantissa = mantissa * 10 + d;
      --scale;
    }
  }
  const size_t frac_end = p;
  if (int_end == begin && frac_end == frac_begin) return false;
  long exponent = 0;
  if (p < n && platform::LowerAscii(s[p]) == 'e') {
    size_t q = p + 1;
    bool exp_negative = ReadSign(text, &q);
    if (q < n && IsDigit(s[q])) {
      while (q < n && IsDigit(s[q])) {
        if (exponent < 100000) exponent = exponent * 10 + (s[q] - '0');
        ++q;
      }
      if (exp_negative) exponent = -exponent;
      p = q;
    }
  }
  scale += exponent;

  // Exact fast path: a mantissa below 2^53 and a power of ten up to 10^22
  // are both exact doubles, so one IEEE multiplication or division rounds
  // correctly, the same on every platform. Anything else goes to
  // fast_float, which rounds correctly too, the same on every platform: a
  // value too large for a double comes out as infinity, one too small as
  // zero.
  const bool fast = significant <= 19;
  static const double kPow10[] = {
      1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (fast && mantissa < (uint64_t{1} << 53) && scale >= -22 && scale <= 22) {
    double m = static_cast<double>(mantissa);
    result = scale < 0 ? m / kPow10[-scale] : m * kPow10[scale];
  } else {
    fast_float::from_chars_result r = fast_float::from_chars(
        text.data() + begin, text.data() + p, result,
        fast_float::chars_format::general);
    if (r.ec != std::errc() || r.ptr != text.data() + p) return false;
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
      // Before a conversion a blank changes nothing: the conversion skips
      // white space itself.
      if (f[1] != '%') SkipSpace(line, &pos);
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
      ok = ParseInt(line, &pos, static_cast<int32_t*>(next->ptr));
    } else if (*f == 'x') {
      ok = ParseHex(line, &pos, static_cast<int32_t*>(next->ptr));
    } else if (*f == 'l' && f[1] == 'f') {
      ++f;
      ok = ParseReal(line, &pos, static_cast<double*>(next->ptr));
    } else if (*f == 's') {
      SkipSpace(line, &pos);
      char* word = static_cast<char*>(next->ptr);
      size_t n = 0;
      while (pos < line.size() && !IsSpace(line[pos])) {
        if (n + 1 < next->cap) word[n++] = line[pos];
        ++pos;
        ok = true;
      }
      if (ok && next->cap > 0) word[n] = '\0';  // a field of no bytes holds none
    }
    if (!ok) return stored;
    ++stored;
    ++next;
  }
  return stored;
}

}  // namespace reader::scan
