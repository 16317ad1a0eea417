#ifndef KORVALE_CALIBRATION_SOURCE_CALIBRATION_H_
#define KORVALE_CALIBRATION_SOURCE_CALIBRATION_H_

// The calibration a source image carries itself: a chart's reference points
// or a GeoTIFF's georeferencing, made into a record the one way both the
// program's import and kvmap read it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_import.h"
#include "calibration/geotiff_calibration.h"

namespace kv {

class ImageSource;

struct SourceCalibrationRecord {
  CalibrationRecord record;
  // What the source gave that the user must hear about (an unknown datum).
  std::vector<ImportWarning> warnings;
};

// The record of an open chart (ImageSourceKind::kChart) for its full size:
// CalibrateChart over its reference points, with the datum of its
// coordinate system. None when it has fewer than two usable points.
std::optional<SourceCalibrationRecord> ReadChartCalibration(const ImageSource& chart);

struct GeoTiffSourceCalibration : SourceCalibrationRecord {
  GeoTiffReport report;
  // With ImportStatus::kOffTheEarth: the value refused, in words.
  std::string refusal;
};

// The record of the GeoTIFF at `path` for its full size. ImportStatus::kOk; the
// statuses of ReadGeoTiffCalibration (ImportStatus::kGeoTiffNotGeoreferenced,
// ImportStatus::kGeoTiffUnsupportedSystem, ImportStatus::kOpenFailed); or
// ImportStatus::kOffTheEarth when its georeferencing is no place on the Earth
// (ReadImportedCalibration).
ImportStatus ReadGeoTiffSourceCalibration(const std::string& path,
                                          std::string_view negative_letters,
                                          GeoTiffSourceCalibration* calibration);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_SOURCE_CALIBRATION_H_
