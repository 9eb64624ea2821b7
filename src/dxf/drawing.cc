#include "dxf/drawing.h"

#include <algorithm>
#include <string_view>
#include <utility>

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

/// Which of a piece's geometry group codes it had, as bits.
enum PieceCodeBit : unsigned {
  kStartX = 1,
  kStartY = 2,
  kEndX = 4,
  kEndY = 8,
  kRadius = 16,
  kStartAngle = 32,
  kEndAngle = 64,
};

/// What a LINE's or an ARC's own tags tell beyond the Piece's fields.
struct PieceFacts {
  unsigned codes = 0;  ///< PieceCodeBit of each geometry code seen
  bool paper_space = false;
  bool application_data = false;
  int foreign_code = 0;  ///< the first code a polyline cannot carry; 0: none
  double thickness = 0.0;
  double z = 0.0;      ///< 30: the start's or the centre's z
  double end_z = 0.0;  ///< 31: a LINE's end's z
  double extrusion[3] = {0.0, 0.0, 1.0};
};

class Reader {
 public:
  Reader(TagWindow& window, DrawingPieces pieces, DrawingVisitor& visitor)
      : window_(window),
        read_pieces_(pieces == DrawingPieces::kRead),
        visitor_(visitor) {}

  Drawing Read() {
    size_t i = 0;
    while (drawing_.error.empty() && window_.Has(i)) {
      Boundary(i);
      if (window_[i].code == 999) {  // a comment
        ++i;
        continue;
      }
      if (IsZero(i, "EOF")) break;
      if (!IsZero(i, "SECTION")) {
        Fail("expected '0 / SECTION' or '0 / EOF' here", window_[i].line);
        break;
      }
      if (!window_.Has(i + 1) || window_[i + 1].code != 2) {
        Fail("a section must start with its name (group code 2)",
             window_[i].line);
        break;
      }
      // A copy: the name's bytes may move while the section is read.
      const std::string name(TrimBlanks(window_[i + 1].value));
      i = ReadSection(i + 2, name);
    }
    // One past the largest handle, so that new handles are unused ones.
    if (drawing_.error.empty() &&
        largest_handle_ + 1 > drawing_.next_free_handle) {
      drawing_.next_free_handle = largest_handle_ + 1;
    }
    // Moved out, not copied: a drawing may hold 10^5 pieces. A Reader reads
    // once.
    return std::move(drawing_);
  }

 private:
  bool IsZero(size_t i, std::string_view type) {
    return window_.Has(i) && window_[i].code == 0 &&
           TrimBlanks(window_[i].value) == type;
  }

  void Fail(std::string message, int line) {
    if (drawing_.error.empty()) {
      drawing_.error = std::move(message);
      drawing_.error_line = line;
    }
  }

  /// Tags before `next` are done with.
  void Boundary(size_t next) {
    visitor_.OnBoundary(next);
    window_.Release(next, window_[next].begin);
    if (visitor_.Stops()) Fail(kScanStopped, window_[next].line);
  }

  /// Reads a section from its first tag after the name; returns the index
  /// after its ENDSEC.
  size_t ReadSection(size_t i, const std::string& name) {
    const bool header = name == "HEADER";
    // Only the drawing's own entities: a block definition is a symbol shared
    // by every insert of it (arrowheads, title blocks), not an outline.
    const bool entities = name == "ENTITIES";
    while (drawing_.error.empty() && window_.Has(i)) {
      if (window_[i].code == 0) Boundary(i);
      if (IsZero(i, "ENDSEC")) return i + 1;
      if (IsZero(i, "EOF")) break;
      if (header) {
        ReadHeaderTag(i);
        ++i;
        continue;
      }
      const Tag& tag = window_[i];
      NoteHandle(tag);
      if (entities && tag.code == 0) {
        const std::string_view type = TrimBlanks(tag.value);
        if (type == "LWPOLYLINE") {
          i = visitor_.ReadsLightweightLater(i) ? HandOverLightweight(i)
                                                : ReadLightweight(i);
          continue;
        }
        if (type == "POLYLINE") {
          i = ReadVertexList(i);
          continue;
        }
        if (read_pieces_ && (type == "LINE" || type == "ARC")) {
          i = ReadPiece(i, type == "LINE" ? PieceKind::kLine : PieceKind::kArc);
          continue;
        }
      }
      ++i;
    }
    Fail("the file ends inside the " + name + " section (no '0 / ENDSEC')",
         window_.LastLine());
    return i;
  }

