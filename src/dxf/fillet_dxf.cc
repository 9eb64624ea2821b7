#include "dxf/fillet_dxf.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "dxf/drawing.h"
#include "dxf/join.h"
#include "dxf/nesting.h"
#include "dxf/number_text.h"
#include "dxf/tag_reader.h"
#include "dxf/tag_writer.h"
#include "geometry/fillet_rules.h"
#include "platform/ascii.h"
#include "platform/number_format.h"

namespace dxf {
namespace {

constexpr int kClosedFlag = 1;

/// Writes tags: copies of the input's, the input's with a new value, and
/// new ones laid out like the file's.
class TagWriter {
 public:
  TagWriter(const TagWindow& window, std::string& out)
      : window_(window), out_(out) {}

  void Copy(const Tag& tag) { out_.append(window_.Bytes(tag.begin, tag.end)); }

  void CopyWithValue(const Tag& tag, std::string_view value) {
    out_.append(window_.Bytes(tag.begin, tag.value_begin));
    out_.append(value);
    std::string_view line_end = window_.Bytes(tag.value_text_end, tag.end);
    out_.append(line_end.empty() ? std::string_view(window_.layout().line_end)
                                 : line_end);
  }

  void Add(int code, std::string_view value) {
    AppendTag(out_, window_.layout(), code, value);
  }

  void AddCoordinate(int code, double value) {
    AppendCoordinateTag(out_, window_.layout(), code, value);
  }

 private:
  const TagWindow& window_;
  std::string& out_;
};

bool IsLightweightVertexCode(int code) {
  return code == 10 || code == 20 || code == 40 || code == 41 || code == 42 ||
         code == 91;
}

/// Writes polylines with new vertices, and the entities of chains; gives
/// out new handles, counting up.
class Rewriter {
 public:
  /// `with_seed`: whether the file has $HANDSEED, without which a new
  /// vertex of the vertex-list form gets no handle; `next_handle`: the
  /// first free handle.
  Rewriter(const TagWindow& window, bool with_seed, uint64_t next_handle)
      : window_(window), with_seed_(with_seed), next_handle_(next_handle) {}

  /// Appends the entity `p` with the shape `f` to `out`.
  void Entity(const Polyline& p, const rrensen::PolylineResult& f,
              std::string& out) {
    TagWriter writer(window_, out);
    int flags = f.closed ? (p.flags | kClosedFlag) : (p.flags & ~kClosedFlag);
    if (p.form == PolylineForm::kLightweight) {
      Lightweight(p, f, flags, writer);
    } else {
      VertexList(p, f, flags, writer);
    }
  }

  /// Appends the entity of chain `shaped` (its vertices filleted) in the
  /// form `form` to `out`; `handle` gets its handle, or "" when its first
  /// piece had none (and so the file is one without handles) and the chain
  /// gets none.
  void Chain(const dxf::Chain& shaped, ChainForm form, bool with_handles,
             std::string& handle, std::string& out) {
    handle = with_handles ? FormatHandle(next_handle_) : std::string();
    out += ChainEntity(shaped, form, window_.layout(),
                       with_handles ? &next_handle_ : nullptr);
  }

  /// The first handle not given out.
  uint64_t next_handle() const { return next_handle_; }

 private:
  void Lightweight(const Polyline& p, const rrensen::PolylineResult& f,
                   int flags, TagWriter& writer) {
    bool has_count = false;
    {
      OpaqueParts opaque;
      for (size_t i = p.first_tag + 1; i < p.end_tag; ++i) {
        if (!opaque.Skip(window_[i]) && window_[i].code == 90) has_count = true;
      }
    }
    const std::string count = std::to_string(f.vertices.size());
    const std::string flag_text = std::to_string(flags);
    writer.Copy(window_[p.first_tag]);
    OpaqueParts opaque;
    bool vertices_written = false;
    for (size_t i = p.first_tag + 1; i < p.end_tag; ++i) {
      const Tag& tag = window_[i];
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
          writer.AddCoordinate(10, v.point.x);
          writer.AddCoordinate(20, v.point.y);
          if (v.bulge != 0.0) writer.AddCoordinate(42, v.bulge);
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
      if (!opaque.Skip(window_[i]) && IsLightweightVertexCode(window_[i].code)) {
        writer.Copy(window_[i]);
      }
    }
  }

