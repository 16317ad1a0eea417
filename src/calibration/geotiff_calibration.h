#ifndef KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_
#define KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_

// Calibration from a GeoTIFF's own georeferencing, read with GDAL: its
// geotransform and coordinate reference system become nine calibration
// points in WGS84 latitude and longitude, laid out as a world file's. A
// TIFF georeferenced by ground control points instead gives up to nine of
// them, those nearest to the same nine places.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// What the georeferencing was, for the user.
struct GeoTiffReport {
  int control_points = 0;  // ground control points in the file; 0 with a geotransform
  int points_used = 0;     // of those, taken as calibration points
  // Root mean square distance, in pixels, of the control points from the
  // affine fit through all of them.
  double rms_pixels = 0.0;
  std::string coordinate_system;  // with ImportStatus::kGeoTiffUnsupportedSystem
};

// Clears `*import` and fills it from the GeoTIFF at `path`; `*width` and
// `*height` get the image size. ImportStatus::kOk, ImportStatus::kGeoTiffNotGeoreferenced,
// ImportStatus::kGeoTiffUnsupportedSystem, or ImportStatus::kOpenFailed when GDAL cannot open the
// file as a TIFF. World files beside the TIFF are not consulted (they are read as world files).
ImportStatus ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import,
                                    std::int32_t* width, std::int32_t* height);
// The same, also telling what was read.
ImportStatus ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import,
                                    std::int32_t* width, std::int32_t* height,
                                    GeoTiffReport* report);

// Our datum code for the datum of a coordinate system given as WKT: none
// for WGS84 (and for WKT GDAL cannot read), the datum table's code when the
// alias or datum table knows the name, else the name as GDAL gives it.
std::optional<std::string> DatumCodeFromWkt(const std::string& wkt);
// The same; a name the tables do not know is also warned about
// (kUnknownDatum) in `*warnings`.
std::optional<std::string> DatumCodeFromWkt(const std::string& wkt,
                                            std::vector<ImportWarning>* warnings);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_
