#ifndef KORVALE_DOCUMENT_PANE_TEXTS_H_
#define KORVALE_DOCUMENT_PANE_TEXTS_H_

// What the image list's rows and the previewer's labels say about one
// image, apart from its date, whose format is the user's locale.

#include <cstdint>
#include <string>

#include "base/string_table.h"

namespace kv {

class CImage;

// The list's column width templates (separated by ";") and titles.
inline constexpr std::uint32_t kColumnWidthTemplatesId = 1;
inline constexpr std::uint32_t kFirstColumnTitleId = 1009;  // five, in column order
inline constexpr std::uint32_t kImageBytesFormatId = 1017;
inline constexpr std::uint32_t kImagePixelsFormatId = 1018;
inline constexpr std::uint32_t kListTotalsFormatId = 1038;

// The previewer's labels, modes and compression words.
inline constexpr std::uint32_t kDateLabelId = 1032;
inline constexpr std::uint32_t kSizeLabelId = 1033;
inline constexpr std::uint32_t kPixelSizeLabelId = 1034;
inline constexpr std::uint32_t kColourDepthLabelId = 1035;
inline constexpr std::uint32_t kCompressedTextId = 1050;
inline constexpr std::uint32_t kNotCompressedTextId = 2084;
inline constexpr std::uint32_t kViewModeTextId = 2063;
inline constexpr std::uint32_t kCalibrateModeTextId = 2064;

// String ID of the name of 16, 8, 4, 2 or 1 bits; 0 for any other depth.
std::uint32_t DepthNameId(int depth);

// Width and height in pixels: the bitmap's, or the source's while the
// image is not converted.
struct PixelSize {
  int width = 0;
  int height = 0;
};
PixelSize ImagePixelSize(const CImage& image);

// The list's columns: the byte size (kImageBytesFormatId), the pixel size
// (kImagePixelsFormatId) and the depth name (empty for an unknown depth).
std::string ImageBytesText(const StringTable& strings, const CImage& image);
std::string ImagePixelsText(const StringTable& strings, const CImage& image);
std::string ListDepthText(const StringTable& strings, const CImage& image);

// The previewer's labels for an image: "Pixels: 160x131", "Colour depth:
// 8 bits" (an unknown depth names 16 bits), compressed or not.
std::string PixelSizeLabelText(const StringTable& strings, const CImage& image);
std::string DepthLabelText(const StringTable& strings, const CImage& image);
std::string CompressionLabelText(const StringTable& strings, bool compressed);

// Unix seconds of the image's creation date. A date that cannot be shown
// (before 1970) is replaced by `now_unix` and stored back in the image.
std::int64_t ShownCreationTime(CImage& image, std::int64_t now_unix);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_PANE_TEXTS_H_