  void VertexList(const Polyline& p, const rrensen::PolylineResult& f,
                  int flags, TagWriter& writer) {
    const size_t header_end = p.vertex_tags.front();
    OpaqueParts opaque;
    for (size_t i = p.first_tag; i < header_end; ++i) {
      const Tag& tag = window_[i];
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
        int code = window_[i].code;
        if (!template_opaque.Skip(window_[i]) &&
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
          writer.Copy(window_[i]);
        }
        continue;
      }
      const rrensen::BulgeVertex& v = f.vertices[k];
      OpaqueParts vertex_opaque;
      for (size_t i = template_begin; i < template_end; ++i) {
        const Tag& tag = window_[i];
        // The entity's "0" tag and its opaque parts are copied as they are.
        const bool own = i != template_begin && !vertex_opaque.Skip(tag);
        if (own && tag.code == 5) {
          // Without $HANDSEED no handle can be known to be free.
          if (with_seed_) writer.CopyWithValue(tag, NewHandle());
        } else if (own && tag.code == 10) {
          writer.CopyWithValue(tag, FormatCoordinate(v.point.x));
        } else if (own && tag.code == 20) {
          writer.CopyWithValue(tag, FormatCoordinate(v.point.y));
        } else if (!own || tag.code != 42) {
          writer.Copy(tag);
        }
        if (i == bulge_after && v.bulge != 0.0) writer.AddCoordinate(42, v.bulge);
      }
    }
    for (size_t i = p.seqend_tag; i < p.end_tag; ++i) writer.Copy(window_[i]);
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

  const TagWindow& window_;
  bool with_seed_;
  uint64_t next_handle_;
  std::vector<std::string> spare_handles_;
  size_t next_spare_ = 0;
};

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

constexpr size_t kNoChain = SIZE_MAX;

/// Sends the bytes it is given nowhere.
class NoSink : public ByteSink {
 public:
  void Write(std::string_view /*bytes*/) override {}
};

/// Keeps what a run finds, for FilletDrawing.
class Collector : public RunListener {
 public:
  explicit Collector(FilletRun& run) : run_(run) {}
  void OnOutline(const OutlineReport& report) override {
    run_.outlines.push_back(report);
    for (std::string& line : Prose(report)) run_.reports.push_back(std::move(line));
  }

 private:
  FilletRun& run_;
};

}  // namespace

/// What the survey found, for the writing.
struct FilletPlan {
  Settings settings;
  std::string error;
  int error_line = 0;
  /// The file's version, $HANDSEED, the first free handle.
  Drawing drawing;
  /// With --join: the model-space lines and arcs in file order, their
  /// chains, the form the chains take (none in an R13 file), and for each
  /// chain its report (its parts aside) and the vertices and closing of the
  /// polyline written for it (none when it is left as its pieces).
  std::vector<Piece> pieces;
  std::vector<Chain> chains;
  std::optional<ChainForm> form;
  std::vector<OutlineReport> chain_reports;
  /// For each piece, its chain; kNoChain for none.
  std::vector<size_t> chain_of_piece;
  /// How many new handles the writing gives out, and the value $HANDSEED
  /// then takes.
  uint64_t new_handles = 0;
  /// Whether the survey keeps the vertex-list polylines' plans, and those
  /// it kept, in file order.
  bool keep_plans = false;
  std::vector<PolylinePlan> kept;
  /// With keep_plans, the plans of the lightweight polylines of
  /// kLongPolyline vertices or more, by their first tag: the writing holds
  /// the tags of those it rewrites only.
  std::map<size_t, PolylinePlan> kept_long;
  bool surveyed = false;
  size_t chunk = 0;  ///< bytes read at a time
  /// The tags the survey's scan read, which the writing's must read too.
  size_t tags = 0;
  /// For reliefs, after Nest: whether each polyline with an inside
  /// (HasInside), in file order, and each chain is a hole.
  std::vector<bool> holes;
  std::vector<bool> chain_holes;
  /// Threads for the lightweight polylines of a run in one pass; none for
  /// one thread.
  Workers* workers = nullptr;
};

namespace {

/// The settings each polyline is planned with, in file order: for reliefs,
/// with the cutter's side of each polyline that has an inside, outside a
/// part and inside a hole, as Nest found it.
class SettingsByPlace {
 public:
  explicit SettingsByPlace(const FilletPlan& plan) : plan_(plan) {}
  const Settings& For(const Polyline& p) {
    const Settings& given = plan_.settings;
    if (!geometry::IsRelief(given.style) || !HasInside(p, given)) return given;
    settings_ = given;
    const bool hole = next_ < plan_.holes.size() && plan_.holes[next_];
    ++next_;
    settings_.tool_side = hole ? rrensen::ToolSide::kInside : rrensen::ToolSide::kOutside;
    return settings_;
  }

