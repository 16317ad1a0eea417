#ifndef KORVALE_BITMAP_CONVERSION_STATUS_H_
#define KORVALE_BITMAP_CONVERSION_STATUS_H_

// Statuses inside the bitmap conversion subsystem. The conversion
// front turns a failing one into an exception (RaiseConversionError).

namespace kv {

// What a conversion step did; it cannot be dropped unread.
enum class [[nodiscard]] ConversionStatus : int{
    kOk = 0,
    kCorrupt = 2,
    kBadVersion = 3,
    kBadDepth = 4,
    kNoMemory = 5,  // also a failed append
    kCreateFailed = 6,
    kReadFailed = 7,
    kWriteFailed = 8,
    kOpenFailed = 9,
    kMalformed = 10,
    kTooBig = 11,
    kTooSmall = 12,  // width or height below 10
    kDecoderFailed = 13,
    kCompressedBmp = 14,
    // The user stopped a map conversion; nothing went wrong.
    kCancelled = 15,
    // The file opens and reads, but is no image of a kind the decoder knows.
    kNotAnImage = 16,
};

// Depths a bitmap of this system can have.
bool IsSupportedDepth(int depth);
// A depth bound is 0 (no bound) or a supported depth.
inline bool IsValidDepthBound(int depth) { return depth == 0 || IsSupportedDepth(depth); }

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_STATUS_H_
