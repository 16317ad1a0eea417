#ifndef KORVALE_MAP_MAP_READER_H_
#define KORVALE_MAP_MAP_READER_H_

#include <functional>
#include <string>
#include <string_view>

#include "bitmap/conversion_context.h"
#include "map/c_image_container.h"
#include "pdb/stream.h"

namespace kv {

// Rewrites a corner text read from a file; the flag says whether it is a
// latitude. Null stands for NormaliseCornerText, the program's own form.
using CornerTextFormatter = std::function<std::string(std::string_view text, bool latitude)>;

// Fills an empty container from the map database on `stream` (the caller's):
// one image per bitmap in file order, the metadata for the bitmap at entry
// index 0, every other resource kept as a preserved resource unless it is
// metadata of some bitmap. Bitmaps are taken as stored, through the
// conversion front, so each must be readable. The compression setting comes
// out on when any bitmap is stored compressed (unchanged without bitmaps).
// Throws ErrNotOurFile for a file that is not a Palm
// database, ErrUnknown for a database of another type.
void ReadMapDatabase(Stream& stream, CImageContainer& container, ConversionSettings& settings,
                     const CornerTextFormatter& format_corner);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_READER_H_
