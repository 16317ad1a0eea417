#ifndef KORVALE_MAP_MAP_WRITER_H_
#define KORVALE_MAP_MAP_WRITER_H_

#include <cstdint>
#include <string_view>

#include "map/c_image_container.h"
#include "pdb/stream.h"

namespace kv {

// Writes the container as a map database onto `stream` (the caller's; it is
// neither opened nor closed here): every image's bitmap, the first image's
// metadata, then the preserved resources. Images without a resource ID get
// one and keep it. `now` (Unix seconds) becomes the creation and
// modification time. Throws the program's exceptions; what was written
// stays in the stream.
void WriteMapDatabase(CImageContainer& container, Stream& stream, std::string_view database_name,
                      std::int64_t now);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_WRITER_H_
