#ifndef RRENSEN_PYTHON_ARGUMENTS_H_
#define RRENSEN_PYTHON_ARGUMENTS_H_

/// Reading the module's Python arguments into the library's plain values,
/// with the GIL held, before a call releases it. Every bad argument becomes
/// a TypeError or a ValueError that names the argument, and the index of
/// the first bad item; no argument of any type can crash the interpreter.
///
/// Tables of numbers (points now; vertices with a bulge later) are read
/// through one reader, `ReadRows`: from an object that exports a buffer of
/// plain numbers (a NumPy array of shape (N, columns), any strides and byte
/// order) without running Python code per row, or else from a sequence of
/// rows, each a sequence of `columns` numbers.

#include <pybind11/pybind11.h>

#include <cstddef>
#include <vector>

#include "rrensen/fillet.h"
#include "rrensen/polyline.h"

namespace rrensen_python {

/// The most rows one call takes: the library numbers points, corners and
/// segments (about two per point) with int.
constexpr std::size_t kMostRows = 1073741822;  // (INT_MAX - 3) / 2

/// What a row is, for reading and for messages.
struct RowShape {
  int columns;
  /// A row in words, for messages: "a pair (x, y)".
  const char* noun;
  /// Rows in words: "pairs (x, y)".
  const char* plural;
  /// The array shape in words: "(N, 2)".
  const char* array_shape;
};

/// Receives the rows of a table as they are read.
class RowSink {
 public:
  virtual ~RowSink() = default;
  /// The number of rows, when known before reading (a hint).
  virtual void Reserve(std::size_t rows) = 0;
  /// One row: `columns` numbers.
  virtual void Add(const double* row) = 0;
};

/// Reads the table `table`, the argument called `name`, row by row into
/// `sink`. Throws pybind11's type_error or value_error, or
/// error_already_set when Python code the reading ran (an item's
/// __float__, a sequence's __getitem__) raised something else.
void ReadRows(pybind11::handle table, const char* name, const RowShape& shape,
              RowSink& sink);

/// `points`: a sequence of (x, y) pairs, or an array of shape (N, 2).
std::vector<rrensen::Point> ReadPoints(pybind11::handle points,
                                       const char* name);

/// `vertices`: a sequence of (x, y, bulge) triples, or an array of shape
/// (N, 3), as ezdxf's get_points("xyb") gives a polyline's vertices.
std::vector<rrensen::BulgeVertex> ReadBulgeVertices(pybind11::handle vertices,
                                                    const char* name);

/// A real number: an int or a float, or an object with __float__ or
/// __index__ (NumPy scalars, Fraction, Decimal); not a bool, a str, bytes
/// or a complex number.
double ReadReal(pybind11::handle value, const char* name);

/// A fillet size: a real number, 0 or more and finite.
double ReadSize(pybind11::handle size, const char* name);

/// An upper limit: None or +inf for none, else a real number above 0.
double ReadLimit(pybind11::handle limit, const char* name);

/// "proximity", "open" or "closed".
rrensen::Closing ReadClosing(pybind11::handle closing, const char* name);

/// "chord", "radius", "chamfer" or "chord-chamfer": how each corner is cut
/// (rrensen::CornerStyleNamed).
rrensen::CornerStyle ReadStyle(pybind11::handle style, const char* name);

}  // namespace rrensen_python

#endif  // RRENSEN_PYTHON_ARGUMENTS_H_
