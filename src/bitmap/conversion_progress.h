#ifndef KORVALE_BITMAP_CONVERSION_PROGRESS_H_
#define KORVALE_BITMAP_CONVERSION_PROGRESS_H_

// How far a map conversion is: the source rows it has read (over all its
// passes) and the tiles it has encoded.

#include <cstdint>

namespace kv {

struct ConversionProgress {
  std::uint64_t rows_read = 0;
  std::uint64_t rows_total = 0;
  std::uint64_t tiles_done = 0;
  std::uint64_t tiles_total = 0;

  // 0 to 1, counting a row read and a tile encoded as one step each.
  double Fraction() const {
    const std::uint64_t total = rows_total + tiles_total;
    return total == 0 ? 1.0
                      : static_cast<double>(rows_read + tiles_done) / static_cast<double>(total);
  }
};

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_PROGRESS_H_
