#include "dxf/drawing.h"

#include <string_view>

#include "dxf/number_text.h"

namespace dxf {
namespace {

/// Flag bits of group code 70 on a polyline.
constexpr int kClosedFlag = 1;
constexpr int kCurveFitFlag = 2;
constexpr int kSplineFitFlag = 4;
constexpr int k3dPolylineFlag = 8;
constexpr int k3dMeshFlag = 16;
constexpr int kPolyfaceFlag = 64;
/// Flag bits of group code 70 on a vertex that curve or spline fitting made.
constexpr int kFitVertexFlags = 1 | 8 | 16;

class Reader {
 public:
  explicit Reader(const TagList& list) : tags_(list.tags) {}

  Drawing Read() {
    size_t i = 0;
    while (i < tags_.size() && drawing_.error.empty()) {
      const Tag& tag = tags_[i];
      if (tag.code == 999) {  // a comment
        ++i;
        continue;
      }
      if (IsZero(i, "EOF")) break;
      if (!IsZero(i, "SECTION")) {
        return Fail("expected '0 / SECTION' or '0 / EOF' here", tag.line);
      }
      if (i + 1 >= tags_.size() || tags_[i + 1].code != 2) {
        return Fail("a section must start with its name (group code 2)",
                    tag.line);
      }
      std::string_view name = TrimBlanks(tags_[i + 1].value);
      i = ReadSection(i + 2, name);
    }
    if (!drawing_.error.empty()) return drawing_;
    // One past the largest handle, so that new handles are unused ones.
    if (largest_handle_ + 1 > drawing_.next_free_handle) {
      drawing_.next_free_handle = largest_handle_ + 1;
    }
    return drawing_;
  }

 private:
  bool IsZero(size_t i, std::string_view type) const {
    return i < tags_.size() && tags_[i].code == 0 &&
           TrimBlanks(tags_[i].value) == type;
  }

  Drawing Fail(std::string message, int line) {
    if (drawing_.error.empty()) {
      drawing_.error = std::move(message);
      drawing_.error_line = line;
    }
    return drawing_;
  }

  /// Reads a section from its first tag after the name; returns the index
  /// after its ENDSEC.
  size_t ReadSection(size_t i, std::string_view name) {
    bool header = name == "HEADER";
    // Only the drawing's own entities: a block definition is a symbol shared
    // by every insert of it (arrowheads, title blocks), not an outline.
    bool entities = name == "ENTITIES";
    while (i < tags_.size()) {
      if (IsZero(i, "ENDSEC")) return i + 1;
      if (IsZero(i, "EOF")) break;
      const Tag& tag = tags_[i];
      if (header) {
        ReadHeaderTag(i);
        ++i;
        continue;
      }
      NoteHandle(tag);
      if (entities && tag.code == 0) {
        std::string_view type = TrimBlanks(tag.value);
        if (type == "LWPOLYLINE") {
          i = ReadLightweight(i);
          continue;
        }
        if (type == "POLYLINE") {
          i = ReadVertexList(i);
          continue;
        }
      }
      ++i;
    }
    Fail("the file ends inside the " + std::string(name) +
             " section (no '0 / ENDSEC')",
         tags_.empty() ? 0 : tags_.back().line);
    return tags_.size();
  }

  void ReadHeaderTag(size_t i) {
    const Tag& tag = tags_[i];
    if (tag.code != 9 || TrimBlanks(tag.value) != "$HANDSEED") return;
    if (i + 1 >= tags_.size() || tags_[i + 1].code != 5) return;
    uint64_t seed = 0;
    if (!ParseHandle(tags_[i + 1].value, seed)) {
      Fail("$HANDSEED is not a hexadecimal handle", tags_[i + 1].line + 1);
      return;
    }
    drawing_.has_handle_seed = true;
    drawing_.handle_seed_tag = i + 1;
    if (seed > drawing_.next_free_handle) drawing_.next_free_handle = seed;
  }

