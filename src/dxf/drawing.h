#ifndef RRENSEN_DXF_DRAWING_H_
#define RRENSEN_DXF_DRAWING_H_

/// The parts of a DXF file's tags that filleting and joining need: its 2-D
/// polylines, its LINE and ARC entities, where each one lies among the tags,
/// the handle seed and the file's version.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dxf/tag_reader.h"
#include "dxf/tag_stream.h"
#include "rrensen/polyline.h"

namespace dxf {

/// Most vertices one polyline may have. A larger one is left unchanged, so
/// that no file can make the filleting hold unbounded memory.
constexpr size_t kMaxVertices = 1000000;

/// LWPOLYLINE (one entity) or the vertex-list form of R12: POLYLINE, its
/// VERTEX entities and SEQEND.
enum class PolylineForm { kLightweight, kVertexList };

/// One polyline entity, as read (by ScanDrawing, or by a caller from
/// another reader's entity).
struct Polyline {
  PolylineForm form = PolylineForm::kLightweight;
  /// Its entity name as the file writes it ("LWPOLYLINE", "POLYLINE") and
  /// the line of its "0" tag (0 when it was not read from a file).
  std::string type;
  int line = 0;
  /// Tags [first_tag, end_tag) are the whole entity: for the vertex-list
  /// form the POLYLINE, its vertices and the SEQEND with all their tags.
  size_t first_tag = 0;
  size_t end_tag = 0;
  std::string handle;  ///< empty when the entity has none
  std::string layer = "0";  ///< "0" when the entity names none (DXF's default)
  /// Group code 70 of the polyline, and whether it had one.
  int flags = 0;
  bool has_flags = false;
  bool closed = false;  ///< flag bit 1
  /// The vertices, each with the bulge of the piece that starts there.
  std::vector<rrensen::BulgeVertex> vertices;
  /// What its tags say that keeps its corners from being filleted; UnfitOf
  /// decides from these. The group code of the first width that is not 0
  /// (40 or 41, of the polyline or of a vertex), 0 when there is none.
  int width_code = 0;
  /// A VERTEX flagged as made by curve or spline fitting (flags 1, 8, 16).
  bool fit_vertices = false;
  /// A VERTEX without a point (no group code 10).
  bool vertex_without_point = false;
  /// More than kMaxVertices vertices: only the first kMaxVertices are read.
  bool too_many_vertices = false;
  /// The first tag of each vertex: of its VERTEX entity in the vertex-list
  /// form, its group code 10 in an LWPOLYLINE (the vertex's own tags run to
  /// the next vertex's 10).
  std::vector<size_t> vertex_tags;
  /// Vertex-list form: the handle each VERTEX had (empty when none) and the
  /// first tag of SEQEND.
  std::vector<std::string> vertex_handles;
  size_t seqend_tag = 0;
};

/// Whether a VERTEX with these flags (group code 70) was made by curve or
/// spline fitting (flags 1, 8, 16).
bool IsFitVertex(int vertex_flags);

/// Whether `p` is a 2-D polyline: an LWPOLYLINE, or a POLYLINE that is not
/// a 3-D polyline, a mesh or a polyface (flags 8, 16, 64). Any other is not
/// a polyline rrensen-dxf looks at and is copied without a word.
bool IsTwoDimensional(const Polyline& p);

/// Why the corners of `p` cannot be filleted, as a code for scripts and a
/// sentence for a person; both empty when they can. In this order:
/// "too_many_vertices", "vertex_without_point", "widths", "curve_fit" (a
/// curve- or spline-fit POLYLINE, flags 2 or 4, or fit vertices).
struct Unfit {
  std::string code;
  std::string reason;
};
Unfit UnfitOf(const Polyline& p);

/// The attributes two LINE or ARC entities must share to become one
/// polyline: the entity-level ones that an LWPOLYLINE or a POLYLINE carries
/// just as they do. Each holds the value as read, or the DXF default when the
/// entity has no such tag.
struct PieceAttributes {
  std::string layer = "0";       ///< 8; compared without regard to ASCII case
  std::string line_type;         ///< 6; "" and "BYLAYER" (any case) are alike
  int colour = 256;              ///< 62; 256 is BYLAYER
  int line_weight = -1;          ///< 370; -1 is BYLAYER
  double line_type_scale = 1.0;  ///< 48
  int invisible = 0;             ///< 60; 1 hides the entity
  /// 420 (true colour), 430 (colour name) and 440 (transparency) as their
  /// trimmed text, compared as text; "" when absent.
  std::string true_colour;
  std::string colour_name;
  std::string transparency;
  /// 330 outside application groups: the owner, the model space's block
  /// record in files from R13 on; "" when absent. Compared as text.
  std::string owner;
};

/// LINE or ARC.
enum class PieceKind { kLine, kArc };

/// One LINE or ARC entity of model space, as read: a piece of an outline
/// that --join may chain with others into one polyline.
struct Piece {
  PieceKind kind = PieceKind::kLine;
  /// Tags [first_tag, end_tag) are the whole entity.
  size_t first_tag = 0;
  size_t end_tag = 0;
  int line = 0;        ///< the line of its "0" tag
  std::string handle;  ///< empty when the entity has none
  PieceAttributes attributes;
  /// LINE: 10/20 start and 11/21 end. ARC: 10/20 centre; end is unused.
  rrensen::Point start;
  rrensen::Point end;
  /// ARC: 40 radius, and 50/51 start and end angle in degrees; the arc runs
  /// counter-clockwise from the start angle to the end angle.
  double radius = 0.0;
  double start_angle = 0.0;
  double end_angle = 0.0;
  /// Why it cannot be chained, as read from its tags (a thickness, an
  /// extrusion other than (0, 0, 1), a z other than 0, a missing point,
  /// application data or a group code a polyline cannot carry); empty when
  /// it can as far as its tags tell.
  std::string unjoinable_reason;
};

/// What ReadDrawing found.
struct Drawing {
  /// In file order; ScanDrawing hands them to its visitor instead.
  std::vector<Polyline> polylines;
  /// The model-space LINE and ARC entities of the ENTITIES section, in file
  /// order; read only when asked for (ScanDrawing hands them on too).
  std::vector<Piece> pieces;
  /// $ACADVER's value ("AC1009" for R12, "AC1015" for R2000 ...); empty
  /// when the header has none.
  std::string version;
  /// Index of the tag that holds $HANDSEED's value, and that tag (its
  /// offsets; its value is not kept); false when none.
  bool has_handle_seed = false;
  size_t handle_seed_tag = 0;
  Tag handle_seed;
  /// The first handle that no object uses: the larger of $HANDSEED and one
  /// more than the largest handle in the file.
  uint64_t next_free_handle = 1;
  /// Empty when the structure was read; else what is wrong and the line of
  /// the tag at fault.
  std::string error;
  int error_line = 0;
};

/// Tracks the parts of an entity whose group codes mean something else:
/// application groups ("102 / {NAME" ... "102 / }") and extended data (from
/// group code 1000 on). Tags there are copied and never interpreted.
class OpaqueParts {
 public:
  /// True when `tag` belongs to an opaque part (or opens or closes one).
  bool Skip(const Tag& tag);

