#include "arguments.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace py = pybind11;

namespace rrensen_python {
namespace {

/// Rows wider than this are not read (the widest row read is 3 columns).
constexpr int kMostColumns = 4;

/// "points", "points[3]" or "points[3][1]": the argument, a row of it or one
/// number of a row. A negative index is left out.
std::string ItemName(const char* name, Py_ssize_t row = -1, int column = -1) {
  std::string text = name;
  if (row >= 0) text += "[" + std::to_string(row) + "]";
  if (column >= 0) text += "[" + std::to_string(column) + "]";
  return text;
}

std::string TypeName(PyObject* value) { return Py_TYPE(value)->tp_name; }

/// Text is a sequence of characters or bytes, never a row or a number.
bool IsText(PyObject* value) {
  return PyUnicode_Check(value) || PyBytes_Check(value) ||
         PyByteArray_Check(value);
}

/// Replaces the Python error being raised by `type` with `message`, the
/// first one kept as its cause, and throws it.
[[noreturn]] void RaiseFrom(PyObject* type, const std::string& message) {
  py::raise_from(type, message.c_str());
  throw py::error_already_set();
}

/// After a failed C-API call: a TypeError, ValueError or OverflowError is
/// replaced by `type` with `message`; anything else (KeyboardInterrupt,
/// MemoryError, an error of the caller's own) goes on as it is.
[[noreturn]] void RaiseFromConversionError(PyObject* type,
                                           const std::string& message) {
  if (PyErr_ExceptionMatches(PyExc_TypeError) ||
      PyErr_ExceptionMatches(PyExc_ValueError) ||
      PyErr_ExceptionMatches(PyExc_OverflowError)) {
    RaiseFrom(type, message);
  }
  throw py::error_already_set();
}

/// One number of a row or an argument. May run Python code (__float__).
double ReadNumber(PyObject* value, const char* name, Py_ssize_t row,
                  int column) {
  if (PyFloat_Check(value)) return PyFloat_AS_DOUBLE(value);
  // A bool is an int to Python, but never a meaningful coordinate or size.
  if (PyBool_Check(value)) {
    throw py::type_error(ItemName(name, row, column) +
                         " must be a number, not bool");
  }
  if (PyLong_Check(value)) {
    const double number = PyLong_AsDouble(value);
    if (number == -1.0 && PyErr_Occurred() != nullptr) {
      RaiseFromConversionError(PyExc_ValueError,
                               ItemName(name, row, column) +
                                   " is too large for a float");
    }
    return number;
  }
  const PyNumberMethods* methods = Py_TYPE(value)->tp_as_number;
  const bool has_float = methods != nullptr &&
                         (methods->nb_float != nullptr || methods->nb_index != nullptr);
  if (!has_float || IsText(value) || PyComplex_Check(value)) {
    throw py::type_error(ItemName(name, row, column) +
                         " must be a number, not " + TypeName(value));
  }
  const double number = PyFloat_AsDouble(value);
  if (number == -1.0 && PyErr_Occurred() != nullptr) {
    if (PyErr_ExceptionMatches(PyExc_OverflowError)) {
      RaiseFrom(PyExc_ValueError,
                ItemName(name, row, column) + " is too large for a float");
    }
    RaiseFromConversionError(
        PyErr_ExceptionMatches(PyExc_ValueError) ? PyExc_ValueError
                                                 : PyExc_TypeError,
        ItemName(name, row, column) + " (a " + TypeName(value) +
            ") cannot be read as a float");
  }
  return number;
}

/// Row `row` of a sequence table. The fast way, for a tuple or list of
/// floats, runs no Python code; the general one holds a reference to every
/// object it reads, as reading a number may run code that changes the
/// containers.
void ReadRow(PyObject* item, const char* name, Py_ssize_t row,
             const RowShape& shape, double* values) {
  if ((PyTuple_CheckExact(item) || PyList_CheckExact(item)) &&
      PySequence_Fast_GET_SIZE(item) == shape.columns) {
    PyObject** items = PySequence_Fast_ITEMS(item);
    int c = 0;
    while (c < shape.columns && PyFloat_CheckExact(items[c])) {
      values[c] = PyFloat_AS_DOUBLE(items[c]);
      ++c;
    }
    if (c == shape.columns) return;
  }
  if (IsText(item) || PySequence_Check(item) == 0) {
    throw py::type_error(ItemName(name, row) + " must be " + shape.noun +
                         ", not " + TypeName(item));
  }
  const Py_ssize_t size = PySequence_Size(item);
  if (size < 0) {
    RaiseFromConversionError(PyExc_TypeError, ItemName(name, row) + " must be " +
                                                  shape.noun + ", not " +
                                                  TypeName(item));
  }
  if (size != shape.columns) {
    throw py::value_error(ItemName(name, row) + " has " + std::to_string(size) +
                          (size == 1 ? " item" : " items") + ", not " +
                          std::to_string(shape.columns) + ": it must be " +
                          shape.noun);
  }
  std::array<py::object, kMostColumns> held;
  for (int c = 0; c < shape.columns; ++c) {
    PyObject* number = PySequence_GetItem(item, c);
    if (number == nullptr) throw py::error_already_set();
    held[static_cast<std::size_t>(c)] = py::reinterpret_steal<py::object>(number);
  }
  for (int c = 0; c < shape.columns; ++c) {
    values[c] = ReadNumber(held[static_cast<std::size_t>(c)].ptr(), name, row, c);
  }
}

[[noreturn]] void ThrowTooManyRows(const char* name, std::size_t rows) {
  throw py::value_error(name + std::string(" has ") + std::to_string(rows) +
                        " items; the most one call takes is " +
                        std::to_string(kMostRows));
}

/// What the numbers of a buffer are, from its struct-module format.
enum class ElementKind { kSigned, kUnsigned, kFloat, kBool, kComplex, kOther };

struct ElementType {
  ElementKind kind = ElementKind::kOther;
  /// Stored in the other byte order than this machine's.
  bool swapped = false;
};

bool LittleEndianMachine() {
  const std::uint16_t one = 1;
  unsigned char first = 0;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

/// Reads a format such as "d", "<f8"-style "<d", ">i" or "Zd" (NumPy's
/// complex). Anything else (structures, strings, objects) is kOther.
ElementType ParseFormat(const char* format, Py_ssize_t item_size) {
  ElementType type;
  if (format == nullptr) format = "B";
  bool little = LittleEndianMachine();
  switch (*format) {
    case '@':
    case '=': ++format; break;
    case '<': little = true; ++format; break;
    case '>':
    case '!': little = false; ++format; break;
    default: break;
  }
  type.swapped = little != LittleEndianMachine() && item_size > 1;
  if (format[0] == 'Z') {
    type.kind = ElementKind::kComplex;
    return type;
  }
  if (format[0] == '\0' || format[1] != '\0') return type;
  switch (format[0]) {
    case 'b': case 'h': case 'i': case 'l': case 'q': case 'n':
      type.kind = ElementKind::kSigned;
      break;
    case 'B': case 'H': case 'I': case 'L': case 'Q': case 'N':
      type.kind = ElementKind::kUnsigned;
      break;
    case 'f': case 'd':
      type.kind = ElementKind::kFloat;
      break;
    case '?': type.kind = ElementKind::kBool; break;
    default: break;
  }
  return type;
}

/// One element of type T at `at`, which may be unaligned and in the other
/// byte order.
template <typename T, bool kSwapped>
double Element(const char* at) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, at, sizeof(T));
  if (kSwapped) {
    for (std::size_t i = 0; i < sizeof(T) / 2; ++i) {
      const unsigned char b = bytes[i];
      bytes[i] = bytes[sizeof(T) - 1 - i];
      bytes[sizeof(T) - 1 - i] = b;
    }
  }
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return static_cast<double>(value);
}

/// Every row of a 2-D buffer of T, with any strides.
template <typename T, bool kSwapped>
void ReadElements(const Py_buffer& view, int columns, RowSink& sink) {
  const auto* base = static_cast<const char*>(view.buf);
  const Py_ssize_t rows = view.shape[0];
  const Py_ssize_t row_stride = view.strides[0];
  const Py_ssize_t column_stride = view.strides[1];
  std::array<double, kMostColumns> values{};
  for (Py_ssize_t r = 0; r < rows; ++r) {
    const char* row = base + r * row_stride;
    for (int c = 0; c < columns; ++c) {
      values[static_cast<std::size_t>(c)] = Element<T, kSwapped>(row + c * column_stride);
    }
    sink.Add(values.data());
  }
}

template <typename T>
void ReadElements(const Py_buffer& view, bool swapped, int columns,
                  RowSink& sink) {
  if (swapped) {
    ReadElements<T, true>(view, columns, sink);
  } else {
    ReadElements<T, false>(view, columns, sink);
  }
}

/// Dispatches on the element type once, so that the loop over the rows
/// knows it.
bool ReadTypedElements(const Py_buffer& view, const ElementType& type,
                       int columns, RowSink& sink) {
  const Py_ssize_t size = view.itemsize;
  switch (type.kind) {
    case ElementKind::kFloat:
      if (size == 8) {
        ReadElements<double>(view, type.swapped, columns, sink);
      } else if (size == 4) {
        ReadElements<float>(view, type.swapped, columns, sink);
      } else {
        return false;
      }
      return true;
    case ElementKind::kSigned:
      if (size == 1) ReadElements<std::int8_t>(view, false, columns, sink);
      else if (size == 2) ReadElements<std::int16_t>(view, type.swapped, columns, sink);
      else if (size == 4) ReadElements<std::int32_t>(view, type.swapped, columns, sink);
      else if (size == 8) ReadElements<std::int64_t>(view, type.swapped, columns, sink);
      else return false;
      return true;
    case ElementKind::kUnsigned:
      if (size == 1) ReadElements<std::uint8_t>(view, false, columns, sink);
      else if (size == 2) ReadElements<std::uint16_t>(view, type.swapped, columns, sink);
      else if (size == 4) ReadElements<std::uint32_t>(view, type.swapped, columns, sink);
      else if (size == 8) ReadElements<std::uint64_t>(view, type.swapped, columns, sink);
      else return false;
      return true;
    default: return false;
  }
}

/// Gives the buffer back however the reading ends.
class BufferGuard {
 public:
  explicit BufferGuard(Py_buffer* view) : view_(view) {}
  BufferGuard(const BufferGuard&) = delete;
  BufferGuard& operator=(const BufferGuard&) = delete;
  ~BufferGuard() { PyBuffer_Release(view_); }