  /// Keeps the largest handle seen (group code 5, or 105 of a DIMSTYLE).
  void NoteHandle(const Tag& tag) {
    if (tag.code != 5 && tag.code != 105) return;
    uint64_t handle = 0;
    if (ParseHandle(tag.value, handle) && handle > largest_handle_ &&
        handle < UINT64_MAX) {
      largest_handle_ = handle;
    }
  }

  /// Index of the next "0" tag from `i` on (or the end).
  size_t EntityEnd(size_t i) const {
    while (i < tags_.size() && tags_[i].code != 0) ++i;
    return i;
  }

  bool Real(const Tag& tag, double& value) {
    return Value(ParseReal(tag.value, value), tag, "a number");
  }

  bool Integer(const Tag& tag, int& value) {
    return Value(ParseInteger(tag.value, value), tag, "a whole number");
  }

  /// Reports a tag whose value did not read as `what`.
  bool Value(bool read, const Tag& tag, const char* what) {
    if (read) return true;
    Fail("the value of group code " + std::to_string(tag.code) + " is not " +
             what,
         tag.line + 1);
    return false;
  }

  /// The tags a vertex has in both forms: its y (20), widths (40, 41) and
  /// bulge (42); other codes are left alone. `has_point` tells whether the
  /// vertex's x came, `context` names where for the message if not.
  void VertexTag(Polyline& p, const Tag& tag, bool has_point,
                 const char* context) {
    switch (tag.code) {
      case 20:
        if (!has_point) {
          Fail(std::string("group code 20 before ") + context, tag.line);
        } else {
          Real(tag, p.vertices.back().point.y);
        }
        break;
      case 40:
      case 41: NoteWidth(p, tag); break;
      case 42: NoteBulge(p, tag); break;
      default: break;
    }
  }

  /// The handle, layer and flags of an entity's own tag, if it is one.
  bool ReadCommon(const Tag& tag, Polyline& p) {
    switch (tag.code) {
      case 5: p.handle = std::string(TrimBlanks(tag.value)); return true;
      case 8: p.layer = std::string(TrimBlanks(tag.value)); return true;
      case 70:
        p.has_flags = true;
        return Integer(tag, p.flags);
      default: return false;
    }
  }

  /// Marks `p` as one whose corners are not filleted, unless it already is.
  static void Unfit(Polyline& p, const char* code, std::string reason) {
    if (!p.unfit_code.empty()) return;
    p.unfit_code = code;
    p.unfit_reason = std::move(reason);
  }

  /// Adds the vertex whose x is `at`; false when there is no room for it.
  bool AddVertex(Polyline& p, const Tag& at) {
    if (p.vertices.size() >= kMaxVertices) {
      Unfit(p, "too_many_vertices",
            "it has more than " + std::to_string(kMaxVertices) + " vertices");
      return false;
    }
    double x = 0.0;
    if (!Real(at, x)) return false;
    p.vertices.push_back({{x, 0.0}, 0.0});
    return true;
  }

  /// The bulge of the last vertex read; a bulge before any vertex has no
  /// piece to bend and is ignored.
  void NoteBulge(Polyline& p, const Tag& tag) {
    double bulge = 0.0;
    if (Real(tag, bulge) && !p.vertices.empty()) p.vertices.back().bulge = bulge;
  }

  void NoteWidth(Polyline& p, const Tag& tag) {
    double width = 0.0;
    if (!Real(tag, width) || width == 0.0) return;
    Unfit(p, "widths",
          "it has vertex widths (group code " + std::to_string(tag.code) + ")");
  }

  size_t ReadLightweight(size_t first) {
    Polyline p;
    p.form = PolylineForm::kLightweight;
    p.first_tag = first;
    p.end_tag = EntityEnd(first + 1);
    p.layer = "0";
    OpaqueParts opaque;
    for (size_t i = first + 1; i < p.end_tag && drawing_.error.empty(); ++i) {
      const Tag& tag = tags_[i];
      NoteHandle(tag);
      if (opaque.Skip(tag) || ReadCommon(tag, p)) continue;
      // Past kMaxVertices the polyline is unfit and its last kept y may be
      // overwritten harmlessly.
      if (tag.code == 10) {
        if (AddVertex(p, tag)) p.vertex_tags.push_back(i);
      } else {
        VertexTag(p, tag, !p.vertices.empty(), "any 10 in an LWPOLYLINE");
      }
    }
    Finish(p);
    return p.end_tag;
  }

