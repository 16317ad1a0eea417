#ifndef KORVALE_DOCUMENT_PANE_TEXTS_H_
#define KORVALE_DOCUMENT_PANE_TEXTS_H_

// What the image list's rows and the previewer's labels say about one
// image, apart from its date, whose format is the user's locale.

#include <cstdint>
#include <string>

#include "base/string_ids.h"
#include "base/string_table.h"

namespace kv {

class CImage;

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
