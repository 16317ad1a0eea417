#ifndef KORVALE_BASE_ERROR_CODES_H_
#define KORVALE_BASE_ERROR_CODES_H_

// Error codes. The program's own codes have bit 0x20000000 set and the rest
// indexes the message tables; a code without that bit is an operating system
// error number; 0 is no error.

#include <cstdint>

namespace kv {

using ErrorCode = std::uint32_t;

inline constexpr ErrorCode kProgramErrorBit = 0x20000000;
inline constexpr std::uint32_t kMessageTableSize = 25;

inline constexpr ErrorCode kErrImageListFull = 0x20000001;
inline constexpr ErrorCode kErrFileRead = 0x20000002;
inline constexpr ErrorCode kErrFileWrite = 0x20000003;
inline constexpr ErrorCode kErrFileCreate = 0x20000004;
inline constexpr ErrorCode kErrFileOpen = 0x20000005;
inline constexpr ErrorCode kErrNotOurFile = 0x20000006;
inline constexpr ErrorCode kErrUnknownImageKind = 0x20000007;
inline constexpr ErrorCode kErrImageFileCorrupt = 0x20000008;
inline constexpr ErrorCode kErrAlreadyReported = 0x20000009;
inline constexpr ErrorCode kErrImageTooBig = 0x2000000a;
inline constexpr ErrorCode kErrUnknown = 0x2000000b;
inline constexpr ErrorCode kErrBadAlloc = 0x2000000c;
inline constexpr ErrorCode kErrJPEGDecompressFailed = 0x2000000d;
inline constexpr ErrorCode kErrImageTooSmall = 0x2000000e;
// Handheld link and copy failures, reported directly without an exception.
inline constexpr ErrorCode kErrHandheldLink = 0x2000000f;
inline constexpr ErrorCode kErrHandheldFolders = 0x20000010;
inline constexpr ErrorCode kErrHandheldCopy = 0x20000011;
inline constexpr ErrorCode kErrCompressionFmtNotSupported = 0x20000012;
// A calibration that places the map off the Earth or across 180°.
inline constexpr ErrorCode kErrOffTheEarth = 0x20000013;
// A calibration file of a known type that does not hold what the type must
// (a world file line that is no number); the file name carries the line.
inline constexpr ErrorCode kErrCalibrationMalformed = 0x20000014;

// A file that opens but is no image of a kind the program reads.
inline constexpr ErrorCode kErrNotAnImage = 0x20000015;

// A file chosen as a calibration or world file that is neither (an image,
// most often).
inline constexpr ErrorCode kErrNotACalibrationFile = 0x20000016;
// A calibration that a world file cannot hold: not affine in the chosen
// coordinate system, or in a system a ".prj" cannot name; the reason says which.
inline constexpr ErrorCode kErrWorldFileRefused = 0x20000017;
// An export name whose extension asks for a format we read but do not write.
inline constexpr ErrorCode kErrExportFormat = 0x20000018;

}  // namespace kv

#endif  // KORVALE_BASE_ERROR_CODES_H_
