#include "bitmap/raise_conversion_error.h"

#include "base/exceptions.h"

namespace kv {

void RaiseConversionError(ConversionStatus status, const std::string& message) {
  switch (status) {
    case ConversionStatus::kCorrupt:
    case ConversionStatus::kBadVersion:
    case ConversionStatus::kBadDepth:
    case ConversionStatus::kMalformed:
      throw ErrImageFileCorrupt();
    case ConversionStatus::kNoMemory:
      throw ErrBadAlloc();
    case ConversionStatus::kCreateFailed:
      throw ErrFileCreate();
    case ConversionStatus::kReadFailed:
      throw ErrFileRead();
    case ConversionStatus::kWriteFailed:
      throw ErrFileWrite();
    case ConversionStatus::kOpenFailed:
      throw ErrFileOpen();
    case ConversionStatus::kNotAnImage:
      throw ErrNotAnImage();
    case ConversionStatus::kTooBig:
      throw ErrImageTooBig();
    case ConversionStatus::kTooSmall:
      throw ErrImageTooSmall();
    case ConversionStatus::kDecoderFailed:
      throw ErrJPEGDecompressFailed(message.c_str());
    case ConversionStatus::kCompressedBmp:
      throw ErrCompressionFmtNotSupported(message.c_str());
    case ConversionStatus::kCancelled:
      // The user asked for it: there is nothing to show.
      throw ErrAlreadyReported();
    default:
      throw ErrUnknown();
  }
}

}  // namespace kv
