#ifndef RRENSEN_READER_SCAN_H_
#define RRENSEN_READER_SCAN_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

/// Number parsers and a small formatted scan with the semantics of the host's
/// C runtime, written out so that no platform's scanf quirks (or undefined
/// behaviour on overflow) leak in. The text ends at the end of the view: no
/// scan ever looks past it. A NUL byte is an ordinary character, neither
/// white space nor part of a number.
namespace reader::scan {

/// C-locale white space: blank, \t, \n, \v, \f, \r.
bool IsSpace(char c);

/// "%d": skips white space, then an optional sign and decimal digits. The
/// value wraps modulo 2^32 as the host's runtime does ("4294967301" is 5).
/// On success stores the value, advances `*pos` past the number, returns true.
bool ParseInt(std::string_view text, size_t* pos, int32_t* value);

/// "%x": as ParseInt with hexadecimal digits and an optional "0x" prefix.
bool ParseHex(std::string_view text, size_t* pos, int32_t* value);

/// "%lf": skips white space, then a decimal real with optional sign, digits
/// with an optional point and an optional exponent, correctly rounded; or the
/// words "inf", "infinity", "nan" in any case. No hexadecimal reals. A value
/// too large for a double reads as infinity, one too small as zero.
bool ParseReal(std::string_view text, size_t* pos, double* value);

/// Where one conversion of a format stores its value: an int for %d and %x,
/// a double for %lf, a character field of `capacity` bytes for %s (the word
/// is cut to capacity - 1 characters and always NUL-terminated).
struct Target {
  Target(int32_t* p) : ptr(p) {}  // NOLINT: implicit on purpose
  Target(double* p) : ptr(p) {}   // NOLINT
  Target(char* p, size_t capacity) : ptr(p), cap(capacity) {}
  void* ptr;  ///< of the type the constructor took; the format names it
  size_t cap = 0;
};

/// Scans `line` from position `start` with a scanf-style `format` made of
/// %d, %x, %lf, %s, blanks (matching any run of white space, none included)
/// and literal characters. Stops at the first field or literal that does not
/// match; that target and the later ones keep their values. Returns the
/// number of targets stored.
int Scan(std::string_view line, size_t start, const char* format,
         std::initializer_list<Target> targets);

}  // namespace reader::scan

#endif  // RRENSEN_READER_SCAN_H_