 private:
  Py_buffer* view_;
};

std::string ShapeText(const Py_buffer& view) {
  std::string text = "(";
  for (int d = 0; d < view.ndim; ++d) {
    if (d > 0) text += ", ";
    text += std::to_string(view.shape[d]);
  }
  return text + (view.ndim == 1 ? ",)" : ")");
}

/// Reads a table from the buffer `table` exports. False, with nothing read,
/// when it exports none or its elements are not plain numbers of a kind
/// read here (objects, half or long doubles, structures): the caller then
/// reads it as a sequence, whose items Python converts.
bool ReadBuffer(PyObject* table, const char* name, const RowShape& shape,
                RowSink& sink) {
  Py_buffer view{};
  if (PyObject_GetBuffer(table, &view, PyBUF_RECORDS_RO) != 0) {
    // No strided, formatted view: let the sequence reading decide.
    PyErr_Clear();
    return false;
  }
  const BufferGuard guard(&view);
  const ElementType type = ParseFormat(view.format, view.itemsize);
  if (type.kind == ElementKind::kBool || type.kind == ElementKind::kComplex) {
    throw py::type_error(name + std::string(" must hold real numbers, not ") +
                         (type.kind == ElementKind::kBool ? "booleans" : "complex numbers"));
  }
  if (type.kind == ElementKind::kOther || (type.kind == ElementKind::kFloat &&
                                           view.itemsize != 4 && view.itemsize != 8)) {
    return false;
  }
  // An empty one-dimensional array (numpy.array([])) is no points at all.
  if (view.ndim == 1 && view.shape[0] == 0) {
    sink.Reserve(0);
    return true;
  }
  if (view.ndim != 2 || view.shape[1] != shape.columns) {
    std::string first;
    if (view.ndim == 2 && view.shape[0] > 0) {
      first = ItemName(name, 0) + " has " + std::to_string(view.shape[1]) +
              " values: ";
    }
    throw py::value_error(first + name + " must be an array of shape " +
                          shape.array_shape + ", not " + ShapeText(view));
  }
  const auto rows = static_cast<std::size_t>(view.shape[0]);
  if (rows > kMostRows) ThrowTooManyRows(name, rows);
  sink.Reserve(rows);
  if (!ReadTypedElements(view, type, shape.columns, sink)) {
    throw py::value_error(name + std::string(" has elements of an unknown size"));
  }
  return true;
}

}  // namespace

