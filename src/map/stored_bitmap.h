#ifndef KORVALE_MAP_STORED_BITMAP_H_
#define KORVALE_MAP_STORED_BITMAP_H_

#include <cstdint>
#include <vector>

#include "map/c_image.h"

namespace kv {

// A bitmap record read from a map, taken as it is: size, depth and
// compression come from its header. Throws ErrImageFileCorrupt for a record
// too short to have one.
BitmapRecord StoredBitmap(std::vector<std::uint8_t> bytes);

}  // namespace kv

#endif  // KORVALE_MAP_STORED_BITMAP_H_
