#ifndef RRENSEN_DXF_JOIN_H_
#define RRENSEN_DXF_JOIN_H_

/// Joining: LINE and ARC entities whose ends meet become one polyline.
/// Many drawings have no polylines at all, their outlines drawn as separate
/// lines and arcs; chained into polylines they can be filleted like any
/// other. Everything here is a pure function of its arguments.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/drawing.h"
#include "dxf/settings.h"
#include "dxf/tag_reader.h"
#include "dxf/tag_writer.h"
#include "rrensen/fillet.h"

namespace dxf {

/// A piece as a polyline sees it.
struct PieceGeometry {
  rrensen::Point start;
  rrensen::Point end;
  /// 0 for a LINE; tan(sweep / 4) for an ARC, positive, since an ARC runs
  /// counter-clockwise from its start to its end.
  double bulge = 0.0;
};

/// The ends and bulge of `piece`. An ARC's ends are its centre plus its
/// radius along its start and end angles; its sweep is the end angle less
/// the start angle reduced into [0, 360) degrees.
PieceGeometry GeometryOf(const Piece& piece);

/// Why `piece` cannot be chained: the reason its tags gave, or a shape a
/// polyline cannot take: a number that is not finite, a radius not above 0,
/// or ends that meet each other within `gap` (a piece shorter than the gap,
/// an arc of no sweep or of nearly a full circle). Empty when it can.
std::string UnjoinableReason(const Piece& piece, double gap);

/// The same for a piece whose GeometryOf is `geometry`, known already.
std::string UnjoinableReason(const Piece& piece, const PieceGeometry& geometry,
                             double gap);

/// One piece of a chain and the way the chain runs through it.
struct ChainLink {
  size_t piece = 0;  ///< index into the pieces given to ChainPieces
  /// True when the chain runs from the piece's end to its start.
  bool reversed = false;
};

/// A polyline vertex: where a segment starts, and the segment's bulge,
/// tan(sweep / 4), positive when it turns counter-clockwise, 0 when straight.
struct ChainVertex {
  rrensen::Point point;
  double bulge = 0.0;
};

/// Pieces that become one polyline.
struct Chain {
  /// The pieces in the order the chain runs through them; two at least.
  std::vector<ChainLink> links;
  /// One per link, starting where the link starts; an open chain has the
  /// last link's end as one vertex more, with bulge 0.
  std::vector<ChainVertex> vertices;
  /// True when the chain's last end meets its first.
  bool closed = false;
  /// The chain's piece that comes first in the file: where the polyline
  /// goes, and whose attributes (the layer's spelling among them) it takes.
  size_t first_piece = 0;
  PieceAttributes attributes;
};

/// Chains the joinable `pieces` (UnjoinableReason empty) into polylines.
///
/// Two pieces can join when their attributes match (the layer and line type
/// without regard to ASCII case, a missing line type being BYLAYER; every
/// other attribute of PieceAttributes exactly, missing ones being the DXF
/// default) and an end of one lies at most `gap` from an end of the other
/// (a negative or nan gap counts as 0). Ends of pieces whose attributes
/// differ, or that cannot be chained, are not looked at.
///
/// At a point where three or more ends meet (two or more within `gap` of
/// an end) the chain stops: the outline branches there and no choice of way
/// on would be better than another. A piece that joins nothing stays as it
/// is and is in no chain.
///
/// The chains come in the order of their first piece in the file. An open
/// chain runs the way its first piece in the file runs, a closed one starts
/// at the start of that piece. Where two ends meet, the vertex is the end of
/// the LINE if one of the two is a LINE (its coordinates are the file's own,
/// an arc's are computed), else the end of the piece earlier in the file.
///
/// O(n log n) for n pieces: the ends are sorted by cells of a grid at
/// least 2 gap wide, and an end looks for others only in the 3 x 3 cells
/// around its own, stopping at the second it finds.
std::vector<Chain> ChainPieces(const std::vector<Piece>& pieces, double gap);

/// The entity a chain becomes: an LWPOLYLINE, or R12's POLYLINE with its
/// VERTEX entities and SEQEND.
enum class ChainForm { kLightweight, kVertexList };

/// The form for a file of version `version` ($ACADVER): the vertex-list form
/// for R12 and older (AC1009 and before, or no $ACADVER), LWPOLYLINE from R14
/// (AC1014) on, where it exists. Nothing for R13 (AC1010 to AC1012) or a
/// version that does not read: R13's POLYLINE takes subclass markers that
/// this tool does not write.
std::optional<ChainForm> ChainFormFor(std::string_view version);

/// The tags of the entity `chain` becomes, laid out as `layout`, numbers as
/// FormatCoordinate writes them. Each entity gets a handle from
/// `*next_handle` on (counted up) when `next_handle` is not null, none
/// otherwise. The attributes other than the defaults are written as the
/// chain's first piece had them; 330 (the owner) only in an LWPOLYLINE,
/// since R12 has no owners.
std::string ChainEntity(const Chain& chain, ChainForm form,
                        const TagLayout& layout, uint64_t* next_handle);

}  // namespace dxf

#endif  // RRENSEN_DXF_JOIN_H_
