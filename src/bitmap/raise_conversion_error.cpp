#include "bitmap/raise_conversion_error.h"

#include "base/exceptions.h"

namespace kv {

void RaiseConversionError(ConversionStatus status, const std::string& message) {
  switch (status) {
    case kConvCorrupt:
    case kConvBadVersion:
    case kConvBadDepth:
    case kConvMalformed:
      throw ErrImageFileCorrupt();
    case kConvNoMemory:
      throw ErrBadAlloc();
    case kConvCreateFailed:
      throw ErrFileCreate();
    case kConvReadFailed:
      throw ErrFileRead();
    case kConvWriteFailed:
      throw ErrFileWrite();
    case kConvOpenFailed:
      throw ErrFileOpen();
    case kConvNotAnImage:
      throw ErrNotAnImage();
    case kConvTooBig:
      throw ErrImageTooBig();
    case kConvTooSmall:
      throw ErrImageTooSmall();
    case kConvDecoderFailed:
      throw ErrJPEGDecompressFailed(message.c_str());
    case kConvCompressedBmp:
      throw ErrCompressionFmtNotSupported(message.c_str());
    case kConvCancelled:
      // The user asked for it: there is nothing to show.
      throw ErrAlreadyReported();
    default:
      throw ErrUnknown();
  }
}

}  // namespace kv