void ReadRows(py::handle table, const char* name, const RowShape& shape,
              RowSink& sink) {
  PyObject* object = table.ptr();
  const std::string expected = std::string(" must be a sequence of ") +
                               shape.plural + " or an array of shape " +
                               shape.array_shape;
  if (IsText(object)) {
    throw py::type_error(name + expected + ", not " + TypeName(object));
  }
  if (PyObject_CheckBuffer(object) != 0 && ReadBuffer(object, name, shape, sink)) {
    return;
  }
  std::array<double, kMostColumns> values{};
  if (PyTuple_Check(object)) {
    // A tuple cannot change while it is read, and holds its items.
    const Py_ssize_t rows = PyTuple_GET_SIZE(object);
    if (static_cast<std::size_t>(rows) > kMostRows) {
      ThrowTooManyRows(name, static_cast<std::size_t>(rows));
    }
    sink.Reserve(static_cast<std::size_t>(rows));
    for (Py_ssize_t r = 0; r < rows; ++r) {
      ReadRow(PyTuple_GET_ITEM(object, r), name, r, shape, values.data());
      sink.Add(values.data());
    }
    return;
  }
  if (PyList_Check(object)) {
    // The reading of one row may change the list (a __float__ that does):
    // its length is read again for each row and the row is held.
    sink.Reserve(static_cast<std::size_t>(PyList_GET_SIZE(object)));
    for (Py_ssize_t r = 0; r < PyList_GET_SIZE(object); ++r) {
      if (static_cast<std::size_t>(r) >= kMostRows) {
        ThrowTooManyRows(name, static_cast<std::size_t>(PyList_GET_SIZE(object)));
      }
      const py::object row = py::reinterpret_borrow<py::object>(PyList_GET_ITEM(object, r));
      ReadRow(row.ptr(), name, r, shape, values.data());
      sink.Add(values.data());
    }
    return;
  }
  if (PySequence_Check(object) == 0) {
    throw py::type_error(name + expected + ", not " + TypeName(object));
  }
  const Py_ssize_t rows = PySequence_Size(object);
  if (rows < 0) {
    RaiseFromConversionError(PyExc_TypeError,
                             name + expected + ", not " + TypeName(object));
  }
  if (static_cast<std::size_t>(rows) > kMostRows) {
    ThrowTooManyRows(name, static_cast<std::size_t>(rows));
  }
  // A sequence's length is the caller's word: no room is taken for it ahead.
  for (Py_ssize_t r = 0; r < rows; ++r) {
    PyObject* item = PySequence_GetItem(object, r);
    if (item == nullptr) throw py::error_already_set();
    const py::object row = py::reinterpret_steal<py::object>(item);
    ReadRow(row.ptr(), name, r, shape, values.data());
    sink.Add(values.data());
  }
}

