#include "platform/stream_buffer.h"

#include <vector>

namespace platform {
namespace {

/// Never destroyed, so that the buffers stay reachable to the end.
std::vector<char*>& Pool() {
  static auto* pool = new std::vector<char*>();
  return *pool;
}

}  // namespace

void ReturnStreamBuffer::operator()(char* buffer) const {
  if (buffer != nullptr) Pool().push_back(buffer);
}

StreamBuffer TakeStreamBuffer() {
  std::vector<char*>& pool = Pool();
  if (pool.empty()) return StreamBuffer(new char[kStreamBufferSize]);
  char* buffer = pool.back();
  pool.pop_back();
  return StreamBuffer(buffer);
}

}  // namespace platform