 private:
  const FilletPlan& plan_;
  Settings settings_;
  size_t next_ = 0;
};

/// The chains of `pieces` as `settings` join them: --layer limits joining
/// too, the other layers' pieces chain nothing.
std::vector<Chain> ChainsFor(std::vector<Piece>& pieces, const Settings& settings) {
  if (settings.layer) {
    for (Piece& piece : pieces) {
      if (!platform::EqualIgnoringCase(*settings.layer, piece.attributes.layer)) {
        piece.unjoinable_reason = "it is on another layer";
      }
    }
  }
  return ChainPieces(pieces, *settings.join_gap);
}

/// The first pass for reliefs: the outlines with an inside, and with
/// --join the pieces to chain.
class Nester : public DrawingVisitor {
 public:
  explicit Nester(const Settings& settings) : settings_(settings) {}
  void OnBoundary(size_t /*next*/) override {}
  bool WantsLightweightTags(size_t /*first_tag*/) const override { return false; }
  void OnPolyline(Polyline& p) override {
    if (!HasInside(p, settings_)) return;
    outlines.push_back(InsideVertices(p));
  }
  void OnPiece(Piece& piece) override { pieces.push_back(std::move(piece)); }

  std::vector<std::vector<rrensen::BulgeVertex>> outlines;
  std::vector<Piece> pieces;

 private:
  const Settings& settings_;
};

/// A lightweight polyline of this many vertices or more is planned by the
/// survey when it keeps plans, so that the writing holds its tags only to
/// rewrite it (a refused one of 10^6 vertices is copied as its bytes).
constexpr size_t kLongPolyline = 4096;

/// The first pass's visitor: counts the handles that rewriting the
/// vertex-list polylines takes, and keeps the pieces.
class Surveyor : public DrawingVisitor {
 public:
  Surveyor(const TagWindow& window, FilletPlan& plan)
      : plan_(plan),
        by_place_(plan),
        // Counted as if the file had $HANDSEED, which may come after its
        // entities; the writing knows.
        rewriter_(window, true, 0) {}

  void OnBoundary(size_t /*next*/) override {}

  /// The survey plans vertex-list polylines, and long lightweight ones
  /// when it keeps plans: for those, values are all it needs.
  bool WantsLightweightTags(size_t /*first_tag*/) const override {
    return false;
  }

  void OnPolyline(Polyline& p) override {
    if (!Considered(p, plan_.settings)) return;
    const Settings& settings = by_place_.For(p);
    if (p.form == PolylineForm::kLightweight) {
      if (plan_.keep_plans && p.vertices.size() >= kLongPolyline) {
        plan_.kept_long[p.first_tag] = PlanPolyline(p, settings);
      }
      return;
    }
    // Only the vertex-list form's new vertices take handles.
    PolylinePlan plan = PlanPolyline(p, settings);
    if (plan.rewritten) {
      scratch_.clear();
      rewriter_.Entity(p, plan.result, scratch_);
    }
    if (plan_.keep_plans) plan_.kept.push_back(std::move(plan));
  }

  void OnPiece(Piece& piece) override { plan_.pieces.push_back(std::move(piece)); }

  /// The handles the polylines' new vertices take.
  uint64_t handles() const { return rewriter_.next_handle(); }

 private:
  FilletPlan& plan_;
  SettingsByPlace by_place_;
  Rewriter rewriter_;
  std::string scratch_;
};

/// Chains the pieces and fillets each chain, as `plan` says; counts the
/// chains' handles.
void PlanChains(FilletPlan& plan) {
  std::vector<Piece>& pieces = plan.pieces;
  plan.chains = ChainsFor(pieces, plan.settings);
  plan.form = ChainFormFor(plan.drawing.version);
  plan.chain_of_piece.assign(pieces.size(), kNoChain);
  plan.chain_reports.resize(plan.chains.size());
  for (size_t c = 0; c < plan.chains.size(); ++c) {
    Chain& chain = plan.chains[c];
    for (const ChainLink& link : chain.links) plan.chain_of_piece[link.piece] = c;
    OutlineReport& report = plan.chain_reports[c];
    report.kind = "chain";
    report.type = plan.form ? FormName(*plan.form) : "";
    report.style = plan.settings.style;
    report.layer = chain.attributes.layer;
    report.line = pieces[chain.first_piece].line;
    report.closed = chain.closed;
    if (!plan.form) {
      report.status = OutlineStatus::kSkipped;
      report.skip_code = "version";
      report.skip_reason = std::string(
                               "lines and arcs are joined in R12 files and "
                               "in those from R14 on, not in version ") +
                           plan.drawing.version;
      chain.vertices.clear();
      continue;
    }
    std::vector<rrensen::BulgeVertex> vertices;
    vertices.reserve(chain.vertices.size());
    for (const ChainVertex& v : chain.vertices) {
      vertices.push_back({v.point, v.bulge});
    }
    Settings settings = plan.settings;
    if (c < plan.chain_holes.size() && plan.chain_holes[c]) {
      settings.tool_side = rrensen::ToolSide::kInside;
    }
    rrensen::PolylineResult f =
        PlanOutline(vertices, chain.closed, settings, report);
    // The chain keeps, in its vertices, the shape written for it; none when
    // nothing of it was filleted and its pieces stay as they were, rather
    // than change into a polyline of the same shape.
    chain.vertices.clear();
    chain.vertices.shrink_to_fit();
    if (report.status == OutlineStatus::kUnchanged) continue;
    chain.closed = f.closed;
    for (const rrensen::BulgeVertex& v : f.vertices) {
      chain.vertices.push_back({v.point, v.bulge});
    }
    if (!pieces[chain.first_piece].handle.empty()) {
      plan.new_handles += *plan.form == ChainForm::kLightweight
                              ? 1
                              : chain.vertices.size() + 2;  // and SEQEND
    }
  }
}

/// A run of a drawing's bytes with lightweight polylines among them, read,
/// planned and written on some thread: it holds a copy of the bytes, and
/// gives the bytes to write for the run and what became of each polyline
/// (or that one does not read).
class PolylineBatch : public Work {
 public:
  PolylineBatch(const TagLayout& layout, const Settings& settings)
      : layout_(layout), settings_(settings) {}

