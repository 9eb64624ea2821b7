#include "dxf/fillet_dxf.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "dxf/drawing.h"
#include "dxf/number_text.h"
#include "dxf/tag_reader.h"
#include "dxf/tag_writer.h"
#include "platform/ascii.h"
#include "platform/number_format.h"

namespace dxf {
namespace {

/// The sizes the report searches run up to, as the library's tool allows.
constexpr double kSizeLimit = 20.0;
constexpr int kClosedFlag = 1;

bool SamePoint(const rrensen::Point& a, const rrensen::Point& b) {
  return a.x == b.x && a.y == b.y;
}

/// Drops each vertex that lies exactly on the next one: the piece from it is
/// empty (a corner of fillet size 0 gives its point twice). In a closed
/// polyline the last vertex's next is the first. One vertex always stays.
std::vector<BulgeVertex> WithoutRepeatedPoints(
    const std::vector<BulgeVertex>& vertices, bool closed) {
  std::vector<BulgeVertex> kept;
  const size_t count = vertices.size();
  for (size_t i = 0; i < count; ++i) {
    bool has_next = i + 1 < count || closed;
    const BulgeVertex& next = vertices[(i + 1) % count];
    bool last_left = kept.empty() && i + 1 == count;
    if (has_next && SamePoint(vertices[i].point, next.point) && !last_left) {
      continue;
    }
    kept.push_back(vertices[i]);
  }
  return kept;
}

bool SameLayer(std::string_view a, std::string_view b) {
  return platform::EqualIgnoringCase(a, b);
}

/// Writes tags: copies of the input's, the input's with a new value, and
/// new ones laid out like the file's.
class TagWriter {
 public:
  TagWriter(std::string_view bytes, const TagList& list, std::string& out)
      : bytes_(bytes), list_(list), out_(out) {}

  void Copy(const Tag& tag) {
    out_.append(bytes_.substr(tag.begin, tag.end - tag.begin));
  }

  void CopyWithValue(const Tag& tag, std::string_view value) {
    out_.append(bytes_.substr(tag.begin, tag.value_begin - tag.begin));
    out_.append(value);
    std::string_view line_end =
        bytes_.substr(tag.value_text_end, tag.end - tag.value_text_end);
    out_.append(line_end.empty() ? std::string_view(list_.layout.line_end)
                                 : line_end);
  }

  void Add(int code, std::string_view value) {
    AppendTag(out_, list_.layout, code, value);
  }

 private:
  std::string_view bytes_;
  const TagList& list_;
  std::string& out_;
};

bool IsLightweightVertexCode(int code) {
  return code == 10 || code == 20 || code == 40 || code == 41 || code == 42 ||
         code == 91;
}

class Rewriter {
 public:
  Rewriter(std::string_view bytes, const TagList& list, const Drawing& drawing)
      : bytes_(bytes),
        list_(list),
        tags_(list.tags),
        drawing_(drawing),
        next_handle_(drawing.next_free_handle) {}

  /// The entity `p` with the shape `f`.
  std::string Entity(const Polyline& p, const FilletedPolyline& f) {
    std::string out;
    TagWriter writer(bytes_, list_, out);
    int flags = f.closed ? (p.flags | kClosedFlag) : (p.flags & ~kClosedFlag);
    if (p.form == PolylineForm::kLightweight) {
      Lightweight(p, f, flags, writer);
    } else {
      VertexList(p, f, flags, writer);
    }
    return out;
  }

  /// True when new handles were given out.
  bool HandlesAdded() const {
    return next_handle_ != drawing_.next_free_handle;
  }
  uint64_t next_handle() const { return next_handle_; }

 private:
  void Lightweight(const Polyline& p, const FilletedPolyline& f, int flags,
                   TagWriter& writer) {
    bool has_count = false;
    {
      OpaqueParts opaque;
      for (size_t i = p.first_tag + 1; i < p.end_tag; ++i) {
        if (!opaque.Skip(tags_[i]) && tags_[i].code == 90) has_count = true;
      }
    }
    const std::string count = std::to_string(f.vertices.size());
    const std::string flag_text = std::to_string(flags);
    writer.Copy(tags_[p.first_tag]);
    OpaqueParts opaque;
    bool vertices_written = false;
    for (size_t i = p.first_tag + 1; i < p.end_tag; ++i) {
      const Tag& tag = tags_[i];
      // Tags inside opaque parts (extended data and the like) are copied.
      const bool own = !opaque.Skip(tag);
      if (own && tag.code == 90) {
        writer.CopyWithValue(tag, count);
      } else if (own && tag.code == 70) {
        writer.CopyWithValue(tag, flag_text);
      } else if (own && IsLightweightVertexCode(tag.code)) {
        // The first vertex tag is where the new vertices go; the old ones
        // are dropped.
        if (vertices_written) continue;
        vertices_written = true;
        if (!has_count) writer.Add(90, count);
        if (!p.has_flags && flags != 0) writer.Add(70, flag_text);
        for (const BulgeVertex& v : f.vertices) {
          writer.Add(10, FormatCoordinate(v.point.x));
          writer.Add(20, FormatCoordinate(v.point.y));
          if (v.bulge != 0.0) writer.Add(42, FormatCoordinate(v.bulge));
        }
      } else {
        writer.Copy(tag);
      }
    }
  }

