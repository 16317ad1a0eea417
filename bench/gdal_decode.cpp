// The peer the conversion benchmarks measure against: GDAL decoding every
// pixel of an image once, top to bottom, in whole block rows, into planes of
// red, green and blue bytes (its fastest order and layout), on one thread
// and with GDAL's default block cache. Prints the seconds it took.
//
//   gdal_decode IMAGE

#include <cpl_conv.h>
#include <gdal.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Rows read by one call: whole block rows of about 4 MiB or more.
int BandRows(GDALDatasetH dataset, std::size_t row_bytes) {
  int block_width = 0;
  int block_height = 0;
  GDALGetBlockSize(GDALGetRasterBand(dataset, 1), &block_width, &block_height);
  const std::size_t block_rows = static_cast<std::size_t>(std::max(block_height, 1));
  const std::size_t wanted = std::max<std::size_t>(1, (std::size_t{4} << 20) / row_bytes);
  return static_cast<int>((wanted + block_rows - 1) / block_rows * block_rows);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gdal_decode IMAGE\n");
    return 2;
  }
  GDALAllRegister();
  GDALDatasetH dataset = GDALOpen(argv[1], GA_ReadOnly);
  if (dataset == nullptr) return 1;
  const int width = GDALGetRasterXSize(dataset);
  const int height = GDALGetRasterYSize(dataset);
  const int bands = std::min(GDALGetRasterCount(dataset), 3);
  const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
  const int band_rows = BandRows(dataset, row_bytes);
  std::vector<std::uint8_t> pixels(row_bytes * static_cast<std::size_t>(band_rows));
  int band_map[3] = {1, 2, 3};
  const auto start = std::chrono::steady_clock::now();
  for (int first = 0; first < height; first += band_rows) {
    const int rows = std::min(band_rows, height - first);
    if (GDALDatasetRasterIOEx(dataset, GF_Read, 0, first, width, rows, pixels.data(), width, rows,
                              GDT_Byte, bands, band_map, 1, width,
                              static_cast<GSpacing>(width) * rows, nullptr) != CE_None) {
      return 1;
    }
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", seconds.count());
  GDALClose(dataset);
  return 0;
}