  void ReadHeaderTag(size_t i) {
    const bool has_next = window_.Has(i + 1);  // before taking references
    const Tag& tag = window_[i];
    if (tag.code != 9 || !has_next) return;
    const Tag& next = window_[i + 1];
    const std::string_view name = TrimBlanks(tag.value);
    if (name == "$ACADVER" && next.code == 1) {
      drawing_.version = std::string(TrimBlanks(next.value));
      return;
    }
    if (name != "$HANDSEED" || next.code != 5) return;
    uint64_t seed = 0;
    if (!ParseHandle(next.value, seed)) {
      Fail("$HANDSEED is not a hexadecimal handle", next.line + 1);
      return;
    }
    drawing_.has_handle_seed = true;
    drawing_.handle_seed_tag = i + 1;
    drawing_.handle_seed = next;
    drawing_.handle_seed.value = {};
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

  /// How many tags of a polyline read for its values only are held at
  /// most before they are let go.
  static constexpr size_t kLetGoEvery = 4096;

  /// Index of the next "0" tag from `i` on (or the end), all read.
  size_t EntityEnd(size_t i) {
    while (window_.Has(i) && window_[i].code != 0) ++i;
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
      case 5: p.handle.assign(TrimBlanks(tag.value)); return true;
      case 8: p.layer.assign(TrimBlanks(tag.value)); return true;
      case 70:
        p.has_flags = true;
        return Integer(tag, p.flags);
      default: return false;
    }
  }

