#ifndef KORVALE_CLI_PNG_FILE_H_
#define KORVALE_CLI_PNG_FILE_H_

#include <string>

#include "bitmap/conversion_front.h"

namespace kv::cli {

// Writes an 8-bit RGB PNG that replaces `path` once complete; throws
// ErrFileCreate or ErrFileWrite naming the path. A failed write leaves the
// old file as it was and nothing beside it.
void WritePngFile(const std::string& path, const RgbImage& image);

}  // namespace kv::cli

#endif  // KORVALE_CLI_PNG_FILE_H_