std::vector<rrensen::Point> ReadPoints(py::handle points, const char* name) {
  class PointSink final : public RowSink {
   public:
    void Reserve(std::size_t rows) override { points_.reserve(rows); }
    void Add(const double* row) override { points_.push_back({row[0], row[1]}); }
    std::vector<rrensen::Point> Take() { return std::move(points_); }

   private:
    std::vector<rrensen::Point> points_;
  };
  static constexpr RowShape kPoint{2, "a pair (x, y)", "pairs (x, y)", "(N, 2)"};
  PointSink sink;
  ReadRows(points, name, kPoint, sink);
  return sink.Take();
}

std::vector<rrensen::BulgeVertex> ReadBulgeVertices(py::handle vertices,
                                                    const char* name) {
  class VertexSink final : public RowSink {
   public:
    void Reserve(std::size_t rows) override { vertices_.reserve(rows); }
    void Add(const double* row) override {
      vertices_.push_back({{row[0], row[1]}, row[2]});
    }
    std::vector<rrensen::BulgeVertex> Take() { return std::move(vertices_); }

   private:
    std::vector<rrensen::BulgeVertex> vertices_;
  };
  static constexpr RowShape kVertex{3, "a triple (x, y, bulge)",
                                    "triples (x, y, bulge)", "(N, 3)"};
  VertexSink sink;
  ReadRows(vertices, name, kVertex, sink);
  return sink.Take();
}

