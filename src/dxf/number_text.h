#ifndef RRENSEN_DXF_NUMBER_TEXT_H_
#define RRENSEN_DXF_NUMBER_TEXT_H_

/// Numbers as DXF writes them, the same bytes on every platform: no locale,
/// no C runtime formatting.

#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>

namespace dxf {

/// `value` in fixed notation with the fewest digits that read back as the
/// same double, and at least one decimal ("10.0", "-0.1",
/// "0.30000000000000004"); negative zero is written "0.0". For finite values
/// only (a non-finite value gives "nan" or "inf", which DXF has no use for).
std::string FormatCoordinate(double value);

/// Room for any coordinate's text: the largest finite double has 309
/// integer digits, the smallest 324 decimals after "0." and 17 significant
/// digits at most, with a sign.
constexpr size_t kCoordinateBytes = 360;

/// Writes FormatCoordinate(value) into `out`, which has room for
/// kCoordinateBytes; returns its length. No heap. The bytes after the text,
/// within kCoordinateBytes, may be written over.
size_t WriteCoordinate(char* out, double value);

/// Appends FormatCoordinate(value) to `out`.
void AppendCoordinate(std::string& out, double value);


/// Reads a real number: blanks around it are allowed, a leading '+' too,
/// and nothing else. False when the text is not a number.
bool ParseReal(std::string_view text, double& value);

/// Reads a whole number in the range of int, blanks around it allowed.
bool ParseInteger(std::string_view text, int& value);

/// Reads a handle: 1 to 16 hexadecimal digits.
bool ParseHandle(std::string_view text, uint64_t& value);

/// A handle in upper-case hexadecimal without leading zeros.
std::string FormatHandle(uint64_t value);

}  // namespace dxf

#endif  // RRENSEN_DXF_NUMBER_TEXT_H_
