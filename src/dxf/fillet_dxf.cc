#include "dxf/fillet_dxf.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "dxf/drawing.h"
#include "dxf/join.h"
#include "dxf/number_text.h"
#include "dxf/tag_reader.h"
#include "dxf/tag_writer.h"
#include "platform/ascii.h"
#include "platform/number_format.h"

namespace dxf {
namespace {

constexpr int kClosedFlag = 1;

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
  std::string Entity(const Polyline& p, const rrensen::PolylineResult& f) {
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

  /// The entity chain `c` becomes with the shape `f`, in the form `form`;
  /// `handle` gets its handle, or "" when its first piece had none (and so
  /// the file is one without handles) and the chain gets none.
  std::string ChainText(const Chain& c, const rrensen::PolylineResult& f,
                        ChainForm form, bool with_handles,
                        std::string& handle) {
    Chain shaped;
    shaped.attributes = c.attributes;
    shaped.closed = f.closed;
    shaped.vertices.reserve(f.vertices.size());
    for (const rrensen::BulgeVertex& v : f.vertices) {
      shaped.vertices.push_back({v.point, v.bulge});
    }
    handle = with_handles ? FormatHandle(next_handle_) : std::string();
    return ChainEntity(shaped, form, list_.layout,
                       with_handles ? &next_handle_ : nullptr);
  }

  /// True when new handles were given out.
  bool HandlesAdded() const {
    return next_handle_ != drawing_.next_free_handle;
  }
  uint64_t next_handle() const { return next_handle_; }

 private:
  void Lightweight(const Polyline& p, const rrensen::PolylineResult& f,
                   int flags, TagWriter& writer) {
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
        for (size_t k = 0; k < f.vertices.size(); ++k) {
          if (f.sources[k] >= 0) {
            CopyLightweightVertex(p, static_cast<size_t>(f.sources[k]), writer);
            continue;
          }
          const rrensen::BulgeVertex& v = f.vertices[k];
          writer.Add(10, FormatCoordinate(v.point.x));
          writer.Add(20, FormatCoordinate(v.point.y));
          if (v.bulge != 0.0) writer.Add(42, FormatCoordinate(v.bulge));
        }
      } else {
        writer.Copy(tag);
      }
    }
  }

  /// The vertex tags of old vertex `k` as they were: from its 10 to the
  /// next vertex's 10. A vertex starts outside any opaque part (a 10 inside
  /// one is no vertex), so a fresh tracker sees its tags right.
  void CopyLightweightVertex(const Polyline& p, size_t k, TagWriter& writer) {
    const size_t end =
        k + 1 < p.vertex_tags.size() ? p.vertex_tags[k + 1] : p.end_tag;
    OpaqueParts opaque;
    for (size_t i = p.vertex_tags[k]; i < end; ++i) {
      if (!opaque.Skip(tags_[i]) && IsLightweightVertexCode(tags_[i].code)) {
        writer.Copy(tags_[i]);
      }
    }
  }

