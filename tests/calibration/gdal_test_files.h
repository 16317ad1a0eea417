#ifndef KORVALE_TESTS_CALIBRATION_GDAL_TEST_FILES_H_
#define KORVALE_TESTS_CALIBRATION_GDAL_TEST_FILES_H_

// Small rasters written with GDAL for the peer checks: a PNG for the size
// of a ".map" or world file image, and GeoTIFFs with a geotransform and a
// coordinate reference system.

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <array>
#include <string>

namespace kv::testing {

inline void RegisterGdal() { GDALAllRegister(); }

inline GDALDatasetH MemoryRaster(int width, int height) {
  RegisterGdal();
  GDALDriverH memory = GDALGetDriverByName("MEM");
  return GDALCreate(memory, "", width, height, 1, GDT_Byte, nullptr);
}

// True when the file was written.
inline bool WritePng(const std::string& path, int width, int height) {
  GDALDatasetH source = MemoryRaster(width, height);
  if (!source) return false;
  GDALDatasetH copy = GDALCreateCopy(GDALGetDriverByName("PNG"), path.c_str(), source, FALSE,
                                     nullptr, nullptr, nullptr);
  GDALClose(source);
  if (!copy) return false;
  GDALClose(copy);
  return true;
}

// `epsg` 0 writes no coordinate system; an empty geotransform none either.
inline bool WriteGeoTiff(const std::string& path, int width, int height,
                         const std::array<double, 6>* geo, int epsg) {
  RegisterGdal();
  GDALDatasetH dataset =
      GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 1, GDT_Byte, nullptr);
  if (!dataset) return false;
  if (geo) GDALSetGeoTransform(dataset, const_cast<double*>(geo->data()));
  if (epsg != 0) {
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    GDALSetSpatialRef(dataset, srs);
    OSRRelease(srs);
  }
  GDALClose(dataset);
  return true;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CALIBRATION_GDAL_TEST_FILES_H_
