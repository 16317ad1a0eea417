#ifndef KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_
#define KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_

// Calibration from a GeoTIFF's own georeferencing, read with GDAL: its
// geotransform and coordinate reference system become nine calibration
// points in WGS84 latitude and longitude, laid out as a world file's.

#include <cstdint>
#include <optional>
#include <string>

#include "calibration/calibration_import.h"

namespace kv {

// The TIFF opened but carries no georeferencing of its own (no
// geotransform, or no coordinate reference system): import it without
// calibration.
inline constexpr int kGeoTiffNotGeoreferenced = -24;

// Clears `*import` and fills it from the GeoTIFF at `path`; `*width` and
// `*height` get the image size. kImportOk, kGeoTiffNotGeoreferenced, or
// kImportOpenFailed when GDAL cannot open the file as a TIFF. World files
// beside the TIFF are not consulted (they are read as world files).
int ReadGeoTiffCalibration(const std::string& path, CalibrationImport* import, std::int32_t* width,
                           std::int32_t* height);

// Our datum code for the datum of a coordinate system given as WKT: none
// for WGS84 (and for WKT GDAL cannot read), the datum table's code when the
// alias or datum table knows the name, else the name as GDAL gives it.
std::optional<std::string> DatumCodeFromWkt(const std::string& wkt);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_GEOTIFF_CALIBRATION_H_