  void VertexList(const Polyline& p, const rrensen::PolylineResult& f,
                  int flags, TagWriter& writer) {
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

    // The handles of the old vertices that are not kept, for the new ones.
    std::vector<bool> kept(p.vertex_tags.size(), false);
    for (int source : f.sources) {
      if (source >= 0) kept[static_cast<size_t>(source)] = true;
    }
    spare_handles_.clear();
    for (size_t k = 0; k < p.vertex_handles.size(); ++k) {
      if (!kept[k] && !p.vertex_handles[k].empty()) {
        spare_handles_.push_back(p.vertex_handles[k]);
      }
    }
    next_spare_ = 0;

    // A kept vertex is its old VERTEX entity, byte for byte. Every new
    // vertex is a copy of the first old one (its layer, colour, flags,
    // owner) with a new point, bulge and handle.
    const size_t template_begin = p.vertex_tags.front();
    const size_t template_end = VertexEnd(p, 0);
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
      if (f.sources[k] >= 0) {
        const auto old = static_cast<size_t>(f.sources[k]);
        for (size_t i = p.vertex_tags[old]; i < VertexEnd(p, old); ++i) {
          writer.Copy(tags_[i]);
        }
        continue;
      }
      const rrensen::BulgeVertex& v = f.vertices[k];
      OpaqueParts vertex_opaque;
      for (size_t i = template_begin; i < template_end; ++i) {
        const Tag& tag = tags_[i];
        // The entity's "0" tag and its opaque parts are copied as they are.
        const bool own = i != template_begin && !vertex_opaque.Skip(tag);
        if (own && tag.code == 5) {
          // Without $HANDSEED no handle can be known to be free.
          if (drawing_.has_handle_seed) writer.CopyWithValue(tag, NewHandle());
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

  /// One past the last tag of old VERTEX `k`.
  static size_t VertexEnd(const Polyline& p, size_t k) {
    return k + 1 < p.vertex_tags.size() ? p.vertex_tags[k + 1] : p.seqend_tag;
  }

  /// A handle for a new vertex: one of an old vertex that is gone, while
  /// there is one, then unused ones counted up from the seed.
  std::string NewHandle() {
    if (next_spare_ < spare_handles_.size()) return spare_handles_[next_spare_++];
    return FormatHandle(next_handle_++);
  }

  std::string_view bytes_;
  const TagList& list_;
  const std::vector<Tag>& tags_;
  const Drawing& drawing_;
  uint64_t next_handle_;
  std::vector<std::string> spare_handles_;
  size_t next_spare_ = 0;
};

/// "3 lines" or "1 arc".
std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

/// "LWPOLYLINE 2F on layer "walls" (line 12)", or for a chain "chain of 3
/// lines and 2 arcs from LINE 2A on layer "walls" (line 12)".
std::string Describe(const OutlineReport& r) {
  std::string text;
  if (r.kind == "chain") {
    int lines = 0;
    for (const EntityRef& part : r.parts) lines += part.type == "LINE" ? 1 : 0;
    const int arcs = static_cast<int>(r.parts.size()) - lines;
    text = "chain of ";
    if (lines > 0) text += Counted(lines, "line");
    if (lines > 0 && arcs > 0) text += " and ";
    if (arcs > 0) text += Counted(arcs, "arc");
    // The piece first in the file: the one on the line given.
    for (const EntityRef& part : r.parts) {
      if (part.line != r.line) continue;
      text += " from " + part.type;
      if (!part.handle.empty()) text += " " + part.handle;
    }
  } else {
    text = r.type;
    if (!r.handle.empty()) text += " " + r.handle;
  }
  return text + " on layer \"" + r.layer + "\" (line " +
         std::to_string(r.line) + ")";
}

/// The prose lines for standard error: one for a skipped polyline, one for
/// each refused run of the others.
void AddProse(const OutlineReport& r, std::vector<std::string>& lines) {
  const std::string what = Describe(r);
  if (r.status == OutlineStatus::kSkipped) {
    lines.push_back(what + " left unchanged: " + r.skip_reason);
    return;
  }
  // A polyline left unchanged for one run's sake needs no vertex range: all
  // else in it is arcs.
  const bool whole = r.status == OutlineStatus::kUnchanged &&
                     r.refused_runs.size() == 1;
  for (const RunReport& run : r.refused_runs) {
    std::string line = what;
    line += r.status == OutlineStatus::kPartly ? " partly filleted" : " left unchanged";
    if (!whole) {
      line += ": the run from point " + std::to_string(run.first_vertex + 1) +
              " to point " + std::to_string(run.last_vertex + 1) +
              " is left as it is";
    }
    line += ": " + rrensen::Describe(run.problem) + "; ";
    line += run.largest_size
                ? "the largest size that fillets it is " +
                      platform::FixedText(*run.largest_size, 3)
                : std::string("no size fillets it");
    lines.push_back(line);
  }
}

/// Whether `f` is `p` as it was: the same vertices, bit for bit, and the
/// same closing.
bool Unchanged(const Polyline& p, const rrensen::PolylineResult& f) {
  if (f.closed != p.closed || f.vertices.size() != p.vertices.size()) {
    return false;
  }
  for (size_t k = 0; k < f.sources.size(); ++k) {
    if (f.sources[k] != static_cast<int>(k)) return false;
  }
  return true;
}

/// Fillets the polyline through `vertices`, closed or not, as `settings`
/// say; `report` says what became of it.
rrensen::PolylineResult FilletOne(std::vector<rrensen::BulgeVertex> vertices,
                                  bool closed, const FilletSettings& settings,
                                  OutlineReport& report) {
  const bool was_closed = closed;
  if (ClosesByGap(vertices, closed, settings.close_gap)) {
    vertices.pop_back();
    closed = true;
  }
  rrensen::PolylineResult f = rrensen::FilletPolyline(
      vertices, {settings.size,
                 closed ? rrensen::Closing::kClosed : rrensen::Closing::kOpen,
                 settings.style});
  report.corners_filleted = f.corners_filleted;
  report.corners_left = f.corners_left;
  for (const rrensen::RefusedRun& run : f.refused_runs) {
    report.refused_runs.push_back(
        {run.first_vertex, run.last_vertex, run.problem, run.largest_size});
  }
  report.status = StatusOf(f);
  report.closed =
      report.status == OutlineStatus::kUnchanged ? was_closed : f.closed;
  return f;
}

/// The report's name of the entity a chain becomes.
const char* FormName(ChainForm form) {
  return form == ChainForm::kLightweight ? "LWPOLYLINE" : "POLYLINE";
}

/// Adds one to the counter of `status`.
void Tally(OutlineStatus status, int& filleted, int& partly, int& left) {
  switch (status) {
    case OutlineStatus::kFilleted: ++filleted; break;
    case OutlineStatus::kPartly: ++partly; break;
    case OutlineStatus::kUnchanged:
    case OutlineStatus::kSkipped: ++left; break;
  }
}

}  // namespace

bool ClosesByGap(const std::vector<rrensen::BulgeVertex>& vertices,
                 bool closed, const std::optional<double>& close_gap) {
  if (closed || !close_gap || vertices.size() < 3) return false;
  const rrensen::Point& first = vertices.front().point;
  const rrensen::Point& last = vertices.back().point;
  return std::hypot(last.x - first.x, last.y - first.y) <= *close_gap;
}

OutlineStatus StatusOf(const rrensen::PolylineResult& f) {
  if (f.refused_runs.empty()) return OutlineStatus::kFilleted;
  return f.corners_filleted > 0 ? OutlineStatus::kPartly
                                : OutlineStatus::kUnchanged;
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
  Drawing drawing = ReadDrawing(
      list, settings.join_gap ? DrawingPieces::kRead : DrawingPieces::kSkip);
  if (!drawing.error.empty()) {
    run.error = drawing.error;
    run.error_line = drawing.error_line;
    return run;
  }
  const std::vector<Tag>& tags = list.tags;
  std::vector<Piece>& pieces = drawing.pieces;
  std::vector<Chain> chains;
  std::optional<ChainForm> form;
  if (settings.join_gap) {
    // --layer limits joining too: the other layers' pieces chain nothing.
    if (settings.layer) {
      for (Piece& piece : pieces) {
        if (!SameLayer(*settings.layer, piece.attributes.layer)) {
          piece.unjoinable_reason = "it is on another layer";
        }
      }
    }
    chains = ChainPieces(pieces, *settings.join_gap);
    form = ChainFormFor(drawing.version);
  }

  Rewriter rewriter(bytes, list, drawing);
  // The new text of each polyline and chain, by position in
  // drawing.polylines and chains; empty for a polyline that is copied as it
  // was and for a chain left as its pieces.
  std::vector<std::string> new_entities(drawing.polylines.size());
  std::vector<std::string> chain_entities(chains.size());

  auto consider_polyline = [&](size_t k) {
    const Polyline& p = drawing.polylines[k];
    if (p.not_2d) return;
    if (settings.layer && !SameLayer(*settings.layer, p.layer)) return;
    const Tag& first = tags[p.first_tag];
    OutlineReport report;
    report.type = std::string(TrimBlanks(first.value));
    report.handle = p.handle;
    report.layer = p.layer;
    report.line = first.line;
    report.style = settings.style;
    report.closed = p.closed;
    if (!p.unfit_code.empty()) {
      report.status = OutlineStatus::kSkipped;
      report.skip_code = p.unfit_code;
      report.skip_reason = p.unfit_reason;
    } else {
      rrensen::PolylineResult f =
          FilletOne(p.vertices, p.closed, settings, report);
      if (report.status != OutlineStatus::kUnchanged && !Unchanged(p, f)) {
        new_entities[k] = rewriter.Entity(p, f);
        ++run.rewritten;
      }
    }
    Tally(report.status, run.filleted, run.partly, run.left_unchanged);
    AddProse(report, run.reports);
    run.outlines.push_back(std::move(report));
  };

  auto consider_chain = [&](size_t c) {
    const Chain& chain = chains[c];
    const Piece& first = pieces[chain.first_piece];
    OutlineReport report;
    report.kind = "chain";
    report.type = form ? FormName(*form) : "";
    report.layer = chain.attributes.layer;
    report.line = tags[first.first_tag].line;
    report.style = settings.style;
    report.closed = chain.closed;
    int lines = 0;
    for (const ChainLink& link : chain.links) {
      const Piece& piece = pieces[link.piece];
      const bool line = piece.kind == PieceKind::kLine;
      lines += line ? 1 : 0;
      report.parts.push_back(
          {line ? "LINE" : "ARC", piece.handle, tags[piece.first_tag].line});
    }
    if (!form) {
      report.status = OutlineStatus::kSkipped;
      report.skip_code = "version";
      report.skip_reason = std::string(
                               "lines and arcs are joined in R12 files and "
                               "in those from R14 on, not in version ") +
                           drawing.version;
    } else {
      std::vector<rrensen::BulgeVertex> vertices;
      vertices.reserve(chain.vertices.size());
      for (const ChainVertex& v : chain.vertices) {
        vertices.push_back({v.point, v.bulge});
      }
      rrensen::PolylineResult f =
          FilletOne(std::move(vertices), chain.closed, settings, report);
      // Nothing filleted: the pieces stay as they were, rather than change
      // into a polyline of the same shape.
      if (report.status != OutlineStatus::kUnchanged) {
        chain_entities[c] = rewriter.ChainText(
            chain, f, *form, !first.handle.empty(), report.handle);
        ++run.rewritten;
        ++run.joined_polylines;
        run.joined_lines += lines;
        run.joined_arcs += static_cast<int>(chain.links.size()) - lines;
      }
    }
    Tally(report.status, run.chains_filleted, run.chains_partly,
          run.chains_left);
    AddProse(report, run.reports);
    run.outlines.push_back(std::move(report));
  };

  // Polylines and chains in file order, a chain where its first piece is:
  // new handles are given out in that order.
  for (size_t k = 0, c = 0;
       k < drawing.polylines.size() || c < chains.size();) {
    if (c < chains.size() && (k == drawing.polylines.size() ||
                              pieces[chains[c].first_piece].first_tag <
                                  drawing.polylines[k].first_tag)) {
      consider_chain(c++);
    } else {
      consider_polyline(k++);
    }
  }

  // For each piece: the chain written in its place (its first piece) or
  // instead of it (the others); none for a piece that is copied.
  constexpr size_t kNoChain = SIZE_MAX;
  std::vector<size_t> chain_of_piece(pieces.size(), kNoChain);
  for (size_t c = 0; c < chains.size(); ++c) {
    if (chain_entities[c].empty()) continue;
    for (const ChainLink& link : chains[c].links) {
      chain_of_piece[link.piece] = c;
    }
  }

  // The file again: the bytes before the first tag (a byte-order mark),
  // every tag as it was but the new polylines, the joined pieces and
  // $HANDSEED, and whatever followed the last tag.
  std::string& out = run.output;
  out.reserve(bytes.size() + bytes.size() / 4);
  TagWriter writer(bytes, list, out);
  out.append(bytes.substr(0, tags.empty() ? bytes.size() : tags[0].begin));
  size_t next_polyline = 0;
  size_t next_piece = 0;
  for (size_t i = 0; i < tags.size();) {
    while (next_polyline < drawing.polylines.size() &&
           drawing.polylines[next_polyline].first_tag < i) {
      ++next_polyline;
    }
    while (next_piece < pieces.size() && pieces[next_piece].first_tag < i) {
      ++next_piece;
    }
    if (next_polyline < drawing.polylines.size() &&
        drawing.polylines[next_polyline].first_tag == i &&
        !new_entities[next_polyline].empty()) {
      out.append(new_entities[next_polyline]);
      i = drawing.polylines[next_polyline].end_tag;
      continue;
    }
    if (next_piece < pieces.size() && pieces[next_piece].first_tag == i &&
        chain_of_piece[next_piece] != kNoChain) {
      const size_t c = chain_of_piece[next_piece];
      if (chains[c].first_piece == next_piece) out.append(chain_entities[c]);
      i = pieces[next_piece].end_tag;
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