  void VertexList(const Polyline& p, const FilletedPolyline& f, int flags,
                  TagWriter& writer) {
    const size_t header_end = p.vertex_tags.front();
    OpaqueParts opaque;
    for (size_t i = p.first_tag; i < header_end; ++i) {
      const Tag& tag = tags_[i];
      if (!opaque.Skip(tag) && tag.code == 70) {
        writer.CopyWithValue(tag, std::to_string(flags));
      } else {
        writer.Copy(tag);
      }
    }
    if (!p.has_flags && flags != 0) writer.Add(70, std::to_string(flags));

    // Every new vertex is a copy of the first old one (its layer, colour,
    // flags, owner) with a new point, bulge and handle.
    const size_t template_begin = p.vertex_tags.front();
    const size_t template_end =
        p.vertex_tags.size() > 1 ? p.vertex_tags[1] : p.seqend_tag;
    // The bulge follows the point and the widths, as DXF orders them.
    size_t bulge_after = template_begin;
    {
      OpaqueParts template_opaque;
      for (size_t i = template_begin + 1; i < template_end; ++i) {
        int code = tags_[i].code;
        if (!template_opaque.Skip(tags_[i]) &&
            (code == 10 || code == 20 || code == 30 || code == 40 ||
             code == 41)) {
          bulge_after = i;
        }
      }
    }
    for (size_t k = 0; k < f.vertices.size(); ++k) {
      const BulgeVertex& v = f.vertices[k];
      OpaqueParts vertex_opaque;
      for (size_t i = template_begin; i < template_end; ++i) {
        const Tag& tag = tags_[i];
        // The entity's "0" tag and its opaque parts are copied as they are.
        const bool own = i != template_begin && !vertex_opaque.Skip(tag);
        if (own && tag.code == 5) {
          // Without $HANDSEED no handle can be known to be free.
          if (drawing_.has_handle_seed) {
            writer.CopyWithValue(tag, VertexHandle(p, k));
          }
        } else if (own && tag.code == 10) {
          writer.CopyWithValue(tag, FormatCoordinate(v.point.x));
        } else if (own && tag.code == 20) {
          writer.CopyWithValue(tag, FormatCoordinate(v.point.y));
        } else if (!own || tag.code != 42) {
          writer.Copy(tag);
        }
        if (i == bulge_after && v.bulge != 0.0) {
          writer.Add(42, FormatCoordinate(v.bulge));
        }
      }
    }
    for (size_t i = p.seqend_tag; i < p.end_tag; ++i) writer.Copy(tags_[i]);
  }

  /// The handle of new vertex k: the old vertex k's, while there is one,
  /// then unused ones counted up from the seed.
  std::string VertexHandle(const Polyline& p, size_t k) {
    if (k < p.vertex_handles.size() && !p.vertex_handles[k].empty()) {
      return p.vertex_handles[k];
    }
    return FormatHandle(next_handle_++);
  }

