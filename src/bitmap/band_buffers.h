#ifndef KORVALE_BITMAP_BAND_BUFFERS_H_
#define KORVALE_BITMAP_BAND_BUFFERS_H_

// Buffers for the bands of tiles of a map conversion (tile_band_layout.h).
// A buffer comes back when the last tile of its band has been encoded and
// serves a later band: fresh memory would cost a page fault per page of
// every band.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kv {

// The sampled pixels of one band of tiles; shared by the band's tiles.
using BandValues = std::shared_ptr<std::uint32_t[]>;

class BandBuffers {
 public:
  BandBuffers();
  // REQUIRES: no buffer taken from here is still held.
  ~BandBuffers();
  BandBuffers(const BandBuffers&) = delete;
  BandBuffers& operator=(const BandBuffers&) = delete;

  // REQUIRES: set before the first Take; the same for every buffer.
  void set_values(std::size_t values) { values_ = values; }

  // Not cleared: a band's rows are all written before its tiles are read.
  // Throws std::bad_alloc.
  BandValues Take();

 private:
  // Two bands are in use at a time and a third may wait; more are bands
  // kept for later, which need not be kept again.
  static constexpr std::size_t kKeptFree = 4;

  void Give(std::uint32_t* buffer);

  std::size_t values_ = 0;
  std::mutex mutex_;
  std::vector<std::uint32_t*> free_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_BAND_BUFFERS_H_
