#ifndef RRENSEN_VIEW_DXF_PICTURE_H_
#define RRENSEN_VIEW_DXF_PICTURE_H_

#include <string>

#include "view.h"

namespace view {

/// The preview as a DXF drawing, for those who would rather look at it in
/// their CAD program: the numbered points on layer "points", the file's own
/// drawing records on "records", the outline on "outline", and for a
/// refused outline the failing side (a line) or corner (a circle) on
/// "refused".
std::string PictureDxf(const Preview& preview);

}  // namespace view

#endif  // RRENSEN_VIEW_DXF_PICTURE_H_
