#include "dxf/join.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "dxf/number_text.h"
#include "geometry/angles.h"
#include "geometry/trig.h"

namespace dxf {
namespace {

/// Flag bit 1 of group code 70 on a polyline: closed.
constexpr int kClosedFlag = 1;

/// Marks in the table of matching ends: no other end meets this one, or two
/// or more do.
constexpr size_t kNoEnd = SIZE_MAX;
constexpr size_t kManyEnds = SIZE_MAX - 1;

/// The point at `degrees` on the unit circle. The angle is reduced exactly
/// into [0, 360) (fmod is exact), then split into a multiple of 90 and a
/// rest of at most 45 in size: the quarter turns an ARC's angles often are
/// give exact 0s and 1s, and sine and cosine are taken of the rest only.
rrensen::Point UnitVector(double degrees) {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0.0) reduced += 360.0;  // may round up to 360: 4 quarters
  const double quarters = std::floor(reduced / 90.0 + 0.5);  // 0 to 4
  const double rest = geometry::Radians(reduced - quarters * 90.0);
  const double c = trig::Cos(rest);
  const double s = trig::Sin(rest);
  switch (static_cast<int>(quarters) % 4) {
    case 1: return {-s, c};
    case 2: return {-c, -s};
    case 3: return {s, -c};
    default: return {c, s};
  }
}

bool Finite(const rrensen::Point& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

/// True when `a` and `b` are at most `gap` apart. The squares are compared,
/// with IEEE operations only, so the answer is the same on every platform;
/// a distance of exactly `gap` along an axis meets.
bool Meet(const rrensen::Point& a, const rrensen::Point& b, double gap) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return dx * dx + dy * dy <= gap * gap;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

/// A text that is the same for two pieces exactly when their attributes
/// match as ChainPieces says.
std::string MatchKey(const PieceAttributes& a) {
  const std::string parts[] = {
      UpperAscii(a.layer),
      a.line_type.empty() ? std::string("BYLAYER") : UpperAscii(a.line_type),
      std::to_string(a.colour),
      std::to_string(a.line_weight),
      FormatCoordinate(a.line_type_scale),
      std::to_string(a.invisible),
      a.true_colour,
      a.colour_name,
      a.transparency,
      UpperAscii(a.owner)};
  std::string key;
  for (const std::string& part : parts) {
    key += part;
    key += '\0';  // no attribute text holds a NUL: the parts stay apart
  }
  return key;
}

/// An end in the grid: its match group, its cell and its number
/// (2 * piece for a piece's start, 2 * piece + 1 for its end).
struct GridEnd {
  size_t group = 0;
  int64_t cell_x = 0;
  int64_t cell_y = 0;
  size_t end = 0;
};

bool operator<(const GridEnd& a, const GridEnd& b) {
  return std::tie(a.group, a.cell_x, a.cell_y, a.end) <
         std::tie(b.group, b.cell_x, b.cell_y, b.end);
}

/// Finds, for every end of a joinable piece, the ends that meet it.
class EndIndex {
 public:
  /// `ends` holds two points per piece; `groups` a match group per piece,
  /// kNoEnd for a piece that cannot be chained.
  EndIndex(const std::vector<rrensen::Point>& ends,
           const std::vector<size_t>& groups, double gap)
      : ends_(ends), gap_(gap) {
    double largest = 0.0;
    for (size_t e = 0; e < ends.size(); ++e) {
      if (groups[e / 2] == kNoEnd) continue;
      largest = std::max({largest, std::fabs(ends[e].x), std::fabs(ends[e].y)});
    }
    // Cells at least 2 gap wide: two ends within the gap are at most half a
    // cell apart, which the division's rounding cannot make more than one
    // cell. And no narrower than 2^-50 of the largest coordinate, so that
    // every cell number is an integer below 2^50 in size, which doubles and
    // int64_t hold exactly, neighbours included.
    cell_ = std::max(2.0 * gap, std::ldexp(largest, -50));
    if (!(cell_ > 0.0)) cell_ = 1.0;  // every end at the origin, gap 0
    for (size_t e = 0; e < ends.size(); ++e) {
      if (groups[e / 2] == kNoEnd) continue;
      grid_.push_back({groups[e / 2], Cell(ends[e].x), Cell(ends[e].y), e});
    }
    std::sort(grid_.begin(), grid_.end());
  }

  /// For each end, the one other end that meets it, or kNoEnd or kManyEnds.
  std::vector<size_t> Matches() const {
    std::vector<size_t> match(ends_.size(), kNoEnd);
    for (const GridEnd& e : grid_) match[e.end] = MatchOf(e);
    return match;
  }

 private:
  int64_t Cell(double coordinate) const {
    return static_cast<int64_t>(std::floor(coordinate / cell_));
  }

  size_t MatchOf(const GridEnd& e) const {
    size_t found = kNoEnd;
    for (int64_t dx = -1; dx <= 1; ++dx) {
      const GridEnd low{e.group, e.cell_x + dx, e.cell_y - 1, 0};
      for (auto it = std::lower_bound(grid_.begin(), grid_.end(), low);
           it != grid_.end() && it->group == e.group &&
           it->cell_x == low.cell_x && it->cell_y <= e.cell_y + 1;
           ++it) {
        if (it->end == e.end || !Meet(ends_[it->end], ends_[e.end], gap_)) {
          continue;
        }
        if (found != kNoEnd) return kManyEnds;
        found = it->end;
      }
    }
    return found;
  }

  const std::vector<rrensen::Point>& ends_;
  double gap_;
  double cell_ = 1.0;
  std::vector<GridEnd> grid_;
};

/// Builds the chains from the links between ends.
class ChainBuilder {
 public:
  ChainBuilder(const std::vector<Piece>& pieces,
               const std::vector<PieceGeometry>& geometry,
               const std::vector<size_t>& link)
      : pieces_(pieces), geometry_(geometry), link_(link) {}

  /// The chain through piece `first`, the first of its pieces in the file.
  Chain From(size_t first) const {
    Chain chain;
    chain.first_piece = first;
    chain.attributes = pieces_[first].attributes;
    // Back from the first piece's start to the chain's free end, or round
    // to the first piece again when the chain is closed.
    ChainLink start{first, false};
    for (size_t entry = 2 * first; link_[entry] != kNoEnd;) {
      const size_t other = link_[entry];
      if (other / 2 == first) {
        chain.closed = true;
        start = {first, false};
        break;
      }
      // The piece before is left by the end `other`: at its start when the
      // chain runs through it reversed.
      start = {other / 2, other % 2 == 0};
      entry = other ^ 1U;
    }
    for (ChainLink at = start;;) {
      chain.links.push_back(at);
      const size_t next = link_[Exit(at)];
      if (next == kNoEnd || next / 2 == start.piece) break;
      at = {next / 2, next % 2 == 1};  // entered at its end: reversed
    }
    Vertices(chain);
    return chain;
  }

 private:
  /// The end by which the chain enters or leaves a link's piece.
  static size_t Entry(const ChainLink& l) { return 2 * l.piece + (l.reversed ? 1 : 0); }
  static size_t Exit(const ChainLink& l) { return Entry(l) ^ 1U; }

  rrensen::Point EndPoint(size_t end) const {
    const PieceGeometry& g = geometry_[end / 2];
    return end % 2 == 0 ? g.start : g.end;
  }

  /// The vertex where the end `left` meets the end `entered`: a LINE's end
  /// before an ARC's, else the end of the piece earlier in the file.
  rrensen::Point Meeting(size_t left, size_t entered) const {
    const PieceKind left_kind = pieces_[left / 2].kind;
    const PieceKind entered_kind = pieces_[entered / 2].kind;
    if (left_kind != entered_kind) {
      return EndPoint(left_kind == PieceKind::kLine ? left : entered);
    }
    return EndPoint(std::min(left, entered));
  }

  void Vertices(Chain& chain) const {
    const std::vector<ChainLink>& links = chain.links;
    for (size_t k = 0; k < links.size(); ++k) {
      const ChainLink& l = links[k];
      rrensen::Point point = EndPoint(Entry(l));
      if (k > 0) {
        point = Meeting(Exit(links[k - 1]), Entry(l));
      } else if (chain.closed) {
        point = Meeting(Exit(links.back()), Entry(l));
      }
      const double bulge = geometry_[l.piece].bulge;
      chain.vertices.push_back({point, l.reversed ? -bulge : bulge});
    }
    if (!chain.closed) chain.vertices.push_back({EndPoint(Exit(links.back())), 0.0});
  }

  const std::vector<Piece>& pieces_;
  const std::vector<PieceGeometry>& geometry_;
  const std::vector<size_t>& link_;
};

/// The attributes other than DXF's defaults, as the tags of an entity.
void AppendAttributes(std::string& out, const TagLayout& layout,
                      const PieceAttributes& a) {
  AppendTag(out, layout, 8, a.layer);
  if (!a.line_type.empty()) AppendTag(out, layout, 6, a.line_type);
  if (a.colour != 256) AppendTag(out, layout, 62, std::to_string(a.colour));
  if (a.line_weight != -1) {
    AppendTag(out, layout, 370, std::to_string(a.line_weight));
  }
  if (a.line_type_scale != 1.0) {
    AppendTag(out, layout, 48, FormatCoordinate(a.line_type_scale));
  }
  if (a.invisible != 0) AppendTag(out, layout, 60, std::to_string(a.invisible));
  if (!a.true_colour.empty()) AppendTag(out, layout, 420, a.true_colour);
  if (!a.colour_name.empty()) AppendTag(out, layout, 430, a.colour_name);
  if (!a.transparency.empty()) AppendTag(out, layout, 440, a.transparency);
}

void AppendHandle(std::string& out, const TagLayout& layout,
                  uint64_t* next_handle) {
  if (next_handle != nullptr) {
    AppendTag(out, layout, 5, FormatHandle((*next_handle)++));
  }
}

void AppendLightweight(std::string& out, const Chain& chain,
                       const TagLayout& layout, uint64_t* next_handle) {
  AppendTag(out, layout, 0, "LWPOLYLINE");
  AppendHandle(out, layout, next_handle);
  if (!chain.attributes.owner.empty()) {
    AppendTag(out, layout, 330, chain.attributes.owner);
  }
  AppendTag(out, layout, 100, "AcDbEntity");
  AppendAttributes(out, layout, chain.attributes);
  AppendTag(out, layout, 100, "AcDbPolyline");
  AppendTag(out, layout, 90, std::to_string(chain.vertices.size()));
  AppendTag(out, layout, 70, std::to_string(chain.closed ? kClosedFlag : 0));
  for (const ChainVertex& v : chain.vertices) {
    AppendCoordinateTag(out, layout, 10, v.point.x);
    AppendCoordinateTag(out, layout, 20, v.point.y);
    if (v.bulge != 0.0) AppendCoordinateTag(out, layout, 42, v.bulge);
  }
}

void AppendVertexList(std::string& out, const Chain& chain,
                      const TagLayout& layout, uint64_t* next_handle) {
  AppendTag(out, layout, 0, "POLYLINE");
  AppendHandle(out, layout, next_handle);
  AppendAttributes(out, layout, chain.attributes);
  AppendTag(out, layout, 66, "1");  // vertices follow
  // The polyline's own point is a dummy; only its z, the elevation, counts.
  AppendTag(out, layout, 10, "0.0");
  AppendTag(out, layout, 20, "0.0");
  AppendTag(out, layout, 30, "0.0");
  AppendTag(out, layout, 70, std::to_string(chain.closed ? kClosedFlag : 0));
  for (const ChainVertex& v : chain.vertices) {
    AppendTag(out, layout, 0, "VERTEX");
    AppendHandle(out, layout, next_handle);
    AppendAttributes(out, layout, chain.attributes);
    AppendCoordinateTag(out, layout, 10, v.point.x);
    AppendCoordinateTag(out, layout, 20, v.point.y);
    AppendTag(out, layout, 30, "0.0");
    if (v.bulge != 0.0) AppendCoordinateTag(out, layout, 42, v.bulge);
  }
  AppendTag(out, layout, 0, "SEQEND");
  AppendHandle(out, layout, next_handle);
  AppendAttributes(out, layout, chain.attributes);
}

}  // namespace

PieceGeometry GeometryOf(const Piece& piece) {
  if (piece.kind == PieceKind::kLine) return {piece.start, piece.end, 0.0};
  const rrensen::Point from = UnitVector(piece.start_angle);
  const rrensen::Point to = UnitVector(piece.end_angle);
  const rrensen::Point& c = piece.start;
  double sweep = std::fmod(piece.end_angle - piece.start_angle, 360.0);
  if (sweep < 0.0) sweep += 360.0;
  // The bulge of an arc is the tangent of a quarter of its sweep. A half
  // circle's is 1 exactly: the double nearest pi / 4 lies below it, and its
  // tangent would be 1 - 2^-53.
  const double quarter_sweep = sweep / 4.0;
  const double bulge = quarter_sweep == 45.0
                           ? 1.0
                           : trig::Tan(geometry::Radians(quarter_sweep));
  return {{c.x + piece.radius * from.x, c.y + piece.radius * from.y},
          {c.x + piece.radius * to.x, c.y + piece.radius * to.y},
          bulge};
}

std::string UnjoinableReason(const Piece& piece, double gap) {
  return UnjoinableReason(piece, GeometryOf(piece), gap);
}

std::string UnjoinableReason(const Piece& piece, const PieceGeometry& g,
                             double gap) {
  if (!piece.unjoinable_reason.empty()) return piece.unjoinable_reason;
  if (piece.kind == PieceKind::kArc && !(piece.radius > 0.0)) {
    return "its radius is not above 0";
  }
  if (!Finite(g.start) || !Finite(g.end) || !std::isfinite(g.bulge)) {
    return "a number is out of range";
  }
  if (Meet(g.start, g.end, std::max(gap, 0.0))) {
    return "its ends are within the gap of each other";
  }
  return "";
}

std::vector<Chain> ChainPieces(const std::vector<Piece>& pieces, double gap) {
  if (!(gap >= 0.0)) gap = 0.0;
  const size_t count = pieces.size();
  std::vector<PieceGeometry> geometry(count);
  std::vector<rrensen::Point> ends(2 * count);
  // The match group of each joinable piece; kNoEnd for the others.
  std::vector<size_t> groups(count, kNoEnd);
  std::map<std::string, size_t> group_of_key;
  for (size_t i = 0; i < count; ++i) {
    geometry[i] = GeometryOf(pieces[i]);
    ends[2 * i] = geometry[i].start;
    ends[2 * i + 1] = geometry[i].end;
    if (!UnjoinableReason(pieces[i], geometry[i], gap).empty()) continue;
    groups[i] = group_of_key
                    .emplace(MatchKey(pieces[i].attributes), group_of_key.size())
                    .first->second;
  }
  const std::vector<size_t> match = EndIndex(ends, groups, gap).Matches();
  // Two ends are linked when each is the one end that meets the other.
  std::vector<size_t> link(2 * count, kNoEnd);
  for (size_t e = 0; e < link.size(); ++e) {
    if (match[e] < kManyEnds && match[match[e]] == e) link[e] = match[e];
  }

  std::vector<Chain> chains;
  std::vector<bool> chained(count, false);
  const ChainBuilder builder(pieces, geometry, link);
  for (size_t i = 0; i < count; ++i) {
    if (chained[i] || (link[2 * i] == kNoEnd && link[2 * i + 1] == kNoEnd)) {
      continue;
    }
    chains.push_back(builder.From(i));
    for (const ChainLink& l : chains.back().links) chained[l.piece] = true;
  }
  return chains;
}

std::optional<ChainForm> ChainFormFor(std::string_view version) {
  version = TrimBlanks(version);
  if (version.empty()) return ChainForm::kVertexList;
  int number = 0;
  if (version.size() < 3 || version.substr(0, 2) != "AC" ||
      !ParseInteger(version.substr(2), number)) {
    return std::nullopt;
  }
  if (number <= 1009) return ChainForm::kVertexList;
  if (number >= 1014) return ChainForm::kLightweight;
  return std::nullopt;
}

std::string ChainEntity(const Chain& chain, ChainForm form,
                        const TagLayout& layout, uint64_t* next_handle) {
  std::string out;
  if (form == ChainForm::kLightweight) {
    AppendLightweight(out, chain, layout, next_handle);
  } else {
    AppendVertexList(out, chain, layout, next_handle);
  }
  return out;
}

}  // namespace dxf
