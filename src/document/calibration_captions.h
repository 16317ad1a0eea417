#ifndef KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_
#define KORVALE_DOCUMENT_CALIBRATION_CAPTIONS_H_

// Which language string captions each position field of the calibration
// panel, which depends on the mode and on whether positions are typed as a
// zoned grid reference, and the panel's other texts by string ID.

#include <cstdint>
#include <string>
#include <vector>

#include "base/string_ids.h"
#include "base/string_table.h"
#include "document/calibration_fields.h"

namespace kv {

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
