#include "dxf/tag_reader.h"

#include "dxf/tag_stream.h"

namespace dxf {

TagList ReadTags(std::string_view bytes) {
  TagList list;
  ReadTags(bytes, list);
  return list;
}

void ReadTags(std::string_view bytes, TagList& list) {
  list.tags.clear();
  list.error.clear();
  list.error_line = 0;
  TagStream stream(bytes);
  Tag tag;
  while (stream.Next(tag)) list.tags.push_back(tag);
  if (!stream.error().empty()) {
    list.tags.clear();
    list.error = stream.error();
    list.error_line = stream.error_line();
  }
  list.layout = stream.layout();
}

}  // namespace dxf