  /// Empties it for another batch, its memory kept.
  void Clear() {
    items_.clear();
    bytes_.clear();
    text_.clear();
    rewritten_ = 0;
    reports_.clear();
    failed_ = false;
  }

  /// `before`, written as it is, then the LWPOLYLINE whose bytes are
  /// `polyline`, unread, its "0" on line `line` of the drawing.
  void Add(std::string_view before, std::string_view polyline, int line) {
    Item& item = items_.emplace_back();
    item.begin = bytes_.size();
    bytes_.append(before);
    item.polyline_begin = bytes_.size();
    bytes_.append(polyline);
    item.end = bytes_.size();
    item.line = line;
  }

  size_t polylines() const { return items_.size(); }

  void Run() override {
    const std::string_view all = bytes_;
    for (const Item& item : items_) {
      text_ += all.substr(item.begin, item.polyline_begin - item.begin);
      const std::string_view bytes =
          all.substr(item.polyline_begin, item.end - item.polyline_begin);
      // Read as the scan reads it (into the tags of the one before, whose
      // memory is used again), laid out as the drawing's first tag is (new
      // tags follow that layout).
      ReadTags(bytes, list_);
      list_.layout = layout_;
      TagWindow window(list_, bytes);
      LightweightRead read;
      if (list_.error.empty()) read = ReadLightweightAt(window, 0);
      if (!list_.error.empty() || !read.error.empty()) {
        failed_ = true;  // the two passes say why
        return;
      }
      Polyline& p = read.polyline;
      p.line = item.line;
      if (!Considered(p, settings_)) {
        text_ += bytes;
        continue;
      }
      PolylinePlan plan = PlanPolyline(p, settings_);
      if (plan.rewritten) {
        // The lightweight form gives out no handles.
        Rewriter(window, false, 0).Entity(p, plan.result, text_);
        ++rewritten_;
      } else {
        text_ += bytes;
      }
      reports_.push_back(std::move(plan.report));
    }
  }

  /// After Run: whether every polyline read; the bytes to write, how many
  /// polylines are new, and what became of each considered.
  bool failed() const { return failed_; }
  const std::string& text() const { return text_; }
  int rewritten() const { return rewritten_; }
  const std::vector<OutlineReport>& reports() const { return reports_; }

 private:
  /// Bytes [begin, polyline_begin) written as they are, then the
  /// polyline's, [polyline_begin, end).
  struct Item {
    size_t begin = 0;
    size_t polyline_begin = 0;
    size_t end = 0;
    int line = 0;
  };

  TagLayout layout_;
  const Settings& settings_;
  TagList list_;  ///< the tags of the polyline being read
  std::vector<Item> items_;
  std::string bytes_;
  std::string text_;
  int rewritten_ = 0;
  std::vector<OutlineReport> reports_;
  bool failed_ = false;
};

/// How many tags after an LWPOLYLINE's "0" the writing in one pass looks
/// at for its vertex count (group code 90, which comes before the
/// vertices).
constexpr size_t kCountWithin = 32;

/// The second pass's visitor: writes the file, entity by entity. Or, `at_once`
/// (with no survey), the one pass over a file that needs none: it stops at
/// the first entity that needs one (Stops), a vertex-list polyline that is
/// rewritten (its new vertices take handles) or a lightweight polyline that
/// says it has kLongPolyline vertices or more (which the survey plans from
/// its values alone, holding none of its tags); and when its listener is
/// full.
class Writer : public DrawingVisitor {
 public:
  Writer(TagWindow& window, const FilletPlan& plan, ByteSink& sink,
         RunListener& listener, FilletRun& run, bool at_once = false)
      : window_(window),
        plan_(plan),
        sink_(sink),
        listener_(listener),
        run_(run),
        rewriter_(window, plan.drawing.has_handle_seed,
                  plan.drawing.next_free_handle),
        by_place_(plan),
        at_once_(at_once),
        workers_(at_once ? plan.workers : nullptr) {
    out_.reserve(2 * kFlushBytes);
  }