double ReadReal(py::handle value, const char* name) {
  return ReadNumber(value.ptr(), name, -1, -1);
}

double ReadSize(py::handle size, const char* name) {
  const double value = ReadReal(size, name);
  if (!std::isfinite(value) || value < 0.0) {
    throw py::value_error(std::string(name) +
                          " must be a finite number of 0 or more, not " +
                          py::repr(py::float_(value)).cast<std::string>());
  }
  return value;
}

double ReadLimit(py::handle limit, const char* name) {
  if (limit.is_none()) return std::numeric_limits<double>::infinity();
  const double value = ReadReal(limit, name);
  if (!(value > 0.0)) {
    throw py::value_error(std::string(name) +
                          " must be None or a number above 0 (inf for no limit), not " +
                          py::repr(py::float_(value)).cast<std::string>());
  }
  return value;
}

rrensen::Closing ReadClosing(py::handle closing, const char* name) {
  static constexpr const char* kNames =
      "'proximity' (closed when the last point is nearer than twice the size "
      "to the first), 'open' or 'closed'";
  if (!PyUnicode_Check(closing.ptr())) {
    throw py::type_error(std::string(name) + " must be " + kNames + ", not " +
                         TypeName(closing.ptr()));
  }
  Py_ssize_t length = 0;
  const char* text = PyUnicode_AsUTF8AndSize(closing.ptr(), &length);
  if (text == nullptr) {
    RaiseFromConversionError(PyExc_ValueError,
                             std::string(name) + " must be " + kNames);
  }
  const std::string word(text, static_cast<std::size_t>(length));
  if (word == "proximity") return rrensen::Closing::kByProximity;
  if (word == "open") return rrensen::Closing::kOpen;
  if (word == "closed") return rrensen::Closing::kClosed;
  throw py::value_error(std::string(name) + " must be " + kNames + ", not " +
                        py::repr(closing).cast<std::string>());
}

rrensen::CornerStyle ReadStyle(py::handle style, const char* name) {
  static constexpr const char* kNames =
      "'chord' (the size is the distance between a corner's cut points), "
      "'radius' (the arc's radius), 'chamfer' (a straight cut, each end the "
      "size from the corner) or 'chord-chamfer' (a straight cut the size long)";
  if (!PyUnicode_Check(style.ptr())) {
    throw py::type_error(std::string(name) + " must be " + kNames + ", not " +
                         TypeName(style.ptr()));
  }
  Py_ssize_t length = 0;
  const char* text = PyUnicode_AsUTF8AndSize(style.ptr(), &length);
  if (text == nullptr) {
    RaiseFromConversionError(PyExc_ValueError,
                             std::string(name) + " must be " + kNames);
  }
  const std::optional<rrensen::CornerStyle> named =
      rrensen::CornerStyleNamed(std::string_view(text, static_cast<std::size_t>(length)));
  if (!named) {
    throw py::value_error(std::string(name) + " must be " + kNames + ", not " +
                          py::repr(style).cast<std::string>());
  }
  return *named;
}

}  // namespace rrensen_python