  /// Adds the vertex whose x is `at`; false when there is no room for it.
  bool AddVertex(Polyline& p, const Tag& at) {
    if (p.vertices.size() >= kMaxVertices) {
      p.too_many_vertices = true;
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
    if (!Real(tag, width) || width == 0.0 || p.width_code != 0) return;
    p.width_code = tag.code;
  }

  /// The polyline to fill, empty, its buffers kept from the last one.
  Polyline& Fresh(PolylineForm form, size_t first) {
    Polyline& p = polyline_;
    p.form = form;
    p.first_tag = first;
    p.end_tag = first;
    p.handle.clear();
    p.layer = "0";
    p.flags = 0;
    p.has_flags = false;
    p.closed = false;
    p.vertices.clear();
    p.width_code = 0;
    p.fit_vertices = false;
    p.vertex_without_point = false;
    p.too_many_vertices = false;
    p.vertex_tags.clear();
    p.vertex_handles.clear();
    p.seqend_tag = 0;
    const Tag& type = window_[first];
    p.type.assign(TrimBlanks(type.value));
    p.line = type.line;
    return p;
  }

  size_t ReadLightweight(size_t first) {
    Polyline& p = Fresh(PolylineForm::kLightweight, first);
    // A visitor that wants no lightweight polyline's tags gets its values
    // only: its tags are let go as they are read, so that a polyline of
    // any length holds none.
    const bool values_only = !visitor_.WantsLightweightTags(first);
    if (visitor_.Stops()) Fail(kScanStopped, window_[first].line);
    const size_t entity_begin = window_[first].begin;
    if (!values_only) {
      p.end_tag = EntityEnd(first + 1);
      // A vertex takes two tags at least (its 10 and 20).
      const size_t most = std::min((p.end_tag - first) / 2, kMaxVertices);
      p.vertices.reserve(most);
      p.vertex_tags.reserve(most);
    }
    OpaqueParts opaque;
    size_t i = first + 1;
    for (; drawing_.error.empty(); ++i) {
      if (values_only) {
        if (!window_.Has(i) || window_[i].code == 0) break;
        if (i % kLetGoEvery == 0) window_.Release(i, entity_begin);
      } else if (i >= p.end_tag) {
        break;
      }
      const Tag& tag = window_[i];
      NoteHandle(tag);
      if (opaque.Skip(tag) || ReadCommon(tag, p)) continue;
      int count = 0;
      if (values_only && tag.code == 90 && ParseInteger(tag.value, count) &&
          count > 0) {
        // The vertex count the polyline says it has, as a hint.
        p.vertices.reserve(std::min(static_cast<size_t>(count), kMaxVertices));
      }
      // Past kMaxVertices the polyline is unfit and its last kept y may be
      // overwritten harmlessly.
      if (tag.code == 10) {
        if (AddVertex(p, tag) && !values_only) p.vertex_tags.push_back(i);
      } else {
        VertexTag(p, tag, !p.vertices.empty(), "any 10 in an LWPOLYLINE");
      }
    }
    if (values_only) p.end_tag = std::max(i, first + 1);
    Finish(p);
    return p.end_tag;
  }

  /// The LWPOLYLINE at `first`, unread but for its handles, to the
  /// visitor; returns the index after it.
  size_t HandOverLightweight(size_t first) {
    size_t end = first + 1;
    for (; window_.Has(end) && window_[end].code != 0; ++end) {
      NoteHandle(window_[end]);
    }
    visitor_.OnUnreadLightweight(first, end);
    return end;
  }

 public:
  /// The LWPOLYLINE at `first` alone, handed to the visitor; the fault
  /// the scan would name in it, if any.
  LightweightRead ReadOneLightweight(size_t first) {
    ReadLightweight(first);
    LightweightRead read;
    read.error = drawing_.error;
    read.error_line = drawing_.error_line;
    return read;
  }

 private:
  size_t ReadVertexList(size_t first) {
    Polyline& p = Fresh(PolylineForm::kVertexList, first);
    size_t i = EntityEnd(first + 1);
    OpaqueParts opaque;
    for (size_t k = first + 1; k < i && drawing_.error.empty(); ++k) {
      const Tag& tag = window_[k];
      NoteHandle(tag);
      if (opaque.Skip(tag) || ReadCommon(tag, p)) continue;
      if (tag.code == 40 || tag.code == 41) NoteWidth(p, tag);
    }
    while (drawing_.error.empty() && IsZero(i, "VERTEX")) {
      size_t end = EntityEnd(i + 1);
      p.vertex_tags.push_back(i);
      ReadVertex(p, i, end);
      i = end;
    }
    if (!drawing_.error.empty()) return i;
    if (!IsZero(i, "SEQEND")) {
      Fail("a POLYLINE's vertices must end with '0 / SEQEND'",
           window_.Has(i) ? window_[i].line : window_[first].line);
      return i;
    }
    p.seqend_tag = i;
    p.end_tag = EntityEnd(i + 1);
    for (size_t k = i + 1; k < p.end_tag; ++k) NoteHandle(window_[k]);
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
      const Tag& tag = window_[k];
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
          if (Integer(tag, flags) && IsFitVertex(flags)) {
            p.fit_vertices = true;
          }
          break;
        }
        default: break;
      }
    }
    if (added) p.vertices.back().bulge = bulge;
    p.vertex_handles.push_back(handle);
    if (!has_point) p.vertex_without_point = true;
  }

  /// Reads a LINE or an ARC from its "0" tag; returns the index after it.
  /// One in paper space is not kept.
  size_t ReadPiece(size_t first, PieceKind kind) {
    Piece p;
    p.kind = kind;
    p.first_tag = first;
    p.line = window_[first].line;
    p.end_tag = EntityEnd(first + 1);
    PieceFacts facts;
    OpaqueParts opaque;
    for (size_t i = first + 1; i < p.end_tag && drawing_.error.empty(); ++i) {
      const Tag& tag = window_[i];
      NoteHandle(tag);
      if (opaque.Skip(tag)) {
        facts.application_data = true;
        continue;
      }
      if (!PieceAttributeTag(tag, p) && !PieceGeometryTag(tag, p, facts) &&
          facts.foreign_code == 0) {
        facts.foreign_code = tag.code;
      }
    }
    if (!drawing_.error.empty() || facts.paper_space) return p.end_tag;
    p.unjoinable_reason = ReasonFromTags(p.kind, facts);
    const size_t end = p.end_tag;
    visitor_.OnPiece(p);
    return end;
  }

  /// Reads `tag` if it is one of the attributes a polyline takes over.
  bool PieceAttributeTag(const Tag& tag, Piece& p) {
    PieceAttributes& a = p.attributes;
    std::string_view text = TrimBlanks(tag.value);
    switch (tag.code) {
      case 5: p.handle = std::string(text); return true;
      case 8: a.layer = std::string(text); return true;
      case 6: a.line_type = std::string(text); return true;
      case 62: Integer(tag, a.colour); return true;
      case 370: Integer(tag, a.line_weight); return true;
      case 48: Real(tag, a.line_type_scale); return true;
      case 60: Integer(tag, a.invisible); return true;
      case 420: a.true_colour = std::string(text); return true;
      case 430: a.colour_name = std::string(text); return true;
      case 440: a.transparency = std::string(text); return true;
      case 330: a.owner = std::string(text); return true;
      // Subclass markers and the layout's name say nothing of their own.
      case 100:
      case 410: return true;
      default: return false;
    }
  }

  /// Reads `tag` if it is part of the piece's place or shape.
  bool PieceGeometryTag(const Tag& tag, Piece& p, PieceFacts& facts) {
    const bool line = p.kind == PieceKind::kLine;
    double* target = nullptr;
    unsigned bit = 0;
    switch (tag.code) {
      case 67: {
        int space = 0;
        if (Integer(tag, space)) facts.paper_space = space == 1;
        return true;
      }
      case 10: target = &p.start.x; bit = kStartX; break;
      case 20: target = &p.start.y; bit = kStartY; break;
      case 30: target = &facts.z; break;
      case 39: target = &facts.thickness; break;
      case 210: target = &facts.extrusion[0]; break;
      case 220: target = &facts.extrusion[1]; break;
      case 230: target = &facts.extrusion[2]; break;
      case 11: if (line) { target = &p.end.x; bit = kEndX; } break;
      case 21: if (line) { target = &p.end.y; bit = kEndY; } break;
      case 31: if (line) target = &facts.end_z; break;
      case 40: if (!line) { target = &p.radius; bit = kRadius; } break;
      case 50: if (!line) { target = &p.start_angle; bit = kStartAngle; } break;
      case 51: if (!line) { target = &p.end_angle; bit = kEndAngle; } break;
      default: break;
    }
    if (target == nullptr) return false;
    if (Real(tag, *target)) facts.codes |= bit;
    return true;
  }

  /// Why a piece with these facts cannot become part of a polyline; empty
  /// when it can. A polyline is flat at z = 0 in the drawing's plane and
  /// keeps no thickness, and whatever an application attached to the piece
  /// would be lost with it.
  static std::string ReasonFromTags(PieceKind kind, const PieceFacts& f) {
    if (f.application_data) {
      return "it carries application data (group code 102 or 1000 on)";
    }
    if (f.foreign_code != 0) {
      return "it has group code " + std::to_string(f.foreign_code) +
             ", which a polyline cannot carry";
    }
    const unsigned needed = kind == PieceKind::kLine
                                ? kStartX | kStartY | kEndX | kEndY
                                : kStartX | kStartY | kRadius | kStartAngle |
                                      kEndAngle;
    if ((f.codes & needed) != needed) return "a point or size is missing";
    if (f.thickness != 0.0) return "it has a thickness";
    if (f.extrusion[0] != 0.0 || f.extrusion[1] != 0.0 ||
        f.extrusion[2] != 1.0) {
      return "its extrusion direction is not (0, 0, 1)";
    }
    if (f.z != 0.0 || f.end_z != 0.0) return "it does not lie at z = 0";
    return "";
  }

  void Finish(Polyline& p) {
    p.closed = (p.flags & kClosedFlag) != 0;
    if (drawing_.error.empty()) visitor_.OnPolyline(p);
  }

  TagWindow& window_;
  const bool read_pieces_;
  DrawingVisitor& visitor_;
  Drawing drawing_;
  Polyline polyline_;  ///< the one being read; its buffers are reused
  uint64_t largest_handle_ = 0;
};

