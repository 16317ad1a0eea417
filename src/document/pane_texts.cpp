#include "document/pane_texts.h"

#include "document/conversion_options_model.h"
#include "document/document_texts.h"
#include "document/language_format.h"
#include "map/c_image.h"
#include "pdb/palm_time.h"

namespace kv {

namespace {

// The previewer's own format; not a language text.
constexpr std::string_view kPixelSizeLabelFormat = "%s %dx%d";

}  // namespace

std::uint32_t DepthNameId(int depth) {
  // The names the conversion options list shows for its depths.
  for (const DepthListEntry& entry : DepthListEntries()) {
    if (entry.depth == depth) return entry.name_id;
  }
  return 0;
}

PixelSize ImagePixelSize(const CImage& image) {
  const BitmapRecord& bitmap = image.bitmap();
  if (bitmap.bytes.empty() && image.unconverted_source()) {
    return {image.unconverted_source()->width, image.unconverted_source()->height};
  }
  return {bitmap.width, bitmap.height};
}

std::string ImageBytesText(const StringTable& strings, const CImage& image) {
  return FormatLanguageText(DocumentText(strings, kImageBytesFormatId),
                            {std::to_string(image.bitmap().bytes.size())});
}

std::string ImagePixelsText(const StringTable& strings, const CImage& image) {
  const PixelSize size = ImagePixelSize(image);
  return FormatLanguageText(DocumentText(strings, kImagePixelsFormatId),
                            {std::to_string(size.width), std::to_string(size.height)});
}

std::string ListDepthText(const StringTable& strings, const CImage& image) {
  const std::uint32_t id = DepthNameId(image.bitmap().depth);
  return id == 0 ? std::string() : DocumentText(strings, id);
}

std::string PixelSizeLabelText(const StringTable& strings, const CImage& image) {
  const PixelSize size = ImagePixelSize(image);
  return FormatLanguageText(kPixelSizeLabelFormat,
                            {DocumentText(strings, kPixelSizeLabelId), std::to_string(size.width),
                             std::to_string(size.height)});
}

std::string DepthLabelText(const StringTable& strings, const CImage& image) {
  const std::uint32_t id = DepthNameId(image.bitmap().depth);
  return DocumentText(strings, kColourDepthLabelId) + ": " +
         DocumentText(strings, id == 0 ? kSixteenBitsNameId : id);
}

std::string CompressionLabelText(const StringTable& strings, bool compressed) {
  return DocumentText(strings, compressed ? kCompressedTextId : kNotCompressedTextId);
}

std::int64_t ShownCreationTime(CImage& image, std::int64_t now_unix) {
  const std::int64_t stored = UnixFromPalmDate(image.date());
  if (stored >= 0) return stored;
  image.set_date(PalmDateFromUnix(now_unix));
  return UnixFromPalmDate(image.date());
}

}  // namespace kv
