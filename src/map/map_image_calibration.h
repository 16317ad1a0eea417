#ifndef KORVALE_MAP_MAP_IMAGE_CALIBRATION_H_
#define KORVALE_MAP_MAP_IMAGE_CALIBRATION_H_

// The calibration a map database keeps with its first image, read back the
// one way the document's re-opening and `kvmap calibration` share.

#include <string_view>

#include "calibration/calibration_record.h"
#include "map/c_image.h"

namespace kv {

// Reads into `*record` the image's map size, its corner texts as the bounds
// (an empty text is 0) and then its calibration text as map text, with
// stripping, so that the pending text keeps exactly the lines not
// understood. What the map does not give stays as it was in `*record`.
void ReadMapImageCalibration(const CImage& image, std::string_view negative_letters,
                             CalibrationRecord* record);

}  // namespace kv

#endif  // KORVALE_MAP_MAP_IMAGE_CALIBRATION_H_