/// Keeps what the scanner hands on, for ReadDrawing.
class Collector : public DrawingVisitor {
 public:
  explicit Collector(Drawing& drawing) : drawing_(drawing) {}
  void OnBoundary(size_t /*next*/) override {}
  void OnPolyline(Polyline& polyline) override {
    drawing_.polylines.push_back(polyline);
  }
  void OnPiece(Piece& piece) override {
    drawing_.pieces.push_back(std::move(piece));
  }

 private:
  Drawing& drawing_;
};

/// Takes the one polyline the scanner hands on, buffers and all.
class Keeper : public DrawingVisitor {
 public:
  explicit Keeper(Polyline& polyline) : polyline_(polyline) {}
  void OnBoundary(size_t /*next*/) override {}
  void OnPolyline(Polyline& polyline) override { std::swap(polyline_, polyline); }
  void OnPiece(Piece& /*piece*/) override {}

 private:
  Polyline& polyline_;
};

}  // namespace

bool IsFitVertex(int vertex_flags) {
  return (vertex_flags & kFitVertexFlags) != 0;
}

bool IsTwoDimensional(const Polyline& p) {
  return p.form == PolylineForm::kLightweight ||
         (p.flags & (k3dPolylineFlag | k3dMeshFlag | kPolyfaceFlag)) == 0;
}

