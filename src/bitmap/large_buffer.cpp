#include "bitmap/large_buffer.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv {

namespace {

// The size of a huge page on x86-64 and arm64 Linux; elsewhere the hint is
// simply not given.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

std::shared_ptr<std::uint32_t[]> AllocateLargeBuffer(std::size_t values) {
  const std::size_t bytes =
      (values * sizeof(std::uint32_t) + kHugePage - 1) / kHugePage * kHugePage;
  void* memory = std::aligned_alloc(kHugePage, bytes == 0 ? kHugePage : bytes);
  if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(memory, bytes, MADV_HUGEPAGE);  // a hint: refused, the buffer still works
#endif
  return std::shared_ptr<std::uint32_t[]>(static_cast<std::uint32_t*>(memory),
                                          [](std::uint32_t* used) { std::free(used); });
}

}  // namespace kv