  std::string_view bytes_;
  const TagList& list_;
  const std::vector<Tag>& tags_;
  const Drawing& drawing_;
  uint64_t next_handle_;
};

std::string Describe(const Polyline& p, const Tag& first) {
  std::string text(TrimBlanks(first.value));
  if (!p.handle.empty()) text += " " + p.handle;
  text += " on layer \"" + p.layer + "\" (line " + std::to_string(first.line) +
          ")";
  return text;
}

}  // namespace

std::vector<BulgeVertex> BulgeVerticesOf(const rrensen::Outline& outline) {
  std::vector<BulgeVertex> vertices;
  for (const rrensen::Segment& s : outline.segments) {
    vertices.push_back({s.start, rrensen::Bulge(s)});
  }
  if (!outline.closed && !outline.segments.empty()) {
    vertices.push_back({outline.segments.back().end, 0.0});
  }
  return vertices;
}

FilletedPolyline FilletPolyline(std::vector<rrensen::Point> vertices,
                                bool closed, double size) {
  FilletedPolyline f;
  if (closed && vertices.size() >= 2 &&
      SamePoint(vertices.front(), vertices.back())) {
    vertices.pop_back();
  }
  f.points = vertices;
  // The first vertex again: the side back to it is a side, and with any
  // size above 0 the closing rule closes the outline and rounds the first
  // corner. At size 0 the outline stays open on the repeated point, and
  // the corner there is not rounded: at size 0 none is.
  if (closed && !vertices.empty()) f.points.push_back(vertices.front());
  f.outline = rrensen::FilletOutline(f.points, size);
  if (f.outline.result != rrensen::Result::kDrawn) return f;
  f.closed = closed || f.outline.closed;
  if (size == 0.0) {
    // Size 0 cuts nothing back: every arc has radius 0 at its corner point.
    // The library's tangent points are computed along the sides and may miss
    // the corner by a rounding error, so the vertices are kept as they are.
    std::vector<BulgeVertex> own;
    own.reserve(vertices.size());
    for (const rrensen::Point& p : vertices) own.push_back({p, 0.0});
    f.vertices = WithoutRepeatedPoints(own, f.closed);
    return f;
  }
  f.vertices = WithoutRepeatedPoints(BulgeVerticesOf(f.outline), f.closed);
  return f;
}

FilletRun FilletDrawing(std::string_view bytes,
                        const FilletSettings& settings) {
  FilletRun run;
  TagList list = ReadTags(bytes);
  if (!list.error.empty()) {
    run.error = list.error;
    run.error_line = list.error_line;
    return run;
  }
  Drawing drawing = ReadDrawing(list);
  if (!drawing.error.empty()) {
    run.error = drawing.error;
    run.error_line = drawing.error_line;
    return run;
  }
  Rewriter rewriter(bytes, list, drawing);
  // The new text of each polyline, by position in drawing.polylines; empty
  // for one that is copied.
  std::vector<std::string> new_entities(drawing.polylines.size());
  for (size_t k = 0; k < drawing.polylines.size(); ++k) {
    const Polyline& p = drawing.polylines[k];
    if (p.not_2d) continue;
    if (settings.layer && !SameLayer(*settings.layer, p.layer)) continue;
    const Tag& first = list.tags[p.first_tag];
    if (!p.unfit_reason.empty()) {
      ++run.left_unchanged;
      run.reports.push_back(Describe(p, first) +
                            " left unchanged: " + p.unfit_reason);
      continue;
    }
    FilletedPolyline f = FilletPolyline(p.vertices, p.closed, settings.size);
    if (f.outline.result != rrensen::Result::kDrawn) {
      ++run.left_unchanged;
      std::optional<double> largest =
          rrensen::LargestFilletSize(f.points, {}, kSizeLimit);
      run.reports.push_back(
          Describe(p, first) + " left unchanged: " +
          rrensen::Describe(f.outline.problem) + "; " +
          (largest ? "the largest size below 20 that draws it is " +
                         platform::FixedText(*largest, 3)
                   : std::string("no size below 20 draws it")));
      continue;
    }
    ++run.filleted;
    new_entities[k] = rewriter.Entity(p, f);
  }

  // The file again: the bytes before the first tag (a byte-order mark),
  // every tag as it was but the new polylines and $HANDSEED, and whatever
  // followed the last tag.
  std::string& out = run.output;
  out.reserve(bytes.size() + bytes.size() / 4);
  TagWriter writer(bytes, list, out);
  const std::vector<Tag>& tags = list.tags;
  out.append(bytes.substr(0, tags.empty() ? bytes.size() : tags[0].begin));
  size_t next_polyline = 0;
  for (size_t i = 0; i < tags.size();) {
    while (next_polyline < drawing.polylines.size() &&
           drawing.polylines[next_polyline].first_tag < i) {
      ++next_polyline;
    }
    if (next_polyline < drawing.polylines.size() &&
        drawing.polylines[next_polyline].first_tag == i &&
        !new_entities[next_polyline].empty()) {
      out.append(new_entities[next_polyline]);
      i = drawing.polylines[next_polyline].end_tag;
      continue;
    }
    if (drawing.has_handle_seed && i == drawing.handle_seed_tag &&
        rewriter.HandlesAdded()) {
      writer.CopyWithValue(tags[i], FormatHandle(rewriter.next_handle()));
    } else {
      writer.Copy(tags[i]);
    }
    ++i;
  }
  if (!tags.empty()) out.append(bytes.substr(tags.back().end));
  return run;
}

}  // namespace dxf
