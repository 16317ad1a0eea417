#ifndef KORVALE_DOCUMENT_IMPORT_SOURCE_H_
#define KORVALE_DOCUMENT_IMPORT_SOURCE_H_

#include <string>

namespace kv {

// The source image of an import (after a calibration file has named it)
// and its kind (image_kind.h).
struct ImportSource {
  std::string image_path;
  int kind = 0;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMPORT_SOURCE_H_
