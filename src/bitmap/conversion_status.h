#ifndef KORVALE_BITMAP_CONVERSION_STATUS_H_
#define KORVALE_BITMAP_CONVERSION_STATUS_H_

// Statuses inside the bitmap conversion subsystem. The conversion
// front turns a failing one into an exception (RaiseConversionError).

namespace kv {

// What a conversion step did; it cannot be dropped unread.
enum class [[nodiscard]] ConversionStatus : int{
    kConvOk = 0,
    kConvCorrupt = 2,
    kConvBadVersion = 3,
    kConvBadDepth = 4,
    kConvNoMemory = 5,  // also a failed append
    kConvCreateFailed = 6,
    kConvReadFailed = 7,
    kConvWriteFailed = 8,
    kConvOpenFailed = 9,
    kConvMalformed = 10,
    kConvTooBig = 11,
    kConvTooSmall = 12,  // width or height below 10
    kConvDecoderFailed = 13,
    kConvCompressedBmp = 14,
    // The user stopped a map conversion; nothing went wrong.
    kConvCancelled = 15,
    // The file opens and reads, but is no image of a kind the decoder knows.
    kConvNotAnImage = 16,
};
// The prefixed names say which library a status comes from wherever they
// are used.
using enum ConversionStatus;

// Depths a bitmap of this system can have.
bool IsSupportedDepth(int depth);
// A depth bound is 0 (no bound) or a supported depth.
inline bool IsValidDepthBound(int depth) { return depth == 0 || IsSupportedDepth(depth); }

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_STATUS_H_
