#include "document/calibration_captions.h"

#include "document/document_texts.h"
#include "document/language_texts.h"

namespace kv {

std::vector<CaptionString> ModeCaptions(CalibrationMode mode, bool zoned_grid) {
  using F = CalibrationField;
  switch (mode) {
    case CalibrationMode::kCorners:
      return {{F::kNorthWestLatitude, zoned_grid ? 2058u : 2035u},
              {F::kNorthWestLongitude, zoned_grid ? 2069u : 2036u},
              {F::kSouthEastLatitude, zoned_grid ? 2070u : 2037u},
              {F::kSouthEastLongitude, zoned_grid ? 2071u : 2038u}};
    case CalibrationMode::kCentre:
      return {{F::kCentreLongitude, zoned_grid ? 2072u : 2039u},
              {F::kCentreLatitude, zoned_grid ? 2073u : 2040u},
              {F::kVerticalExtent, 2041u},
              {F::kHorizontalExtent, 2042u}};
    case CalibrationMode::kPoints:
      break;
  }
  return {{F::kPointLatitude, zoned_grid ? 2077u : 2075u},
          {F::kPointLongitude, zoned_grid ? 2076u : 2074u}};
}

std::string KindNameText(const StringTable& strings, CalibrationKind kind) {
  return DocumentText(strings, kFirstKindNameId + static_cast<std::uint32_t>(kind));
}

}  // namespace kv