  size_t ReadVertexList(size_t first) {
    Polyline p;
    p.form = PolylineForm::kVertexList;
    p.first_tag = first;
    p.layer = "0";
    size_t i = EntityEnd(first + 1);
    OpaqueParts opaque;
    for (size_t k = first + 1; k < i && drawing_.error.empty(); ++k) {
      const Tag& tag = tags_[k];
      NoteHandle(tag);
      if (opaque.Skip(tag) || ReadCommon(tag, p)) continue;
      if (tag.code == 40 || tag.code == 41) NoteWidth(p, tag);
    }
    while (IsZero(i, "VERTEX") && drawing_.error.empty()) {
      size_t end = EntityEnd(i + 1);
      p.vertex_tags.push_back(i);
      ReadVertex(p, i, end);
      i = end;
    }
    if (!drawing_.error.empty()) return tags_.size();
    if (!IsZero(i, "SEQEND")) {
      Fail("a POLYLINE's vertices must end with '0 / SEQEND'",
           i < tags_.size() ? tags_[i].line : tags_[first].line);
      return tags_.size();
    }
    p.seqend_tag = i;
    p.end_tag = EntityEnd(i + 1);
    for (size_t k = i + 1; k < p.end_tag; ++k) NoteHandle(tags_[k]);
    if (p.flags & (k3dPolylineFlag | k3dMeshFlag | kPolyfaceFlag)) {
      p.not_2d = true;
    } else if (p.flags & (kCurveFitFlag | kSplineFitFlag)) {
      Unfit(p, "curve_fit", "it is curve-fit or spline-fit");
    }
    Finish(p);
    return p.end_tag;
  }

  void ReadVertex(Polyline& p, size_t first, size_t end) {
    OpaqueParts opaque;
    bool has_point = false;
    bool added = false;  // this VERTEX's point is p.vertices.back()
    double bulge = 0.0;  // wherever the bulge stands among its tags
    std::string handle;
    for (size_t k = first + 1; k < end && drawing_.error.empty(); ++k) {
      const Tag& tag = tags_[k];
      NoteHandle(tag);
      if (opaque.Skip(tag)) continue;
      switch (tag.code) {
        case 5: handle = std::string(TrimBlanks(tag.value)); break;
        case 10:
          if (!has_point) added = AddVertex(p, tag);
          has_point = !p.vertices.empty();
          break;
        case 42: Real(tag, bulge); break;
        case 20:
        case 40:
        case 41: VertexTag(p, tag, has_point, "10 in a VERTEX"); break;
        case 70: {
          int flags = 0;
          if (Integer(tag, flags) && (flags & kFitVertexFlags)) {
            Unfit(p, "curve_fit", "it is curve-fit or spline-fit");
          }
          break;
        }
        default: break;
      }
    }
    if (added) p.vertices.back().bulge = bulge;
    p.vertex_handles.push_back(handle);
    if (!has_point) Unfit(p, "vertex_without_point", "a VERTEX has no point");
  }

  void Finish(Polyline& p) {
    p.closed = (p.flags & kClosedFlag) != 0;
    drawing_.polylines.push_back(std::move(p));
  }

  const std::vector<Tag>& tags_;
  Drawing drawing_;
  uint64_t largest_handle_ = 0;
};

}  // namespace

bool OpaqueParts::Skip(const Tag& tag) {
  if (tag.code >= 1000) in_extended_data_ = true;
  if (in_extended_data_) return true;
  if (tag.code == 102) {
    std::string_view value = TrimBlanks(tag.value);
    in_application_group_ = !value.empty() && value.front() == '{';
    return true;
  }
  return in_application_group_;
}

Drawing ReadDrawing(const TagList& list) { return Reader(list).Read(); }

}  // namespace dxf