  /// Work queued is waited for: it must not outlive the writer's queue.
  ~Writer() override { WaitForQueued(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool Stops() const override {
    return stops_ || (at_once_ && listener_.Full());
  }

  /// Whether a polyline the workers read did not read: the one pass is
  /// of no use.
  bool Failed() const { return failed_; }

  void OnBoundary(size_t next) override { CopyTo(window_[next].begin); }

  /// A long polyline the survey planned is copied as its bytes unless it is
  /// rewritten: its tags need not be held.
  bool WantsLightweightTags(size_t first_tag) const override {
    if (at_once_) {
      stops_ = SaysItIsLong(first_tag);
      return !stops_;
    }
    const auto found = plan_.kept_long.find(first_tag);
    return found == plan_.kept_long.end() || found->second.rewritten;
  }

  void OnPolyline(Polyline& p) override {
    if (!Considered(p, plan_.settings)) return;
    const Settings& settings = by_place_.For(p);
    if (at_once_ && p.form == PolylineForm::kVertexList) {
      FinishQueued();  // told of in file order
      PolylinePlan plan = PlanPolyline(p, settings);
      if (plan.rewritten) {
        stops_ = true;
        return;
      }
      Tally(plan.report.status, run_.filleted, run_.partly, run_.left_unchanged);
      listener_.OnOutline(plan.report);
      return;
    }
    PolylinePlan planned;
    const PolylinePlan* kept = nullptr;
    if (plan_.keep_plans && p.form == PolylineForm::kVertexList) {
      if (next_kept_ >= plan_.kept.size()) {
        changed_ = true;  // more vertex-list polylines than the survey saw
        return;
      }
      kept = &plan_.kept[next_kept_++];
    }
    if (p.form == PolylineForm::kLightweight) {
      const auto found = plan_.kept_long.find(p.first_tag);
      if (found != plan_.kept_long.end()) kept = &found->second;
    }
    if (kept == nullptr) planned = PlanPolyline(p, settings);
    const PolylinePlan& plan = kept != nullptr ? *kept : planned;
    if (plan.rewritten) {
      CopyTo(window_[p.first_tag].begin);
      rewriter_.Entity(p, plan.result, out_);
      Skip(p.end_tag);
      ++run_.rewritten;
    }
    Tally(plan.report.status, run_.filleted, run_.partly, run_.left_unchanged);
    listener_.OnOutline(plan.report);
  }

  void OnPiece(Piece& piece) override {
    const size_t k = next_piece_++;
    if (k >= plan_.chain_of_piece.size()) return;
    const size_t c = plan_.chain_of_piece[k];
    if (c == kNoChain) return;
    const Chain& chain = plan_.chains[c];
    const bool written = !chain.vertices.empty();
    if (chain.first_piece == k) {
      report_ = plan_.chain_reports[c];
      int lines = 0;
      for (const ChainLink& link : chain.links) {
        const Piece& part = plan_.pieces[link.piece];
        const bool line = part.kind == PieceKind::kLine;
        lines += line ? 1 : 0;
        report_.parts.push_back({line ? "LINE" : "ARC", part.handle, part.line});
      }
      if (written) {
        CopyTo(window_[piece.first_tag].begin);
        rewriter_.Chain(chain, *plan_.form, !piece.handle.empty(),
                        report_.handle, out_);
        ++run_.rewritten;
        ++run_.joined_polylines;
        run_.joined_lines += lines;
        run_.joined_arcs += static_cast<int>(chain.links.size()) - lines;
      }
      Tally(report_.status, run_.chains_filleted, run_.chains_partly,
            run_.chains_left);
      listener_.OnOutline(report_);
    }
    // A written chain's pieces go: the first gave its place.
    if (written) {
      CopyTo(window_[piece.first_tag].begin);
      Skip(piece.end_tag);
    }
  }

  /// After the last tag: the rest of the input as it was.
  void Finish(TagStream& stream) {
    FinishQueued();
    Flush();
    stream.CopyRest(copied_, sink_);
  }

  /// Whether the writing met the file the survey saw: the handles given
  /// out are those it counted, and the polylines whose plans it kept.
  bool AsSurveyed() const {
    return !changed_ && next_kept_ == plan_.kept.size() &&
           rewriter_.next_handle() ==
               plan_.drawing.next_free_handle + plan_.new_handles;
  }

 private:
  static constexpr size_t kFlushBytes = size_t{1} << 18;
  /// Polylines given to the workers at a time, and batches queued at
  /// most; beyond, this thread runs them too.
  static constexpr size_t kBatchPolylines = 64;
  static constexpr size_t kMostQueued = 8;

  /// With workers, every lightweight polyline but a long one (which stops
  /// the pass) and but with reliefs (whose settings depend on the
  /// polylines before) is read by them.
  bool ReadsLightweightLater(size_t first_tag) const override {
    return workers_ != nullptr && !geometry::IsRelief(plan_.settings.style) &&
           !SaysItIsLong(first_tag);
  }

  /// Queues the LWPOLYLINE of tags [first_tag, end_tag) for the workers,
  /// after the bytes before it, in batches of kBatchPolylines; writes and
  /// tells of those run, in file order.
  void OnUnreadLightweight(size_t first_tag, size_t end_tag) override {
    const Tag& first = window_[first_tag];
    CopyTo(first.begin);
    if (!filling_) {
      if (spare_batches_.empty()) {
        filling_ =
            std::make_unique<PolylineBatch>(window_.layout(), plan_.settings);
      } else {
        filling_ = std::move(spare_batches_.back());
        spare_batches_.pop_back();
        filling_->Clear();
      }
    }
    filling_->Add(out_, window_.Bytes(first.begin, window_[end_tag - 1].end),
                  first.line);
    out_.clear();
    Skip(end_tag);
    if (!filling_ || filling_->polylines() < kBatchPolylines) return;
    StartFilling();
    KeepQueueShort();
  }

  void StartFilling() {
    workers_->Start(*filling_);
    queued_.push_back({std::move(filling_), {}});
  }

  /// Writes what has run, and past kMostQueued batches runs or waits for
  /// the first.
  void KeepQueueShort() {
    WriteFinished();
    while (queued_.size() > kMostQueued) {
      if (!workers_->RunOne()) workers_->Wait(*queued_.front().batch);
      WriteFinished();
    }
  }

  /// Writes what is queued up to the first batch that has not run, and
  /// tells of the polylines written.
  void WriteFinished() {
    while (!queued_.empty()) {
      Queued& first = queued_.front();
      if (!first.batch) {
        WriteWritten();
        sink_.Write(first.bytes);
        spare_ = std::move(first.bytes);
        queued_.pop_front();
        continue;
      }
      if (failed_ || !workers_->Finished(*first.batch)) return;
      const PolylineBatch& batch = *first.batch;
      if (batch.failed()) {
        failed_ = true;
        stops_ = true;
        return;
      }
      written_ += batch.text();
      run_.rewritten += batch.rewritten();
      for (const OutlineReport& report : batch.reports()) {
        Tally(report.status, run_.filleted, run_.partly, run_.left_unchanged);
        listener_.OnOutline(report);
      }
      spare_batches_.push_back(std::move(first.batch));
      queued_.pop_front();
      if (written_.size() >= kFlushBytes) WriteWritten();
    }
  }

  void WriteWritten() {
    if (written_.empty()) return;
    sink_.Write(written_);
    written_.clear();
  }

  /// Waits for every queued polyline and writes it.
  void FinishQueued() {
    if (filling_) StartFilling();
    WaitForQueued();
    WriteFinished();
  }

  void WaitForQueued() {
    for (const Queued& queued : queued_) {
      if (queued.batch) workers_->Wait(*queued.batch);
    }
  }

  /// Whether the LWPOLYLINE at `first_tag` says, before its vertices, that
  /// it has kLongPolyline vertices or more.
  bool SaysItIsLong(size_t first_tag) const {
    for (size_t i = first_tag + 1;
         i <= first_tag + kCountWithin && window_.Has(i); ++i) {
      const Tag& tag = window_[i];
      if (tag.code == 0 || tag.code == 10) return false;
      int count = 0;
      if (tag.code == 90 && ParseInteger(tag.value, count)) {
        return static_cast<size_t>(count) >= kLongPolyline;
      }
    }
    return false;
  }

  /// Copies the input's bytes up to `offset`, $HANDSEED's value replaced
  /// when new handles were given out.
  void CopyTo(size_t offset) {
    if (offset <= copied_) return;
    const Drawing& d = plan_.drawing;
    const Tag& seed = d.handle_seed;
    if (d.has_handle_seed && plan_.new_handles > 0 && seed.begin >= copied_ &&
        seed.end <= offset) {
      out_.append(window_.Bytes(copied_, seed.value_begin));
      out_.append(
          FormatHandle(d.next_free_handle + plan_.new_handles));
      const std::string_view line_end =
          window_.Bytes(seed.value_text_end, seed.end);
      out_.append(line_end.empty() ? std::string_view(window_.layout().line_end)
                                   : line_end);
      copied_ = seed.end;
    }
    if (offset - copied_ >= kFlushBytes) {
      // A large run of bytes, a huge entity's: written as it lies.
      FinishQueued();
      Flush();
      sink_.Write(window_.Bytes(copied_, offset));
    } else {
      out_.append(window_.Bytes(copied_, offset));
    }
    copied_ = offset;
    if (out_.size() >= kFlushBytes) Flush();
  }

  /// The entity that ends before tag `end` is not copied.
  void Skip(size_t end) {
    copied_ = window_[end - 1].end;
    if (out_.size() >= kFlushBytes) Flush();
  }

  /// Gives what is written to the sink, or to the queue after the
  /// polylines queued.
  void Flush() {
    if (filling_ || !queued_.empty()) {
      // After the polylines queued, in a buffer of its own.
      if (filling_) StartFilling();
      std::string next;
      next.swap(spare_);
      next.clear();
      next.reserve(2 * kFlushBytes);
      queued_.push_back({nullptr, std::move(out_)});
      out_ = std::move(next);
      KeepQueueShort();
      return;
    }
    WriteWritten();
    sink_.Write(out_);
    out_.clear();
  }

  TagWindow& window_;
  const FilletPlan& plan_;
  ByteSink& sink_;
  RunListener& listener_;
  FilletRun& run_;
  Rewriter rewriter_;
  std::string out_;     ///< written, not yet given to the sink
  size_t copied_ = 0;   ///< the input's bytes before this are done with
  size_t next_piece_ = 0;
  size_t next_kept_ = 0;  ///< the next of the survey's plans
  bool changed_ = false;
  OutlineReport report_;
  SettingsByPlace by_place_;
  bool at_once_;
  mutable bool stops_ = false;
  Workers* workers_;
  /// What is written after what came before: a batch of polylines given to
  /// the workers, or (with none) bytes as they are.
  struct Queued {
    std::unique_ptr<PolylineBatch> batch;
    std::string bytes;
  };
  /// Polylines for the workers: a batch being filled, and what is queued
  /// behind those started.
  std::unique_ptr<PolylineBatch> filling_;
  std::deque<Queued> queued_;
  /// A polyline the workers read did not read: the pass is stopped.
  bool failed_ = false;
  std::string spare_;  ///< a buffer written out, for out_ again
  /// Batches written out, for batches again.
  std::vector<std::unique_ptr<PolylineBatch>> spare_batches_;
  std::string written_;  ///< run and in order, not yet given to the sink
};


}  // namespace

FilletJob::FilletJob(const Settings& settings, size_t chunk, bool keep_plans,
                     Workers* workers)
    : plan_(std::make_unique<FilletPlan>()) {
  plan_->settings = settings;
  plan_->chunk = chunk;
  plan_->keep_plans = keep_plans;
  plan_->workers = workers;
}

FilletJob::~FilletJob() = default;

const std::string& FilletJob::error() const { return plan_->error; }
int FilletJob::error_line() const { return plan_->error_line; }

bool FilletJob::Nest(std::string_view bytes) {
  TagStream stream(bytes);
  return Nest(stream);
}

bool FilletJob::Nest(ByteSource& source) {
  TagStream stream(source, plan_->chunk);
  return Nest(stream);
}

bool FilletJob::Nest(TagStream& stream) {
  FilletPlan& plan = *plan_;
  TagWindow window(stream);
  Nester nester(plan.settings);
  const bool join = plan.settings.join_gap.has_value();
  const Drawing drawing = ScanDrawing(
      window, join ? DrawingPieces::kRead : DrawingPieces::kSkip, nester);
  if (!drawing.error.empty() || !stream.error().empty()) return false;
  // The chains' outlines count as the polylines' do.
  std::vector<std::vector<rrensen::BulgeVertex>>& outlines = nester.outlines;
  const size_t polylines = outlines.size();
  std::vector<size_t> closed_chains;
  if (join) {
    const std::vector<Chain> chains = ChainsFor(nester.pieces, plan.settings);
    for (size_t c = 0; c < chains.size(); ++c) {
      if (!chains[c].closed) continue;
      closed_chains.push_back(c);
      outlines.emplace_back();
      for (const ChainVertex& v : chains[c].vertices) {
        outlines.back().push_back({v.point, v.bulge});
      }
    }
    plan.chain_holes.assign(chains.size(), false);
  }
  const std::vector<bool> holes = Holes(outlines);
  plan.holes.assign(holes.begin(), holes.begin() + static_cast<std::ptrdiff_t>(polylines));
  for (size_t k = 0; k < closed_chains.size(); ++k) {
    plan.chain_holes[closed_chains[k]] = holes[polylines + k];
  }
  return true;
}

bool FilletJob::Survey(ByteSource& source) {
  TagStream stream(source, plan_->chunk);
  return Survey(stream);
}

bool FilletJob::Survey(std::string_view bytes) {
  TagStream stream(bytes);
  return Survey(stream);
}

bool FilletJob::Survey(TagStream& stream) {
  FilletPlan& plan = *plan_;
  TagWindow window(stream);
  Surveyor surveyor(window, plan);
  const bool join = plan.settings.join_gap.has_value();
  plan.drawing = ScanDrawing(
      window, join ? DrawingPieces::kRead : DrawingPieces::kSkip, surveyor);
  plan.tags = window.count();
  // The tags after where the scan stopped must read too: a fault in the
  // tags is the one named, wherever it lies.
  Tag tag;
  while (stream.Next(tag)) stream.Release(tag.end);
  if (!stream.error().empty()) {
    plan.error = stream.error();
    plan.error_line = stream.error_line();
    return false;
  }
  if (!plan.drawing.error.empty()) {
    plan.error = plan.drawing.error;
    plan.error_line = plan.drawing.error_line;
    return false;
  }
  if (plan.drawing.has_handle_seed) plan.new_handles = surveyor.handles();
  if (join) PlanChains(plan);
  plan.surveyed = true;
  return true;
}

bool FilletJob::MayWriteAtOnce() const { return !plan_->settings.join_gap; }

std::optional<FilletRun> FilletJob::WriteAtOnce(std::string_view bytes,
                                               ByteSink* sink,
                                               RunListener& listener) {
  TagStream stream(bytes);
  return WriteAtOnce(stream, sink, listener);
}

std::optional<FilletRun> FilletJob::WriteAtOnce(ByteSource& source,
                                               ByteSink* sink,
                                               RunListener& listener) {
  TagStream stream(source, plan_->chunk);
  return WriteAtOnce(stream, sink, listener);
}

std::optional<FilletRun> FilletJob::WriteAtOnce(TagStream& stream,
                                               ByteSink* sink,
                                               RunListener& listener) {
  FilletPlan& plan = *plan_;
  if (!MayWriteAtOnce()) return std::nullopt;
  TagWindow window(stream);
  NoSink nowhere;
  FilletRun run;
  Writer writer(window, plan, sink != nullptr ? *sink : nowhere, listener, run,
                true);
  const Drawing drawing = ScanDrawing(window, DrawingPieces::kSkip, writer);
  if (!drawing.error.empty()) return std::nullopt;
  // The tags after "0 / EOF" must read too, as the survey has them read.
  Tag tag;
  while (stream.Next(tag)) stream.Release(tag.end);
  if (!stream.error().empty()) return std::nullopt;
  writer.Finish(stream);
  if (writer.Failed()) return std::nullopt;
  return run;
}

FilletRun FilletJob::Write(ByteSource& source, ByteSink* sink,
                           RunListener& listener) {
  TagStream stream(source, plan_->chunk);
  return Write(stream, sink, listener);
}

FilletRun FilletJob::Write(std::string_view bytes, ByteSink* sink,
                           RunListener& listener) {
  TagStream stream(bytes);
  return Write(stream, sink, listener);
}

FilletRun FilletJob::Write(TagStream& stream, ByteSink* sink,
                           RunListener& listener) {
  FilletRun run;
  const FilletPlan& plan = *plan_;
  if (!plan.surveyed) {
    run.error = plan.error.empty() ? "the file was not surveyed" : plan.error;
    run.error_line = plan.error_line;
    return run;
  }
  NoSink nowhere;
  TagWindow window(stream);
  Writer writer(window, plan, sink != nullptr ? *sink : nowhere, listener, run);
  const Drawing drawing = ScanDrawing(
      window,
      plan.settings.join_gap ? DrawingPieces::kRead : DrawingPieces::kSkip,
      writer);
  writer.Finish(stream);
  if (!drawing.error.empty() || !stream.error().empty() ||
      window.count() != plan.tags || !writer.AsSurveyed()) {
    run.error = "the file changed while it was being read";
  }
  return run;
}

RunCounts& RunCounts::operator+=(const RunCounts& other) {
  filleted += other.filleted;
  partly += other.partly;
  left_unchanged += other.left_unchanged;
  chains_filleted += other.chains_filleted;
  chains_partly += other.chains_partly;
  chains_left += other.chains_left;
  joined_polylines += other.joined_polylines;
  joined_lines += other.joined_lines;
  joined_arcs += other.joined_arcs;
  return *this;
}

FilletRun FilletDrawing(std::string_view bytes, const Settings& settings) {
  FilletJob job(settings, FilletJob::kChunkBytes, true);
  if (geometry::IsRelief(settings.style)) job.Nest(bytes);
  FilletRun collected;
  Collector collector(collected);
  StringSink sink;
  sink.text.reserve(bytes.size() + bytes.size() / 4);
  std::optional<FilletRun> run = job.WriteAtOnce(bytes, &sink, collector);
  if (!run) {
    // Both passes, from the start.
    sink.text.clear();
    collected = FilletRun{};
    if (!job.Survey(bytes)) {
      FilletRun refused;
      refused.error = job.error();
      refused.error_line = job.error_line();
      return refused;
    }
    run = job.Write(bytes, &sink, collector);
  }
  run->output = std::move(sink.text);
  run->outlines = std::move(collected.outlines);
  run->reports = std::move(collected.reports);
  return *std::move(run);
}

}  // namespace dxf
