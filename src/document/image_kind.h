#ifndef KORVALE_DOCUMENT_IMAGE_KIND_H_
#define KORVALE_DOCUMENT_IMAGE_KIND_H_

// The kind of a file the document opens, by its extension.

#include <string_view>

namespace kv {

inline constexpr int kImageKindUnknown = 0;  // also "jpeg"
inline constexpr int kImageKindBmp = 1;
inline constexpr int kImageKindJpg = 5;
inline constexpr int kImageKindPng = 6;
inline constexpr int kImageKindGif = 7;
inline constexpr int kImageKindTiff = 8;
inline constexpr int kImageKindNos = 9;
inline constexpr int kImageKindKvm = 10;
inline constexpr int kImageKindJpr = 11;
inline constexpr int kImageKindChart = 12;  // "kap", "cap"
inline constexpr int kImageKindCal = 13;

// The extension without its dot, compared without regard to case.
int ImageKindOfExtension(std::string_view extension);

// The kind of the file name's extension; kImageKindUnknown without one.
int ImageKind(std::string_view path);

// The kinds of calibration file that may be given as the file to import:
// they name their image.
bool IsCalibrationKind(int kind);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMAGE_KIND_H_
