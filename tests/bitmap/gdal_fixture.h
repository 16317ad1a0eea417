#ifndef KORVALE_TESTS_BITMAP_GDAL_FIXTURE_H_
#define KORVALE_TESTS_BITMAP_GDAL_FIXTURE_H_

// Writes small raster files with GDAL itself (an in-memory dataset copied
// into the wanted format), so tests need no image files on disk.

#include <cpl_string.h>
#include <gdal.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/gdal/gdal_runtime.h"

namespace kv::testing {

struct RasterLayout {
  std::string driver = "PNG";
  int width = 37;
  int height = 23;
  int bands = 3;
  GDALDataType type = GDT_Byte;
  std::vector<std::uint32_t> palette{};  // set on band 1 when not empty
  std::vector<std::string> options{};    // creation options, "NAME=VALUE"
};

// The sample of one band (1 = first) at (x, y).
using SampleValue = std::function<double(int band, int x, int y)>;

inline bool WriteRaster(const std::string& path, const RasterLayout& params,
                        const SampleValue& sample) {
  EnsureGdalDriversRegistered();
  GDALDatasetH memory = GDALCreate(GDALGetDriverByName("MEM"), "", params.width, params.height,
                                   params.bands, params.type, nullptr);
  if (memory == nullptr) return false;
  std::vector<double> values(static_cast<std::size_t>(params.width) * params.height);
  bool ok = true;
  for (int band = 1; band <= params.bands; ++band) {
    for (int y = 0; y < params.height; ++y) {
      for (int x = 0; x < params.width; ++x) values[y * params.width + x] = sample(band, x, y);
    }
    ok = ok &&
         GDALRasterIO(GDALGetRasterBand(memory, band), GF_Write, 0, 0, params.width, params.height,
                      values.data(), params.width, params.height, GDT_Float64, 0, 0) == CE_None;
  }
  if (!params.palette.empty()) {
    GDALColorTableH table = GDALCreateColorTable(GPI_RGB);
    for (std::size_t i = 0; i < params.palette.size(); ++i) {
      const std::uint32_t rgb = params.palette[i];
      const GDALColorEntry entry{static_cast<short>(rgb >> 16),
                                 static_cast<short>((rgb >> 8) & 0xFF),
                                 static_cast<short>(rgb & 0xFF), 255};
      GDALSetColorEntry(table, static_cast<int>(i), &entry);
    }
    GDALSetRasterColorTable(GDALGetRasterBand(memory, 1), table);
    GDALDestroyColorTable(table);
  }
  char** options = nullptr;
  for (const std::string& option : params.options) options = CSLAddString(options, option.c_str());
  GDALDatasetH copy = ok ? GDALCreateCopy(GDALGetDriverByName(params.driver.c_str()), path.c_str(),
                                          memory, FALSE, options, nullptr, nullptr)
                         : nullptr;
  CSLDestroy(options);
  GDALClose(memory);
  if (copy == nullptr) return false;
  GDALClose(copy);
  return true;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_BITMAP_GDAL_FIXTURE_H_
