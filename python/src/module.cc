/// rrensen._core: the filleting library for Python. The package `rrensen`
/// re-exports what is public here; `rrensen/_core.pyi` gives its types.
///
/// Each call reads its arguments into the library's plain values with the
/// GIL held (arguments.cc), then releases the GIL for the library's work,
/// so that threads fillet in parallel. A drawn outline keeps the library's
/// own vectors: its segments and corners become Python objects one by one,
/// when they are asked for, so that a million points cost no million
/// objects unless the caller makes them.

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "arguments.h"
#include "dxf/drawing.h"
#include "dxf/plan.h"
#include "dxf/report_json.h"
#include "dxf/run.h"
#include "dxf/settings.h"
#include "geometry/fillet_rules.h"
#include "rrensen/fillet.h"
#include "rrensen/polyline.h"
#include "rrensen/version.h"

namespace py = pybind11;

namespace rrensen_python {
namespace {

using SharedOutline = std::shared_ptr<const rrensen::Outline>;

/// The Python face of rrensen::Outline.
struct PyOutline {
  SharedOutline value;
};

/// outline.segments and outline.corners: read-only sequences over the
/// outline's own vectors, which they keep alive.
template <typename Item>
struct ItemList {
  SharedOutline outline;
  const std::vector<Item>& Items() const;
};

template <>
const std::vector<rrensen::Segment>& ItemList<rrensen::Segment>::Items() const {
  return outline->segments;
}
template <>
const std::vector<rrensen::Corner>& ItemList<rrensen::Corner>::Items() const {
  return outline->corners;
}

py::tuple PointTuple(const rrensen::Point& p) { return py::make_tuple(p.x, p.y); }

/// None where the library says -1 (no point, no corner).
std::optional<int> Index(int index) {
  if (index < 0) return std::nullopt;
  return index;
}

/// A float as Python's repr writes it: the shortest text that reads back.
std::string FloatText(double value) {
  char* text = PyOS_double_to_string(value, 'r', 0, Py_DTSF_ADD_DOT_0, nullptr);
  if (text == nullptr) throw py::error_already_set();
  std::string result(text);
  PyMem_Free(text);
  return result;
}

std::string PointText(const rrensen::Point& p) {
  return "(" + FloatText(p.x) + ", " + FloatText(p.y) + ")";
}

const char* ResultName(rrensen::Result result) {
  switch (result) {
    case rrensen::Result::kDrawn: return "drawn";
    case rrensen::Result::kTooClose: return "too_close";
    case rrensen::Result::kTooSharp: return "too_sharp";
    case rrensen::Result::kReversal: return "reversal";
    case rrensen::Result::kInvalidSize: return "invalid_size";
  }
  return "unknown";
}

using geometry::SamePoint;

bool SameSegment(const rrensen::Segment& a, const rrensen::Segment& b) {
  return a.is_arc == b.is_arc && SamePoint(a.start, b.start) &&
         SamePoint(a.end, b.end) && SamePoint(a.centre, b.centre) &&
         a.radius == b.radius && a.sweep == b.sweep && a.corner == b.corner;
}

bool SameCorner(const rrensen::Corner& a, const rrensen::Corner& b) {
  return a.point == b.point && a.is_arc == b.is_arc &&
         SamePoint(a.tangent_in, b.tangent_in) &&
         SamePoint(a.tangent_out, b.tangent_out) && a.cut_back == b.cut_back &&
         a.turn == b.turn && SamePoint(a.centre, b.centre) && a.radius == b.radius;
}

std::string SegmentRepr(const rrensen::Segment& s) {
  if (!s.is_arc) {
    return "<Segment line from " + PointText(s.start) + " to " + PointText(s.end) + ">";
  }
  return "<Segment arc from " + PointText(s.start) + " to " + PointText(s.end) +
         " about " + PointText(s.centre) + ", radius " + FloatText(s.radius) +
         ", sweep " + FloatText(s.sweep) + ">";
}

std::string CornerRepr(const rrensen::Corner& c) {
  return "<Corner " + std::string(c.is_arc ? "arc" : "chord") + " at point " +
         std::to_string(c.point) + ", from " + PointText(c.tangent_in) + " to " +
         PointText(c.tangent_out) + ", turn " + FloatText(c.turn) + ">";
}

std::string OutlineRepr(const rrensen::Outline& o) {
  if (o.result != rrensen::Result::kDrawn) {
    return "<Outline " + std::string(ResultName(o.result)) + ": " +
           rrensen::Describe(o.problem) + ">";
  }
  const std::size_t count = o.segments.size();
  return std::string("<Outline drawn, ") + (o.closed ? "closed, " : "open, ") +
         std::to_string(count) + (count == 1 ? " segment>" : " segments>");
}

/// The enum rrensen.Result, an IntEnum whose values are the codes the
/// rrensen tool reports to its host.
py::object MakeResultEnum(py::module_& m) {
  py::list members;
  members.append(py::make_tuple("DRAWN", static_cast<int>(rrensen::Result::kDrawn)));
  members.append(py::make_tuple("TOO_CLOSE", static_cast<int>(rrensen::Result::kTooClose)));
  members.append(py::make_tuple("TOO_SHARP", static_cast<int>(rrensen::Result::kTooSharp)));
  members.append(py::make_tuple("REVERSAL", static_cast<int>(rrensen::Result::kReversal)));
  py::object result = py::module_::import("enum").attr("IntEnum")(
      "Result", members, py::arg("module") = "rrensen");
  result.attr("__doc__") =
      "How an outline came out: DRAWN (0), or why it was refused: TOO_CLOSE (1:\n"
      "a side too short, too few points, a point not finite), TOO_SHARP (2: a\n"
      "corner turns too sharply for its sides) or REVERSAL (3: an arc corner\n"
      "turns exactly back, possible only with size 0). The values are the codes\n"
      "the rrensen tool reports to its host.\n\n"
      ">>> rrensen.Result(2)\n"
      "<Result.TOO_SHARP: 2>\n";
  m.attr("Result") = result;
  return result;
}

/// The fillet size and closing an outline was asked for become an Outline,
/// or, for a size the library calls invalid, a ValueError (the arguments'
/// reading refuses those first; this is the library's own word on it).
PyOutline MakeOutline(rrensen::Outline&& outline) {
  if (outline.result == rrensen::Result::kInvalidSize) {
    throw py::value_error(rrensen::Describe(outline.problem));
  }
  return PyOutline{std::make_shared<const rrensen::Outline>(std::move(outline))};
}

PyOutline Fillet(const py::object& points, const py::object& size,
                 const py::object& closing, const py::object& style) {
  // The small arguments first, so that a bad one is told before a million
  // points are read; options set by name keep the defaults of any the
  // library gains.
  rrensen::FilletOptions options;
  options.size = ReadSize(size, "size");
  options.closing = ReadClosing(closing, "closing");
  options.style = ReadStyle(style, "style");
  std::vector<rrensen::Point> read = ReadPoints(points, "points");
  rrensen::Outline outline;
  {
    const py::gil_scoped_release release;
    outline = rrensen::Fillet(read, options);
    std::vector<rrensen::Point>().swap(read);
  }
  return MakeOutline(std::move(outline));
}

std::optional<double> LargestFilletSize(const py::object& points,
                                        const py::object& closing,
                                        const py::object& limit,
                                        const py::object& style) {
  rrensen::FilletOptions options;
  options.closing = ReadClosing(closing, "closing");
  options.style = ReadStyle(style, "style");
  const double most = ReadLimit(limit, "limit");
  std::vector<rrensen::Point> read = ReadPoints(points, "points");
  const py::gil_scoped_release release;
  std::optional<double> size = rrensen::LargestFilletSize(read, options, most);
  std::vector<rrensen::Point>().swap(read);
  return size;
}

/// The Python face of rrensen::PolylineResult.
struct PyPolylineResult {
  std::shared_ptr<const rrensen::PolylineResult> value;
};

std::string PolylineResultRepr(const rrensen::PolylineResult& r) {
  const std::size_t count = r.vertices.size();
  std::string text = std::string("<PolylineResult ") + (r.closed ? "closed, " : "open, ") +
                     std::to_string(count) + (count == 1 ? " vertex, " : " vertices, ") +
                     std::to_string(r.corners_filleted) + " filleted, " +
                     std::to_string(r.corners_left) + " left";
  const std::size_t refused = r.refused_runs.size();
  if (refused > 0) {
    text += ", " + std::to_string(refused) + (refused == 1 ? " run refused" : " runs refused");
  }
  return text + ">";
}

PyPolylineResult FilletPolylineCall(const py::object& vertices, const py::object& size,
                                    bool closed, const py::object& style) {
  rrensen::FilletOptions options;
  options.size = ReadSize(size, "size");
  options.closing = closed ? rrensen::Closing::kClosed : rrensen::Closing::kOpen;
  options.style = ReadStyle(style, "style");
  std::vector<rrensen::BulgeVertex> read = ReadBulgeVertices(vertices, "vertices");
  auto result = std::make_shared<rrensen::PolylineResult>();
  {
    const py::gil_scoped_release release;
    *result = rrensen::FilletPolyline(read, options);
    std::vector<rrensen::BulgeVertex>().swap(read);
  }
  return PyPolylineResult{std::move(result)};
}

/// Reads one keyword argument into `settings` through the option that
/// Python names `keyword` (dxf::kSettingOptions); None is not given. A value
/// of the wrong type is a TypeError; one rrensen-dxf refuses a ValueError
/// with its message.
void ReadSetting(dxf::Settings& settings, const char* keyword, const py::handle value) {
  if (value.is_none()) return;
  const dxf::SettingOption& option = *dxf::OptionByKeyword(keyword);
  dxf::OptionValue read;
  switch (option.kind) {
    case dxf::OptionKind::kNumber:
      read.number = ReadReal(value, keyword);
      read.text = FloatText(read.number);
      break;
    case dxf::OptionKind::kText:
      if (!PyUnicode_Check(value.ptr())) {
        throw py::type_error(std::string(keyword) + " must be None or a str, not " +
                             Py_TYPE(value.ptr())->tp_name);
      }
      read.text = value.cast<std::string>();
      break;
    case dxf::OptionKind::kSwitch: read.on = PyObject_IsTrue(value.ptr()) == 1; break;
  }
  const std::string wrong = dxf::SetOption(settings, option, read);
  if (!wrong.empty()) throw py::value_error(wrong);
}

/// Reads the keyword arguments of re-cutting (rrensen-dxf's --refillet and
/// the options that say how earlier cuts are told).
void ReadRecut(dxf::Settings& settings, const py::handle refillet, const py::handle rechamfer,
               const py::handle refillet_max_radius, const py::handle tangent_tolerance) {
  ReadSetting(settings, "refillet", refillet);
  ReadSetting(settings, "rechamfer", rechamfer);
  ReadSetting(settings, "refillet_max_radius", refillet_max_radius);
  ReadSetting(settings, "tangent_tolerance", tangent_tolerance);
}

/// What rrensen.fillet_dxf gives: rrensen-dxf's run over the bytes.
struct PyDxfResult {
  int status = 0;
  py::object drawing;  ///< bytes, or None when status is 2
  py::list report;     ///< one dict per JSON line
  std::string messages;
};

PyDxfResult FilletDxf(const py::object& data, const py::object& size, const py::object& style,
                      const py::object& corners, const py::object& max_angle,
                      const py::object& tbone_side, const py::object& close_gap,
                      const py::object& join,
                      const py::object& join_gap, const py::object& refillet,
                      const py::object& rechamfer, const py::object& refillet_max_radius,
                      const py::object& tangent_tolerance, const py::object& layer,
                      const py::object& name) {
  if (!PyBytes_Check(data.ptr()) && !PyByteArray_Check(data.ptr()) &&
      !PyMemoryView_Check(data.ptr())) {
    throw py::type_error(std::string("data must be bytes, not ") + Py_TYPE(data.ptr())->tp_name);
  }
  dxf::RunRequest request;
  ReadSetting(request.settings, "size", size);
  ReadSetting(request.settings, "style", style);
  ReadSetting(request.settings, "corners", corners);
  ReadSetting(request.settings, "max_angle", max_angle);
  ReadSetting(request.settings, "tbone_side", tbone_side);
  ReadSetting(request.settings, "close_gap", close_gap);
  ReadSetting(request.settings, "join", join);
  ReadSetting(request.settings, "join_gap", join_gap);
  ReadRecut(request.settings, refillet, rechamfer, refillet_max_radius, tangent_tolerance);
  ReadSetting(request.settings, "layer", layer);
  if (!PyUnicode_Check(name.ptr())) {
    throw py::type_error(std::string("name must be a str, not ") + Py_TYPE(name.ptr())->tp_name);
  }
  request.input_name = name.cast<std::string>();
  const std::string bytes = py::bytes(data).cast<std::string>();
  dxf::BytesRun run;
  {
    const py::gil_scoped_release release;
    run = dxf::RunOnBytes(bytes, request);
  }
  PyDxfResult result;
  result.status = run.status;
  result.messages = std::move(run.messages);
  result.drawing = run.status != dxf::kFailed ? py::object(py::bytes(run.drawing))
                                              : py::object(py::none());
  const py::object loads = py::module_::import("json").attr("loads");
  std::size_t start = 0;
  while (start < run.report.size()) {
    std::size_t end = run.report.find('\n', start);
    if (end == std::string::npos) end = run.report.size();
    result.report.append(loads(py::str(run.report.substr(start, end - start))));
    start = end + 1;
  }
  return result;
}

/// What rrensen.plan_polyline gives: dxf::PlanPolyline's plan for one
/// polyline entity.
struct PyPolylinePlan {
  std::shared_ptr<const dxf::PolylinePlan> value;
};

/// Reads (group code, width) pairs: the first width that is not 0 gives
/// its code.
int FirstWidthCode(const py::handle widths) {
  if (widths.is_none()) return 0;
  for (const py::handle pair : widths) {
    const py::sequence item = py::reinterpret_borrow<py::sequence>(pair);
    if (py::len(item) != 2) throw py::value_error("widths must be (group code, width) pairs");
    if (ReadReal(item[1], "widths") != 0.0) return item[0].cast<int>();
  }
  return 0;
}

PyPolylinePlan PlanPolylineCall(const py::object& vertices, const std::string& entity,
                                const py::object& handle, const std::string& layer,
                                int flags, const py::object& widths,
                                const py::object& vertex_flags, const py::object& size,
                                const py::object& style, const py::object& corners,
                                const py::object& close_gap, const py::object& refillet,
                                const py::object& rechamfer,
                                const py::object& refillet_max_radius,
                                const py::object& tangent_tolerance) {
  dxf::Settings settings;
  ReadSetting(settings, "size", size);
  ReadSetting(settings, "style", style);
  ReadSetting(settings, "corners", corners);
  ReadSetting(settings, "close_gap", close_gap);
  ReadRecut(settings, refillet, rechamfer, refillet_max_radius, tangent_tolerance);
  dxf::Polyline p;
  if (entity == "LWPOLYLINE") {
    p.form = dxf::PolylineForm::kLightweight;
  } else if (entity == "POLYLINE") {
    p.form = dxf::PolylineForm::kVertexList;
  } else {
    throw py::value_error("entity must be 'LWPOLYLINE' or 'POLYLINE', not '" + entity + "'");
  }
  p.type = entity;
  if (!handle.is_none()) p.handle = handle.cast<std::string>();
  p.layer = layer;
  p.flags = flags;
  p.has_flags = true;
  p.closed = (flags & 1) != 0;
  p.width_code = FirstWidthCode(widths);
  if (!vertex_flags.is_none()) {
    for (const py::handle f : vertex_flags) {
      if (dxf::IsFitVertex(f.cast<int>())) p.fit_vertices = true;
    }
  }
  p.vertices = ReadBulgeVertices(vertices, "vertices");
  p.too_many_vertices = p.vertices.size() > dxf::kMaxVertices;
  auto plan = std::make_shared<dxf::PolylinePlan>();
  {
    const py::gil_scoped_release release;
    *plan = dxf::PlanPolyline(p, settings);
  }
  return PyPolylinePlan{std::move(plan)};
}

/// list[index] or list[slice], as a Python list answers: an index too large
/// for any list is an IndexError, a slice gives a list.
template <typename Item>
py::object GetItems(const ItemList<Item>& list, const py::object& index) {
  const std::vector<Item>& items = list.Items();
  if (PySlice_Check(index.ptr())) {
    std::size_t start = 0;
    std::size_t stop = 0;
    std::size_t step = 0;
    std::size_t length = 0;
    if (!py::reinterpret_borrow<py::slice>(index).compute(items.size(), &start, &stop, &step,
                                                          &length)) {
      throw py::error_already_set();
    }
    py::list chosen;
    for (std::size_t i = 0; i < length; ++i) {
      chosen.append(py::cast(items[start]));
      start += step;
    }
    return std::move(chosen);
  }
  if (PyIndex_Check(index.ptr()) == 0) {
    throw py::type_error(std::string("indices must be integers or slices, not ") +
                         Py_TYPE(index.ptr())->tp_name);
  }
  Py_ssize_t at = PyNumber_AsSsize_t(index.ptr(), PyExc_IndexError);
  if (at == -1 && PyErr_Occurred() != nullptr) throw py::error_already_set();
  const auto size = static_cast<Py_ssize_t>(items.size());
  if (at < 0) at += size;
  if (at < 0 || at >= size) throw py::index_error("index out of range");
  return py::cast(items[static_cast<std::size_t>(at)]);
}

template <typename Item>
void BindItemList(py::module_& m, const char* name, const char* doc,
                  const char* item_noun) {
  using List = ItemList<Item>;
  py::class_<List>(m, name, doc)
      .def("__len__", [](const List& list) { return list.Items().size(); })
      .def("__getitem__", &GetItems<Item>, py::arg("index"))
      .def(
          "__iter__",
          [](const List& list) {
            return py::make_iterator<py::return_value_policy::copy>(
                list.Items().begin(), list.Items().end());
          },
          py::keep_alive<0, 1>())
      .def("__repr__", [item_noun](const List& list) {
        const std::size_t count = list.Items().size();
        return "<" + std::to_string(count) + " " + item_noun +
               (count == 1 ? "" : "s") + ">";
      });
}

}  // namespace
}  // namespace rrensen_python

