#ifndef KORVALE_BITMAP_CONVERTED_BITMAP_H_
#define KORVALE_BITMAP_CONVERTED_BITMAP_H_

#include <cstdint>
#include <vector>

namespace kv {

// A serialised Palm bitmap record and what its header says.
struct ConvertedBitmap {
  std::vector<std::uint8_t> record;
  int width = 0;
  int height = 0;
  int depth = 0;
  bool compressed = false;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERTED_BITMAP_H_
