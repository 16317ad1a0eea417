#ifndef KORVALE_BITMAP_CONVERSION_STATUS_H_
#define KORVALE_BITMAP_CONVERSION_STATUS_H_

// Integer statuses inside the bitmap conversion subsystem. The conversion
// front turns a failing one into an exception (RaiseConversionError).

namespace kv {

using ConversionStatus = int;

inline constexpr ConversionStatus kConvOk = 0;
inline constexpr ConversionStatus kConvCorrupt = 2;
inline constexpr ConversionStatus kConvBadVersion = 3;
inline constexpr ConversionStatus kConvBadDepth = 4;
inline constexpr ConversionStatus kConvNoMemory = 5;  // also a failed append
inline constexpr ConversionStatus kConvCreateFailed = 6;
inline constexpr ConversionStatus kConvReadFailed = 7;
inline constexpr ConversionStatus kConvWriteFailed = 8;
inline constexpr ConversionStatus kConvOpenFailed = 9;
inline constexpr ConversionStatus kConvMalformed = 10;
inline constexpr ConversionStatus kConvTooBig = 11;
inline constexpr ConversionStatus kConvTooSmall = 12;  // width or height below 10
inline constexpr ConversionStatus kConvDecoderFailed = 13;
inline constexpr ConversionStatus kConvCompressedBmp = 14;
// The user stopped a map conversion; nothing went wrong.
inline constexpr ConversionStatus kConvCancelled = 15;
// The file opens and reads, but is no image of a kind the decoder knows.
inline constexpr ConversionStatus kConvNotAnImage = 16;

// Depths a bitmap of this system can have.
bool IsSupportedDepth(int depth);
// A depth bound is 0 (no bound) or a supported depth.
inline bool IsValidDepthBound(int depth) { return depth == 0 || IsSupportedDepth(depth); }

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_STATUS_H_