PYBIND11_MODULE(_core, m) {
  using namespace rrensen_python;  // NOLINT(google-build-using-namespace)
  // Each docstring starts with the call's signature as Python's own text
  // signatures are written ("name(args)\n--\n\n"), so that
  // inspect.signature() reads it, then shows it again with types.
  py::options options;
  options.disable_function_signatures();

  m.doc() =
      "The rrensen filleting library, compiled. Use the package rrensen, which\n"
      "re-exports everything public here.";
  m.attr("__version__") = RRENSEN_VERSION_STRING;

  MakeResultEnum(m);

  py::class_<rrensen::Segment>(m, "Segment",
      "One piece of a drawn outline, in drawing order: a side (a line), or the\n"
      "cut of a corner (an arc, or a straight chord where the corner is\n"
      "shallow). Each segment starts where the one before it ends.\n\n"
      ">>> outline = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0)\n"
      ">>> outline.segments[0]\n"
      "<Segment line from (0.0, 0.0) to (96.46446609406726, 0.0)>\n")
      .def_property_readonly("is_arc", [](const rrensen::Segment& s) { return s.is_arc; },
                             "True for an arc, False for a straight line.")
      .def_property_readonly("start", [](const rrensen::Segment& s) { return PointTuple(s.start); },
                             "Where the segment starts, (x, y).")
      .def_property_readonly("end", [](const rrensen::Segment& s) { return PointTuple(s.end); },
                             "Where the segment ends, (x, y).")
      .def_property_readonly(
          "centre",
          [](const rrensen::Segment& s) -> py::object {
            if (!s.is_arc) return py::none();
            return PointTuple(s.centre);
          },
          "The arc's centre, (x, y); None for a line.")
      .def_property_readonly("radius", [](const rrensen::Segment& s) { return s.radius; },
                             "The arc's radius; 0.0 for a line.")
      .def_property_readonly("sweep", [](const rrensen::Segment& s) { return s.sweep; },
                             "The arc's signed sweep from start to end about the centre, in\n"
                             "radians: positive counter-clockwise, at most pi in size; 0.0 for\n"
                             "a line.")
      .def_property_readonly("corner", [](const rrensen::Segment& s) { return Index(s.corner); },
                             "The index into Outline.corners of the corner this segment cuts (its\n"
                             "arc or chord); None for a side.")
      .def_property_readonly("bulge", [](const rrensen::Segment& s) { return rrensen::Bulge(s); },
                             "tan(sweep / 4), the bulge a DXF polyline vertex carries for this\n"
                             "segment: positive counter-clockwise, 0.0 for a line.")
      .def("__eq__",
           [](const rrensen::Segment& a, const py::object& b) -> py::object {
             if (!py::isinstance<rrensen::Segment>(b)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
             return py::bool_(SameSegment(a, b.cast<const rrensen::Segment&>()));
           })
      .def("__repr__", &SegmentRepr);

  py::class_<rrensen::Corner>(m, "Corner",
      "One corner of a drawn outline: a point where the direction changes,\n"
      "cut by an arc, or by a straight chord where it changes by 10 degrees\n"
      "or less.\n\n"
      ">>> outline = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0)\n"
      ">>> corner = outline.corners[0]\n"
      ">>> corner.point, corner.is_arc, round(corner.radius, 6)\n"
      "(1, True, 3.535534)\n")
      .def_property_readonly("point", [](const rrensen::Corner& c) { return c.point; },
                             "The index into the caller's points of the corner point.")
      .def_property_readonly("is_arc", [](const rrensen::Corner& c) { return c.is_arc; },
                             "True when the corner is cut by an arc, False when by a chord.")
      .def_property_readonly("tangent_in", [](const rrensen::Corner& c) { return PointTuple(c.tangent_in); },
                             "The cut's end on the incoming side, (x, y).")
      .def_property_readonly("tangent_out", [](const rrensen::Corner& c) { return PointTuple(c.tangent_out); },
                             "The cut's end on the outgoing side, (x, y): the fillet size away\n"
                             "from tangent_in.")
      .def_property_readonly("cut_back", [](const rrensen::Corner& c) { return c.cut_back; },
                             "The distance from the corner point to each tangent point.")
      .def_property_readonly("turn", [](const rrensen::Corner& c) { return c.turn; },
                             "The signed change of direction, in radians: positive for a left\n"
                             "(counter-clockwise) turn, at most pi in size.")
      .def_property_readonly(
          "centre",
          [](const rrensen::Corner& c) -> py::object {
            if (!c.is_arc) return py::none();
            return PointTuple(c.centre);
          },
          "The arc's centre, (x, y); None for a chord corner.")
      .def_property_readonly("radius", [](const rrensen::Corner& c) { return c.radius; },
                             "The arc's radius; 0.0 for a chord corner.")
      .def("__eq__",
           [](const rrensen::Corner& a, const py::object& b) -> py::object {
             if (!py::isinstance<rrensen::Corner>(b)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
             return py::bool_(SameCorner(a, b.cast<const rrensen::Corner&>()));
           })
      .def("__repr__", &CornerRepr);

  py::class_<rrensen::Problem>(m, "Problem",
      "Where and why an outline was refused. Indices count from 0, as in the\n"
      "caller's points; the message numbers points from 1, as the rrensen\n"
      "tool does.\n\n"
      ">>> problem = rrensen.fillet([(0, 0), (100, 0), (100, 8)], 5.0).problem\n"
      ">>> problem.kind, problem.point, problem.next_point\n"
      "('short_side', 1, 2)\n"
      ">>> problem.message\n"
      "'the side from point 2 to point 3 is 8.000 long and needs 10.000'\n")
      .def_property_readonly("kind", [](const rrensen::Problem& p) { return rrensen::RefusalCode(p.kind); },
                             "Which rule refused the outline: 'no_corner' (fewer than three points\n"
                             "once closed, and not two open), 'not_finite' (a point is inf or NaN),\n"
                             "'short_side' (a side shorter than twice the size), 'sharp_corner' (a\n"
                             "side shorter than 1.5 cut backs), 'reversal' (an arc corner turning\n"
                             "exactly back), 'corner_not_finite' (a corner's values overflow) or,\n"
                             "for the styles other than 'chord', 'coincident_points' (a side of\n"
                             "zero length).")
      .def_property_readonly("point", [](const rrensen::Problem& p) { return Index(p.point); },
                             "The index of the failing point, the corner, or the side's first\n"
                             "point; None where no point is to blame.")
      .def_property_readonly("next_point", [](const rrensen::Problem& p) { return Index(p.next_point); },
                             "For a short side, the index of its last point; else None.")
      .def_property_readonly("needed", [](const rrensen::Problem& p) { return p.needed; },
                             "For a side or a corner, the length the side must have; else 0.0.")
      .def_property_readonly("found", [](const rrensen::Problem& p) { return p.found; },
                             "For a side or a corner, the length the side has; else 0.0.")
      .def_property_readonly("message", [](const rrensen::Problem& p) { return rrensen::Describe(p); },
                             "The problem in one English sentence, lengths to three decimals and\n"
                             "points numbered from 1.")
      .def("__repr__", [](const rrensen::Problem& p) {
        return "<Problem " + std::string(rrensen::RefusalCode(p.kind)) + ": " + rrensen::Describe(p) + ">";
      });

  BindItemList<rrensen::Segment>(m, "SegmentList",
      "The segments of an outline, in drawing order: a read-only sequence that\n"
      "makes each Segment when it is asked for.\n\n"
      ">>> segments = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0).segments\n"
      ">>> len(segments), [s.is_arc for s in segments]\n"
      "(3, [False, True, False])\n",
      "segment");
  BindItemList<rrensen::Corner>(m, "CornerList",
      "The corners of an outline, in order along it: a read-only sequence\n"
      "that makes each Corner when it is asked for.\n\n"
      ">>> corners = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0).corners\n"
      ">>> len(corners), corners[0].point\n"
      "(1, 1)\n",
      "corner");

  py::class_<PyOutline>(m, "Outline",
      "What rrensen.fillet gives: a drawn outline, or the reason it was\n"
      "refused. All or nothing: a refused outline has no segments and no\n"
      "corners. True when drawn.\n\n"
      ">>> rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0)\n"
      "<Outline drawn, open, 3 segments>\n"
      ">>> rrensen.fillet([(0, 0), (100, 0), (100, 8)], 5.0)\n"
      "<Outline too_close: the side from point 2 to point 3 is 8.000 long and needs 10.000>\n")
      .def_property_readonly(
          "result",
          [](const PyOutline& o) {
            return py::module_::import("rrensen._core").attr("Result")(
                static_cast<int>(o.value->result));
          },
          "A rrensen.Result: DRAWN, or why the outline was refused.")
      .def_property_readonly("closed", [](const PyOutline& o) { return o.value->closed; },
                             "True when the outline closes: it ends where it starts and the\n"
                             "corner at the first point is cut too.")
      .def_property_readonly("segments", [](const PyOutline& o) { return ItemList<rrensen::Segment>{o.value}; },
                             "The lines and arcs in drawing order (a SegmentList); empty when\n"
                             "refused.")
      .def_property_readonly("corners", [](const PyOutline& o) { return ItemList<rrensen::Corner>{o.value}; },
                             "The corners in order along the outline (a CornerList); empty when\n"
                             "refused.")
      .def_property_readonly(
          "problem",
          [](const PyOutline& o) -> std::optional<rrensen::Problem> {
            if (o.value->result == rrensen::Result::kDrawn) return std::nullopt;
            return o.value->problem;
          },
          "None when drawn; else a Problem: the rule, the point or side, the\n"
          "lengths needed and found, and a sentence.")
      .def("__bool__", [](const PyOutline& o) { return o.value->result == rrensen::Result::kDrawn; })
      .def("__repr__", [](const PyOutline& o) { return OutlineRepr(*o.value); });

  py::class_<rrensen::RefusedRun>(m, "RefusedRun",
      "A run of straight pieces that fillet_polyline left as it was, and why.\n\n"
      ">>> result = rrensen.fillet_polyline([(0, 0, 0), (100, 0, 0), (100, 8, 0)], 5.0, closed=False)\n"
      ">>> run = result.refused_runs[0]\n"
      ">>> run.first_vertex, run.last_vertex, run.problem.kind, run.largest_size\n"
      "(0, 2, 'short_side', 4.0)\n")
      .def_property_readonly("first_vertex", [](const rrensen::RefusedRun& r) { return r.first_vertex; },
                             "The index into the caller's vertices of the run's first vertex.")
      .def_property_readonly("last_vertex", [](const rrensen::RefusedRun& r) { return r.last_vertex; },
                             "The index of the run's last vertex; smaller than first_vertex when\n"
                             "the run of a closed polyline wraps round past its last vertex.")
      .def_property_readonly("problem", [](const rrensen::RefusedRun& r) { return r.problem; },
                             "Why the run was refused, a Problem, its points the caller's vertex\n"
                             "indices.")
      .def_property_readonly("largest_size", [](const rrensen::RefusedRun& r) { return r.largest_size; },
                             "The largest size, in thousandths, that fillets the run; None when no\n"
                             "size does.")
      .def("__repr__", [](const rrensen::RefusedRun& r) {
        return "<RefusedRun vertices " + std::to_string(r.first_vertex) + " to " +
               std::to_string(r.last_vertex) + ", " + rrensen::RefusalCode(r.problem.kind) + ": " +
               rrensen::Describe(r.problem) + ">";
      });

  py::class_<PyPolylineResult>(m, "PolylineResult",
      "What rrensen.fillet_polyline made of a polyline: its new vertices, and\n"
      "the runs it left as they were. True when no run was refused.\n\n"
      ">>> rrensen.fillet_polyline([(0, 0, 0), (100, 0, 0), (100, 100, 0)], 5.0, closed=False)\n"
      "<PolylineResult open, 4 vertices, 1 filleted, 0 left>\n")
      .def_property_readonly(
          "vertices",
          [](const PyPolylineResult& r) {
            py::list list(r.value->vertices.size());
            std::size_t i = 0;
            for (const rrensen::BulgeVertex& v : r.value->vertices) {
              list[i++] = py::make_tuple(v.point.x, v.point.y, v.bulge);
            }
            return list;
          },
          "The new polyline's vertices, a list of (x, y, bulge): each bulge is\n"
          "that of the piece that starts at its vertex, as DXF writes it.")
      .def_property_readonly("sources", [](const PyPolylineResult& r) { return r.value->sources; },
                             "For each new vertex, the index of the caller's vertex it is (point\n"
                             "and bulge unchanged), or -1 for a vertex the filleting made.")
      .def_property_readonly("closed", [](const PyPolylineResult& r) { return r.value->closed; },
                             "True when the new polyline is closed.")
      .def_property_readonly("corners_filleted", [](const PyPolylineResult& r) { return r.value->corners_filleted; },
                             "The corners between two straight pieces that were filleted.")
      .def_property_readonly("corners_left", [](const PyPolylineResult& r) { return r.value->corners_left; },
                             "The corners between two straight pieces left in refused runs.")
      .def_property_readonly("earlier_cuts", [](const PyPolylineResult& r) { return r.value->earlier_cuts; },
                             "With refillet: the earlier cuts found and turned back into sharp\n"
                             "corners; else 0.")
      .def_property_readonly("earlier_cuts_recut",
                             [](const PyPolylineResult& r) { return r.value->earlier_cuts_recut; },
                             "With refillet: the earlier cuts cut anew (the others are in refused\n"
                             "runs, and kept); else 0.")
      .def_property_readonly("refused_runs", [](const PyPolylineResult& r) { return r.value->refused_runs; },
                             "The runs left unchanged, in the polyline's order: a list of\n"
                             "RefusedRun.")
      .def("__bool__", [](const PyPolylineResult& r) { return r.value->refused_runs.empty(); })
      .def("__repr__", [](const PyPolylineResult& r) { return PolylineResultRepr(*r.value); });

  m.def("fillet_polyline", &FilletPolylineCall, py::arg("vertices"), py::arg("size"), py::kw_only(),
        py::arg("closed"), py::arg("style") = py::str("chord"),
        "fillet_polyline(vertices, size, *, closed, style='chord')\n--\n\n"
        "fillet_polyline(vertices, size, *, closed, style=\"chord\") -> PolylineResult\n\n"
        "Fillets the straight parts of a polyline that may have arcs, as CAD\n"
        "files carry it: every run of two or more straight pieces is filleted\n"
        "as an open outline (its end vertices stay), the arcs are kept bit for\n"
        "bit, and a run that cannot be filleted is left as it is and reported.\n"
        "A closed polyline with no arc is filleted as one closed outline.\n\n"
        "vertices: a sequence of (x, y, bulge) triples (as ezdxf's\n"
        "  get_points('xyb') gives them), or an array of shape (N, 3); each\n"
        "  bulge, tan(sweep / 4), is that of the piece starting at its vertex.\n"
        "size: as for fillet.\n"
        "closed: True when the last vertex joins the first.\n"
        "style: 'chord', 'radius', 'chamfer' or 'chord-chamfer', as for fillet.\n\n"
        "Raises TypeError or ValueError for arguments that are not these.\n"
        "Releases the GIL while it works.\n\n"
        ">>> result = rrensen.fillet_polyline(\n"
        "...     [(0, 0, 0), (100, 0, 0), (100, 100, 0)], 5.0, closed=False)\n"
        ">>> [(round(x, 3), round(y, 3), round(b, 6)) for x, y, b in result.vertices]\n"
        "[(0.0, 0.0, 0.0), (96.464, 0.0, 0.414214), (100.0, 3.536, 0.0), (100.0, 100.0, 0.0)]\n");

  py::class_<PyDxfResult>(m, "DxfResult",
      "What rrensen.fillet_dxf made of a DXF file: what rrensen-dxf writes.\n\n"
      ">>> result = rrensen.fillet_dxf(b'0\\nEOF\\n')\n"
      ">>> result.status, result.report, result.messages\n"
      "(0, [], 'rrensen-dxf: 0 polylines filleted, 0 partly, 0 left unchanged\\n')\n")
      .def_property_readonly("status", [](const PyDxfResult& r) { return r.status; },
                             "rrensen-dxf's exit status: 0 when every polyline was filleted (or\n"
                             "there was none), 1 when some were left unchanged or filleted in\n"
                             "part, 2 when the data is not readable ASCII DXF.")
      .def_property_readonly("dxf", [](const PyDxfResult& r) { return r.drawing; },
                             "The filleted drawing, the bytes rrensen-dxf -o writes; None when\n"
                             "the status is 2.")
      .def_property_readonly("report", [](const PyDxfResult& r) { return r.report; },
                             "One dict per polyline considered, the JSON lines of rrensen-dxf's\n"
                             "--report, read.")
      .def_property_readonly("messages", [](const PyDxfResult& r) { return r.messages; },
                             "What rrensen-dxf writes to standard error, whole lines.")
      .def("__bool__", [](const PyDxfResult& r) { return r.status == 0; })
      .def("__repr__", [](const PyDxfResult& r) {
        return "<DxfResult status " + std::to_string(r.status) + ", " +
               std::to_string(r.report.size()) + " polylines reported>";
      });

  m.def("fillet_dxf", &FilletDxf, py::arg("data"), py::arg("size") = py::float_(dxf::kDefaultSize),
        py::kw_only(), py::arg("style") = py::str("chord"), py::arg("corners") = py::str("all"),
        py::arg("max_angle") = py::none(), py::arg("tbone_side") = py::none(),
        py::arg("close_gap") = py::none(), py::arg("join") = false,
        py::arg("join_gap") = py::none(), py::arg("refillet") = false,
        py::arg("rechamfer") = py::none(), py::arg("refillet_max_radius") = py::none(),
        py::arg("tangent_tolerance") = py::none(), py::arg("layer") = py::none(),
        py::arg("name") = py::str("<data>"),
        "fillet_dxf(data, size=5.0, *, style='chord', corners='all', max_angle=None, tbone_side=None, close_gap=None, join=False, join_gap=None, refillet=False, rechamfer=None, refillet_max_radius=None, tangent_tolerance=None, layer=None, name='<data>')\n--\n\n"
        "fillet_dxf(data, size=5.0, *, style=\"chord\", corners=\"all\", max_angle=None, tbone_side=None, close_gap=None, join=False, join_gap=None, refillet=False, rechamfer=None, refillet_max_radius=None, tangent_tolerance=None, layer=None, name=\"<data>\") -> DxfResult\n\n"
        "Fillets the polylines of an ASCII DXF file as rrensen-dxf does, in\n"
        "memory: the same drawing, byte for byte, the same report and messages.\n\n"
        "data: the file's bytes.\n"
        "size, style: as for fillet (rrensen-dxf's -c and --style).\n"
        "corners: which corners to cut, 'all', 'convex' or 'concave', as each\n"
        "  closed polyline goes round its inside (--corners).\n"
        "max_angle, tbone_side: for style 'dogbone' or 'tbone', the largest\n"
        "  angle in degrees between the sides of a corner that gets a relief\n"
        "  (--max-angle, 170 when None) and the side of a T-bone's centre,\n"
        "  'longer', 'shorter', 'first' or 'second' (--tbone-side).\n"
        "close_gap: None to leave open polylines open, else the largest\n"
        "  distance between the ends of one that closes it (--close-gap).\n"
        "join: chain LINE and ARC entities whose ends meet into polylines and\n"
        "  fillet them too (--join).\n"
        "join_gap: None for the default gap (1e-06), else the largest distance\n"
        "  between two ends that meet; a gap joins as --join-gap does.\n"
        "refillet: re-cut corners cut before (--refillet): each arc tangent to\n"
        "  the straight pieces on both sides is turned back into its sharp\n"
        "  corner and cut anew (size 0 leaves it sharp).\n"
        "rechamfer, refillet_max_radius, tangent_tolerance: how earlier cuts\n"
        "  are told (--rechamfer, --refillet-max-radius, --tangent-tolerance);\n"
        "  any of them re-cuts.\n"
        "layer: None for every layer, else the one layer whose polylines are\n"
        "  filleted (--layer).\n"
        "name: the file's name in messages.\n\n"
        "Data that is not readable DXF gives status 2 and rrensen-dxf's message;\n"
        "arguments of the wrong type raise TypeError, values rrensen-dxf refuses\n"
        "ValueError with its message. Releases the GIL while it works.\n\n"
        ">>> rrensen.fillet_dxf(b'not DXF').status\n"
        "2\n");

  py::class_<PyPolylinePlan>(m, "PolylinePlan",
      "What rrensen-dxf does to one polyline entity (rrensen.plan_polyline).\n\n"
      ">>> plan = rrensen.plan_polyline([(0, 0, 0), (100, 0, 0), (100, 3, 0)])\n"
      ">>> plan.status, plan.rewritten, plan.result.refused_runs[0].largest_size\n"
      "('unchanged', False, 1.5)\n"
      ">>> plan.messages\n"
      "['LWPOLYLINE on layer \"0\" (line 0) left unchanged: the side from point 2 to point 3 is 3.000 long and needs 10.000; the largest size that fillets it is 1.500']\n")
      .def_property_readonly("considered", [](const PyPolylinePlan& p) { return p.value->considered; },
                             "False for a polyline rrensen-dxf passes over without a word (a\n"
                             "3-D polyline, a mesh or a polyface).")
      .def_property_readonly("ignored", [](const PyPolylinePlan& p) -> py::object {
        if (p.value->considered) return py::none();
        return py::str(p.value->ignored);
      }, "Why it is not considered ('not_2d'); None when it is.")
      .def_property_readonly("status", [](const PyPolylinePlan& p) -> py::object {
        if (!p.value->considered) return py::none();
        return py::str(dxf::StatusName(p.value->report.status));
      }, "'filleted', 'partly', 'unchanged' or 'skipped'; None when not considered.")
      .def_property_readonly("skipped", [](const PyPolylinePlan& p) -> py::object {
        if (p.value->report.status != dxf::OutlineStatus::kSkipped || !p.value->considered) return py::none();
        return py::str(p.value->report.skip_code);
      }, "Why a skipped polyline was: 'widths', 'curve_fit', 'too_many_vertices'; else None.")
      .def_property_readonly("result", [](const PyPolylinePlan& p) -> py::object {
        if (!p.value->considered || p.value->report.status == dxf::OutlineStatus::kSkipped) {
          return py::none();
        }
        return py::cast(PyPolylineResult{std::shared_ptr<const rrensen::PolylineResult>(
            p.value, &p.value->result)});
      }, "The PolylineResult of a polyline filleted (wholly, partly or not at all); else None.")
      .def_property_readonly("rewritten", [](const PyPolylinePlan& p) { return p.value->rewritten; },
                             "True when the entity is to be written anew with result's vertices\n"
                             "and closing; False when it stays as it was.")
      .def_property_readonly("report", [](const PyPolylinePlan& p) -> py::object {
        if (!p.value->considered) return py::none();
        return py::module_::import("json").attr("loads")(dxf::ReportLine(p.value->report));
      }, "The line rrensen-dxf's --report gives it, as a dict; None when not considered.")
      .def_property_readonly("messages", [](const PyPolylinePlan& p) {
        return p.value->considered ? dxf::Prose(p.value->report) : std::vector<std::string>();
      }, "What rrensen-dxf says of it on standard error, line by line.")
      .def("__repr__", [](const PyPolylinePlan& p) {
        if (!p.value->considered) return std::string("<PolylinePlan not considered>");
        return "<PolylinePlan " + std::string(dxf::StatusName(p.value->report.status)) +
               (p.value->rewritten ? ", rewritten>" : ">");
      });

  m.def("plan_polyline", &PlanPolylineCall, py::arg("vertices"), py::kw_only(),
        py::arg("entity") = py::str("LWPOLYLINE"), py::arg("handle") = py::none(),
        py::arg("layer") = py::str("0"), py::arg("flags") = 0,
        py::arg("widths") = py::none(), py::arg("vertex_flags") = py::none(),
        py::arg("size") = py::float_(dxf::kDefaultSize), py::arg("style") = py::str("chord"),
        py::arg("corners") = py::str("all"), py::arg("close_gap") = py::none(),
        py::arg("refillet") = false, py::arg("rechamfer") = py::none(),
        py::arg("refillet_max_radius") = py::none(), py::arg("tangent_tolerance") = py::none(),
        "plan_polyline(vertices, *, entity='LWPOLYLINE', handle=None, layer='0', flags=0, widths=None, vertex_flags=None, size=5.0, style='chord', corners='all', close_gap=None, refillet=False, rechamfer=None, refillet_max_radius=None, tangent_tolerance=None)\n--\n\n"
        "plan_polyline(vertices, *, entity=\"LWPOLYLINE\", handle=None, layer=\"0\", flags=0, widths=None, vertex_flags=None, size=5.0, style=\"chord\", corners=\"all\", close_gap=None, refillet=False, rechamfer=None, refillet_max_radius=None, tangent_tolerance=None) -> PolylinePlan\n\n"
        "What rrensen-dxf does to one polyline entity, decided as it decides\n"
        "for a file: skipped or filleted, the new vertices, the report.\n\n"
        "vertices: the entity's (x, y, bulge) vertices.\n"
        "entity: 'LWPOLYLINE' or 'POLYLINE' (with VERTEX entities).\n"
        "handle, layer: the entity's, for the report and the messages.\n"
        "flags: the entity's flags (group code 70): closed (1), curve- or\n"
        "  spline-fit (2, 4), 3-D, mesh, polyface (8, 16, 64).\n"
        "widths: the (group code, width) pairs of the entity, in its order: 40\n"
        "  and 41 of the POLYLINE and of each vertex.\n"
        "vertex_flags: each VERTEX's flags (group code 70).\n"
        "size, style, corners, close_gap: as for fillet_dxf. With 'dogbone' or\n"
        "  'tbone' the polyline is taken as a part, the cutter outside it;\n"
        "  fillet_dxf finds the holes among a drawing's polylines.\n\n"
        ">>> rrensen.plan_polyline([(0, 0, 0), (100, 0, 0), (100, 100, 0)]).status\n"
        "'filleted'\n");

  m.def("fillet", &Fillet, py::arg("points"), py::arg("size") = py::float_(5.0), py::kw_only(),
        py::arg("closing") = py::str("proximity"), py::arg("style") = py::str("chord"),
        "fillet(points, size=5.0, *, closing='proximity', style='chord')\n--\n\n"
        "fillet(points, size=5.0, *, closing=\"proximity\", style=\"chord\") -> Outline\n\n"
        "Fillets the corners of the polyline through points, in order: every\n"
        "corner is cut back so that its two cut points lie size apart, and the\n"
        "cut is the arc tangent to both sides, or a straight chord where the\n"
        "direction changes by 10 degrees or less. All or nothing: the outline\n"
        "is drawn, or refused with the reason (Outline.problem). Other styles\n"
        "cut the corners otherwise (see style).\n\n"
        "points: a sequence of (x, y) pairs of numbers, or an array of shape\n"
        "  (N, 2) (a NumPy array of any real dtype, read without a Python loop).\n"
        "size: the distance between the two cut points of every corner, a\n"
        "  finite number of 0 or more, in drawing units.\n"
        "closing: 'proximity' (closed when the last point lies nearer than\n"
        "  twice the size to the first, which it then stands for), 'open', or\n"
        "  'closed' (the last point joined to the first).\n"
        "style: how each corner is cut and what size measures: 'chord' (the\n"
        "  rule above), 'radius' (a tangent arc of radius size), 'chamfer' (a\n"
        "  straight cut whose ends lie size from the corner) or 'chord-chamfer'\n"
        "  (a straight cut size long). Corners that turn by less than 1e-9\n"
        "  radians are left straight in the three other styles, and a side\n"
        "  needs only room for the cuts at its ends.\n\n"
        "Raises TypeError or ValueError, naming the argument and the index of\n"
        "the first bad point, for arguments that are not these. Releases the\n"
        "GIL while it works.\n\n"
        ">>> outline = rrensen.fillet([(0, 0), (100, 0), (100, 100)], 5.0)\n"
        ">>> outline.result, outline.closed\n"
        "(<Result.DRAWN: 0>, False)\n"
        ">>> arc = outline.segments[1]\n"
        ">>> arc.centre, round(arc.sweep, 6)\n"
        "((96.46446609406726, 3.5355339059327378), 1.570796)\n"
        ">>> rrensen.fillet([(0, 0), (100, 0), (100, 100), (0, 100)], closing='closed')\n"
        "<Outline drawn, closed, 8 segments>\n");

  m.def("largest_fillet_size", &LargestFilletSize, py::arg("points"), py::kw_only(),
        py::arg("closing") = py::str("proximity"), py::arg("limit") = py::none(),
        py::arg("style") = py::str("chord"),
        "largest_fillet_size(points, *, closing='proximity', limit=None, style='chord')\n--\n\n"
        "largest_fillet_size(points, *, closing=\"proximity\", limit=None, style=\"chord\") -> float | None\n\n"
        "The largest fillet size below limit with which fillet(points, size,\n"
        "closing=closing, style=style) draws, as a whole number of thousandths (a size that\n"
        "can be typed); None when no size from 0 up draws them. With 'proximity'\n"
        "the size decides whether the outline closes as well; both shapes are\n"
        "searched. Sizes too large to count in thousandths are returned as\n"
        "found: infinity when every size draws and there is no limit.\n\n"
        "points: as for fillet.\n"
        "closing: 'proximity', 'open' or 'closed', as for fillet.\n"
        "limit: None or inf for no limit, else a number above 0.\n"
        "style: 'chord', 'radius', 'chamfer' or 'chord-chamfer', as for fillet.\n"
        "  For the three other styles the size found is exact, not rounded.\n\n"
        "Raises TypeError or ValueError for arguments that are not these.\n"
        "Releases the GIL while it works.\n\n"
        ">>> rrensen.largest_fillet_size([(0, 0), (100, 0), (100, 8)])\n"
        "4.0\n"
        ">>> rrensen.largest_fillet_size([(0, 0), (100, 0), (100, 100)], limit=20)\n"
        "19.999\n"
        ">>> print(rrensen.largest_fillet_size([(0, 100), (0, 0), (0, 100)]))\n"
        "None\n");
}
