#ifndef KORVALE_CLI_PNG_FILE_H_
#define KORVALE_CLI_PNG_FILE_H_

#include <string>

#include "bitmap/conversion_front.h"

namespace kv::cli {

// Writes an 8-bit RGB PNG; throws ErrFileCreate or ErrFileWrite naming the
// path. A failed write removes the partial file.
void WritePngFile(const std::string& path, const RgbImage& image);

}  // namespace kv::cli

#endif  // KORVALE_CLI_PNG_FILE_H_
