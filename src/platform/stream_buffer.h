#ifndef RRENSEN_PLATFORM_STREAM_BUFFER_H_
#define RRENSEN_PLATFORM_STREAM_BUFFER_H_

#include <cstddef>
#include <memory>

namespace platform {

/// Size of the buffer each file stream moves its bytes through.
constexpr size_t kStreamBufferSize = 1 << 16;

/// Hands a buffer back to the pool instead of freeing it.
struct ReturnStreamBuffer {
  void operator()(char* buffer) const;
};

using StreamBuffer = std::unique_ptr<char[], ReturnStreamBuffer>;

/// A buffer of kStreamBufferSize bytes. Buffers are kept for reuse when
/// their stream goes, so a run that opens its files one after another
/// allocates as many buffers as it has streams open at once, and the
/// allocator never gives memory back to the system only to ask for it again.
StreamBuffer TakeStreamBuffer();

}  // namespace platform

#endif  // RRENSEN_PLATFORM_STREAM_BUFFER_H_
