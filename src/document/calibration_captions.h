#ifndef KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_
#define KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_

// Which language string captions each position field of the calibration
// panel, which depends on the mode and on whether positions are typed as a
// zoned grid reference, and the panel's other texts by string ID.

#include <cstdint>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "document/calibration_fields.h"

namespace kv {

// Validation messages are shown under this caption.
inline constexpr std::uint32_t kValidationCaptionString = 2045;
// Whether to leave the points for corners or centre, dropping them.
inline constexpr std::uint32_t kLeavePointsQuestionString = 2065;
// The help line after a click in the image that set no point: without
// pick checked, and without the point fields.
inline constexpr std::uint32_t kClickNeedsPickString = 2260;
inline constexpr std::uint32_t kClickNeedsPointsString = 2261;
// Column headers of the point table; a grid's northing and easting take
// the place of latitude and longitude.
inline constexpr std::uint32_t kPixelXColumnString = 2262;
inline constexpr std::uint32_t kPixelYColumnString = 2263;
inline constexpr std::uint32_t kLatitudeColumnString = 2264;
inline constexpr std::uint32_t kLongitudeColumnString = 2265;
inline constexpr std::uint32_t kNorthingColumnString = 2266;
inline constexpr std::uint32_t kEastingColumnString = 2267;

struct CaptionString {
  CalibrationField field = CalibrationField::kNone;
  std::uint32_t string = 0;  // string ID
};

// The position fields of `mode` with their captions, row by row of the
// panel: in the centre mode the longitude comes first.
std::vector<CaptionString> ModeCaptions(CalibrationMode mode, bool zoned_grid);

// The calibration kind in the language of `strings` (English when the
// language lacks it).
std::string KindNameText(const StringTable& strings, CalibrationKind kind);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_