Unfit UnfitOf(const Polyline& p) {
  if (p.too_many_vertices) {
    return {"too_many_vertices",
            "it has more than " + std::to_string(kMaxVertices) + " vertices"};
  }
  if (p.vertex_without_point) {
    return {"vertex_without_point", "a VERTEX has no point"};
  }
  if (p.width_code != 0) {
    return {"widths", "it has vertex widths (group code " +
                          std::to_string(p.width_code) + ")"};
  }
  const bool fit_flags =
      p.form == PolylineForm::kVertexList &&
      (p.flags & (kCurveFitFlag | kSplineFitFlag)) != 0;
  if (fit_flags || p.fit_vertices) {
    return {"curve_fit", "it is curve-fit or spline-fit"};
  }
  return {};
}

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

Drawing ScanDrawing(TagWindow& window, DrawingPieces pieces,
                    DrawingVisitor& visitor) {
  return Reader(window, pieces, visitor).Read();
}

LightweightRead ReadLightweightAt(TagWindow& window, size_t first) {
  Polyline polyline;
  Keeper keeper(polyline);
  LightweightRead read =
      Reader(window, DrawingPieces::kSkip, keeper).ReadOneLightweight(first);
  read.polyline = std::move(polyline);
  return read;
}

Drawing ReadDrawing(const TagList& list, DrawingPieces pieces) {
  // The tags' bytes are not needed: nothing is copied.
  TagWindow window(list, {});
  Drawing found;
  Collector collector(found);
  Drawing drawing = ScanDrawing(window, pieces, collector);
  drawing.polylines = std::move(found.polylines);
  drawing.pieces = std::move(found.pieces);
  return drawing;
}

}  // namespace dxf
