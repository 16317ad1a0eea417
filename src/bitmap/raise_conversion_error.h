#ifndef KORVALE_BITMAP_RAISE_CONVERSION_ERROR_H_
#define KORVALE_BITMAP_RAISE_CONVERSION_ERROR_H_

#include <string>

#include "bitmap/conversion_status.h"

namespace kv {

// The one place where conversion statuses become exceptions. Decoder
// failures (13) and compressed BMPs (14) carry `message`; the others carry
// no text; a cancelled conversion (15) becomes ErrAlreadyReported, which
// nobody shows. REQUIRES: status != ConversionStatus::kOk.
[[noreturn]] void RaiseConversionError(ConversionStatus status, const std::string& message);

}  // namespace kv

#endif  // KORVALE_BITMAP_RAISE_CONVERSION_ERROR_H_
