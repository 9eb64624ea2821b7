#ifndef RRENSEN_DXF_DRAWING_H_
#define RRENSEN_DXF_DRAWING_H_

/// The parts of a DXF file's tags that filleting needs: its 2-D polylines,
/// where each one lies among the tags, and the handle seed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dxf/tag_reader.h"
#include "rrensen/polyline.h"

namespace dxf {

/// Most vertices one polyline may have. A larger one is left unchanged, so
/// that no file can make the filleting hold unbounded memory.
constexpr size_t kMaxVertices = 1000000;

/// LWPOLYLINE (one entity) or the vertex-list form of R12: POLYLINE, its
/// VERTEX entities and SEQEND.
enum class PolylineForm { kLightweight, kVertexList };

/// One polyline entity, as read.
struct Polyline {
  PolylineForm form = PolylineForm::kLightweight;
  /// Tags [first_tag, end_tag) are the whole entity: for the vertex-list
  /// form the POLYLINE, its vertices and the SEQEND with all their tags.
  size_t first_tag = 0;
  size_t end_tag = 0;
  std::string handle;  ///< empty when the entity has none
  std::string layer;   ///< "0" when the entity names none (DXF's default)
  /// Group code 70 of the polyline, and whether it had one.
  int flags = 0;
  bool has_flags = false;
  bool closed = false;  ///< flag bit 1
  /// The vertices, each with the bulge of the piece that starts there.
  std::vector<rrensen::BulgeVertex> vertices;
  /// Why its corners cannot be filleted, as a code for scripts ("widths",
  /// "curve_fit", "too_many_vertices", "vertex_without_point") and as a
  /// sentence for a person; both empty when they can.
  std::string unfit_code;
  std::string unfit_reason;
  /// A 3-D polyline, mesh or polyface: not a 2-D polyline at all, copied
  /// without a word.
  bool not_2d = false;
  /// The first tag of each vertex: of its VERTEX entity in the vertex-list
  /// form, its group code 10 in an LWPOLYLINE (the vertex's own tags run to
  /// the next vertex's 10).
  std::vector<size_t> vertex_tags;
  /// Vertex-list form: the handle each VERTEX had (empty when none) and the
  /// first tag of SEQEND.
  std::vector<std::string> vertex_handles;
  size_t seqend_tag = 0;
};

/// What ReadDrawing found.
struct Drawing {
  std::vector<Polyline> polylines;  ///< in file order
  /// Index of the tag that holds $HANDSEED's value; false when none.
  bool has_handle_seed = false;
  size_t handle_seed_tag = 0;
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

/// Reads the sections of `list` and the polylines of its ENTITIES section
/// (block definitions are shared symbols and are not read). The structure
/// must be sound (sections opened and closed, each
/// POLYLINE ended by SEQEND, polyline numbers readable); anything else in
/// the file is not looked at.
Drawing ReadDrawing(const TagList& list);

}  // namespace dxf

#endif  // RRENSEN_DXF_DRAWING_H_
