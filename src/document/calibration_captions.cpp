#include "document/calibration_captions.h"

#include "base/string_ids.h"
#include "document/document_texts.h"

namespace kv {

std::vector<CaptionString> ModeCaptions(CalibrationMode mode, bool zoned_grid) {
  using F = CalibrationField;
  switch (mode) {
    case CalibrationMode::kCorners:
      return {{F::kNorthWestLatitude,
               zoned_grid ? kNorthWestNorthingCaptionString : kNorthWestLatitudeCaptionString},
              {F::kNorthWestLongitude,
               zoned_grid ? kNorthWestEastingCaptionString : kNorthWestLongitudeCaptionString},
              {F::kSouthEastLatitude,
               zoned_grid ? kSouthEastNorthingCaptionString : kSouthEastLatitudeCaptionString},
              {F::kSouthEastLongitude,
               zoned_grid ? kSouthEastEastingCaptionString : kSouthEastLongitudeCaptionString}};
    case CalibrationMode::kCentre:
      return {{F::kCentreLongitude,
               zoned_grid ? kCentreEastingCaptionString : kCentreLongitudeCaptionString},
              {F::kCentreLatitude,
               zoned_grid ? kCentreNorthingCaptionString : kCentreLatitudeCaptionString},
              {F::kVerticalExtent, kVerticalExtentCaptionString},
              {F::kHorizontalExtent, kHorizontalExtentCaptionString}};
    case CalibrationMode::kPoints:
      break;
  }
  return {
      {F::kPointLatitude, zoned_grid ? kPointNorthingCaptionString : kPointLatitudeCaptionString},
      {F::kPointLongitude, zoned_grid ? kPointEastingCaptionString : kPointLongitudeCaptionString}};
}

std::string KindNameText(const StringTable& strings, CalibrationKind kind) {
  return DocumentText(strings, kFirstKindNameId + static_cast<std::uint32_t>(kind));
}

}  // namespace kv
