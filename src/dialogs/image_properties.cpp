#include "dialogs/image_properties.h"

#include "document/pane_texts.h"

namespace kv {

namespace {

std::string Replaced(std::string text, const std::string& first, const std::string& second) {
  std::size_t at = text.find("%s");
  if (at != std::string::npos) {
    text.replace(at, 2, first);
    at = text.find("%s", at + first.size());
    if (at != std::string::npos) text.replace(at, 2, second);
  }
  return text;
}

std::string SizeText(const DialogTexts& texts, std::int64_t width, std::int64_t height) {
  return Replaced(texts.Text(kPropertySizeFormat), std::to_string(width), std::to_string(height));
}

std::string CompressionText(const DialogTexts& texts, const BitmapRecord& bitmap) {
  if (!bitmap.compressed) return texts.Text(kPropertyNotCompressed);
  return texts.Text(bitmap.compression_type == 0 ? kPropertyScanline : kPropertyRle);
}

std::string KindText(const DialogTexts& texts, std::int32_t kind) {
  switch (kind) {
    case kCalibrationGeographic:
      return texts.Text(kPropertyKindGeographic);
    case kCalibrationProjection:
      return texts.Text(kPropertyKindProjection);
    case kCalibrationThreeByThree:
      return texts.Text(kPropertyKindThreeByThree);
    case kCalibrationKnownPoints:
      return texts.Text(kPropertyKindPoints);
    default:
      return texts.Text(kPropertyKindUnknown);
  }
}

std::string CornerPair(const CImage& image, CornerText latitude, CornerText longitude) {
  const std::string& lat = image.corner_text(latitude);
  const std::string& lon = image.corner_text(longitude);
  if (lat.empty() && lon.empty()) return "-";
  return lat + "  " + lon;
}

void AddCalibration(const DialogTexts& texts, const CImage& image,
                    const CalibrationRecord* calibration, std::vector<PropertyRow>* rows) {
  if (calibration == nullptr) {
    rows->push_back({kPropertyCalibration, texts.Text(kPropertyTileCalibration)});
    return;
  }
  const int points = CountPositionedPoints(*calibration);
  if (!HasBounds(*calibration) && points == 0) {
    rows->push_back({kPropertyCalibration, texts.Text(kPropertyNoCalibration)});
    return;
  }
  rows->push_back({kPropertyCalibration, KindText(texts, calibration->proj_mode)});
  rows->push_back({kPropertyPoints, std::to_string(points)});
  rows->push_back({kPropertyDatum, calibration->datum_name.value_or("WGS84")});
  rows->push_back({kPropertyNorthWest, CornerPair(image, kTopLeftLatitude, kTopLeftLongitude)});
  rows->push_back(
      {kPropertySouthEast, CornerPair(image, kBottomRightLatitude, kBottomRightLongitude)});
}

}  // namespace

std::vector<PropertyRow> ImagePropertyRows(const DialogTexts& texts, const StringTable& strings,
                                           const CImage& image,
                                           const CalibrationRecord* calibration) {
  std::vector<PropertyRow> rows;
  rows.push_back({kPropertyName, image.name()});
  const PixelSize pixels = ImagePixelSize(image);
  rows.push_back({kPropertyPixels, SizeText(texts, pixels.width, pixels.height)});
  if (image.map_width() != 0 || image.map_height() != 0) {
    rows.push_back({kPropertyMapSize, SizeText(texts, image.map_width(), image.map_height())});
  }
  if (image.unconverted_source()) {
    rows.push_back({kPropertyBytes, texts.Text(kPropertyNotConverted)});
  } else {
    rows.push_back({kPropertyBytes, ImageBytesText(strings, image)});
    rows.push_back({kPropertyDepth, ListDepthText(strings, image)});
    rows.push_back({kPropertyCompression, CompressionText(texts, image.bitmap())});
  }
  AddCalibration(texts, image, calibration, &rows);
  return rows;
}

}  // namespace kv
