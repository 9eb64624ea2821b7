#include "dxf/tag_reader.h"

#include "dxf/tag_stream.h"

namespace dxf {

TagList ReadTags(std::string_view bytes) {
  TagList list;
  TagStream stream(bytes);
  Tag tag;
  while (stream.Next(tag)) list.tags.push_back(tag);
  if (!stream.error().empty()) {
    list.tags.clear();
    list.error = stream.error();
    list.error_line = stream.error_line();
  }
  list.layout = stream.layout();
  return list;
}

}  // namespace dxf
