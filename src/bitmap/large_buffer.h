#ifndef KORVALE_BITMAP_LARGE_BUFFER_H_
#define KORVALE_BITMAP_LARGE_BUFFER_H_

// Memory for hundreds of megabytes of pixels that are written once and read
// soon after (the tiles' pixels a palette pass keeps). Where the system
// offers it, the buffer asks for huge pages: filling it then costs a page
// fault per two megabytes instead of one per four kilobytes.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kv {

// Not cleared. Throws std::bad_alloc.
std::shared_ptr<std::uint32_t[]> AllocateLargeBuffer(std::size_t values);

}  // namespace kv

#endif  // KORVALE_BITMAP_LARGE_BUFFER_H_