 private:
  bool in_application_group_ = false;
  bool in_extended_data_ = false;
};

/// Which entities ReadDrawing reads besides the polylines.
enum class DrawingPieces { kSkip, kRead };

/// Reads the sections of `list` and the polylines of its ENTITIES section
/// (block definitions are shared symbols and are not read), and with
/// DrawingPieces::kRead its LINE and ARC entities too, but for those in paper
/// space (group code 67 = 1). The structure must be sound (sections opened
/// and closed, each POLYLINE ended by SEQEND, the numbers of the entities
/// read readable); anything else in the file is not looked at.
Drawing ReadDrawing(const TagList& list,
                    DrawingPieces pieces = DrawingPieces::kSkip);

/// What ScanDrawing hands on as it reads.
class DrawingVisitor {
 public:
  virtual ~DrawingVisitor() = default;
  /// An entity or a section starts at tag `next`: no tag before it will be
  /// looked at again, and the window lets them go when this returns.
  virtual void OnBoundary(size_t next) = 0;
  /// A polyline, its tags [first_tag, end_tag] held. It is the scanner's
  /// and is reused for the next one.
  virtual void OnPolyline(Polyline& polyline) = 0;
  /// False when the tags of the LWPOLYLINE starting at tag `first_tag`
  /// are not wanted, only its values: they are then let go as they are
  /// read (its bytes stay held), and its vertex_tags are empty.
  virtual bool WantsLightweightTags(size_t /*first_tag*/) const {
    return true;
  }
  /// True when the visitor reads the LWPOLYLINE starting at tag
  /// `first_tag` itself, later (ReadLightweightAt): it is then handed over
  /// unread, by OnUnreadLightweight.
  virtual bool ReadsLightweightLater(size_t /*first_tag*/) const {
    return false;
  }
  /// The LWPOLYLINE of tags [first_tag, end_tag), held, not read: the
  /// visitor said it reads it later.
  virtual void OnUnreadLightweight(size_t /*first_tag*/, size_t /*end_tag*/) {}
  /// A LINE or ARC of model space (with DrawingPieces::kRead), its tags
  /// held; the visitor may take it.
  virtual void OnPiece(Piece& piece) = 0;
  /// True once the visitor wants no more of the drawing: the scan then
  /// ends at the next entity (or before reading an LWPOLYLINE whose tags
  /// it was asked about), with kScanStopped as the drawing's error.
  virtual bool Stops() const { return false; }
};

/// The error of a scan that its visitor stopped.
inline constexpr const char* kScanStopped = "the reading was stopped";

/// ReadDrawing over the tags of `window` as they are read, handing each
/// polyline and piece to `visitor` and letting the window drop the tags
/// behind it at each boundary; the Drawing it returns has no polylines or
/// pieces. It stops at "0 / EOF", at the end of the tags or at a fault.
Drawing ScanDrawing(TagWindow& window, DrawingPieces pieces,
                    DrawingVisitor& visitor);

/// The LWPOLYLINE at tag `first` of `window`, read as ScanDrawing reads
/// one (its vertex_tags held): the polyline, or the fault that makes the
/// drawing unreadable (its line counted in the window's lines).
struct LightweightRead {
  Polyline polyline;
  std::string error;
  int error_line = 0;
};
LightweightRead ReadLightweightAt(TagWindow& window, size_t first);

}  // namespace dxf

#endif  // RRENSEN_DXF_DRAWING_H_
