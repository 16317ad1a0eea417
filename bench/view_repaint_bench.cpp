// Times repaints of the desktop program's image view, 800 x 600 view
// pixels, at zooms 0.1, 0.5, 1, 2 and 8, centred on the image:
//   - a converted map of 10000 x 10000 pixels (4851 tiles, 8-bit), built in
//     memory the way make_full_map builds its map;
//   - the same size unconverted, read from a tiled GeoTIFF and from a JPEG
//     (written once into DATA_FOLDER).
// Cold is the first paint of a new view (its caches empty, the file just
// opened); warm is the median of later paints. Memory is what the view's
// caches hold and the process's resident size after the paint.
//
// Peers, run in the same process: QPainter drawing one prepared 800 x 600
// image (the least any repaint costs), and for the files GDAL reading the
// shown window into an 800 x 600 buffer from a freshly opened dataset.
//
//   view_repaint_bench DATA_FOLDER

#include <cpl_string.h>
#include <gdal.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_converted_map.h"
#include "bench_view.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "map/c_image_container.h"
#include "views/image_view_pane.h"

namespace {

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;
constexpr int kImageSize = 10000;  // 100 megapixels
constexpr int kWarmRepeats = 7;
constexpr double kZooms[] = {0.1, 0.5, 1.0, 2.0, 8.0};

using Clock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double ResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

// A tiled, uncompressed GeoTIFF of the size, written band-interleaved in
// rows of 256.
void WriteTiledTiff(const std::string& path) {
  char** options = nullptr;
  options = CSLSetNameValue(options, "TILED", "YES");
  options = CSLSetNameValue(options, "BLOCKXSIZE", "256");
  options = CSLSetNameValue(options, "BLOCKYSIZE", "256");
  GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), kImageSize,
                                    kImageSize, 3, GDT_Byte, options);
  CSLDestroy(options);
  if (dataset == nullptr) throw std::runtime_error("cannot create " + path);
  constexpr int kRows = 256;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kImageSize) * kRows * 3);
  int band_map[3] = {1, 2, 3};
  for (int top = 0; top < kImageSize; top += kRows) {
    const int rows = std::min(kRows, kImageSize - top);
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < kImageSize; ++x) {
        std::uint8_t* pixel = &pixels[3 * static_cast<std::size_t>(y * kImageSize + x)];
        const int v = top + y;
        pixel[0] = static_cast<std::uint8_t>(x / 40 + ((x ^ v) & 15));
        pixel[1] = static_cast<std::uint8_t>(v / 40 + 30);
        pixel[2] = static_cast<std::uint8_t>((x + v) / 80);
      }
    }
    if (GDALDatasetRasterIO(dataset, GF_Write, 0, top, kImageSize, rows, pixels.data(), kImageSize,
                            rows, GDT_Byte, 3, band_map, 3, 3 * kImageSize, 1) != CE_None) {
      GDALClose(dataset);
      throw std::runtime_error("cannot write " + path);
    }
  }
  GDALClose(dataset);
}

void WriteJpegFrom(const std::string& tiff, const std::string& path) {
  GDALDatasetH source = GDALOpen(tiff.c_str(), GA_ReadOnly);
  if (source == nullptr) throw std::runtime_error("cannot open " + tiff);
  try {
    kv::bench::WriteJpegCopy(source, path);
  } catch (...) {
    GDALClose(source);
    throw;
  }
  GDALClose(source);
}

// Zoom from 1.0 to `zoom`, then the middle of the image in the middle of
// the view, through the scroll bars as a user would.
void ZoomAndCentre(kv::ImageViewPane& pane, double zoom) {
  pane.SetZoom(static_cast<int>(zoom * 100.0 + 0.5));
  const kv::ImageViewGeometry& view = pane.geometry_state();
  pane.scroll_area()->horizontalScrollBar()->setValue(view.content_width() / 2 - kViewWidth / 2);
  pane.scroll_area()->verticalScrollBar()->setValue(view.content_height() / 2 - kViewHeight / 2);
}

double Repaint(kv::ImageViewPane& pane, QImage* canvas) {
  return MillisecondsOf([&]() { pane.scroll_area()->viewport()->render(canvas); });
}

struct Row {
  std::string source;
  double zoom = 0;
  double cold_ms = 0;
  double warm_ms = 0;
  double cache_mib = 0;
  double resident_mib = 0;
  double peer_read_ms = -1;  // GDAL reading the window; none for the converted map
};

// GDAL's own read of what the view shows: the window under the view,
// sampled into 800 x 600, from a dataset opened for it.
double PeerRead(const std::string& path, const kv::ImageViewGeometry& view) {
  return MillisecondsOf([&]() {
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    const kv::PixelRect shown = view.ImageRectShownIn({0, 0, kViewWidth, kViewHeight});
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(kViewWidth) * kViewHeight * 3);
    int band_map[3] = {1, 2, 3};
    GDALRasterIOExtraArg sampling;
    INIT_RASTERIO_EXTRA_ARG(sampling);
    sampling.eResampleAlg = GRIORA_NearestNeighbour;
    if (dataset == nullptr ||
        GDALDatasetRasterIOEx(dataset, GF_Read, shown.left, shown.top, shown.right - shown.left,
                              shown.bottom - shown.top, buffer.data(), kViewWidth, kViewHeight,
                              GDT_Byte, 3, band_map, 3, 3 * kViewWidth, 1, &sampling) != CE_None) {
      throw std::runtime_error("GDAL cannot read " + path);
    }
    GDALClose(dataset);
  });
}

Row Measure(const std::string& name, const std::function<void(kv::ImageViewPane&)>& show,
            double zoom, const std::string& peer_path) {
  Row row;
  row.source = name;
  row.zoom = zoom;
  kv::ImageViewPane pane;
  kv::bench::SizeView(pane, kViewWidth, kViewHeight);
  show(pane);
  ZoomAndCentre(pane, zoom);
  QImage canvas(kViewWidth, kViewHeight, QImage::Format_RGB32);
  row.cold_ms = Repaint(pane, &canvas);
  std::vector<double> warm;
  for (int i = 0; i < kWarmRepeats; ++i) warm.push_back(Repaint(pane, &canvas));
  row.warm_ms = Median(warm);
  row.cache_mib = static_cast<double>(pane.cached_bytes()) / (1024.0 * 1024.0);
  row.resident_mib = ResidentMiB();
  if (!peer_path.empty()) row.peer_read_ms = PeerRead(peer_path, pane.geometry_state());
  return row;
}

double PreparedImageDraw() {
  QImage prepared(kViewWidth, kViewHeight, QImage::Format_RGB32);
  prepared.fill(QColor(30, 90, 160));
  QImage canvas(kViewWidth, kViewHeight, QImage::Format_RGB32);
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    times.push_back(MillisecondsOf([&]() {
      QPainter painter(&canvas);
      painter.drawImage(0, 0, prepared);
    }));
  }
  return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: view_repaint_bench DATA_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::string tiff = (folder / "view-10000-tiled.tif").string();
  const std::string jpeg = (folder / "view-10000.jpg").string();
  const bool written = kv::bench::WriteInChild("view_repaint_bench", [&] {
    kv::EnsureGdalDriversRegistered();
    std::filesystem::create_directories(folder);
    if (!std::filesystem::exists(tiff)) WriteTiledTiff(tiff);
    if (!std::filesystem::exists(jpeg)) WriteJpegFrom(tiff, jpeg);
  });
  if (!written) {
    std::fprintf(stderr, "view_repaint_bench: cannot write the sources into %s\n", argv[1]);
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  try {
    kv::EnsureGdalDriversRegistered();

    const std::unique_ptr<kv::CImageContainer> map = kv::bench::ConvertedMapOfSize(kImageSize);
    kv::CImage tiff_image;
    tiff_image.set_unconverted_source(kv::CImage::UnconvertedSource{tiff, kImageSize, kImageSize});
    kv::CImage jpeg_image;
    jpeg_image.set_unconverted_source(kv::CImage::UnconvertedSource{jpeg, kImageSize, kImageSize});

    const double prepared = PreparedImageDraw();
    const double baseline_mib = ResidentMiB();
    std::vector<Row> rows;
    for (double zoom : kZooms) {
      rows.push_back(Measure(
          "converted map", [&](kv::ImageViewPane& pane) { pane.ShowImage(map->ImageAt(0)); }, zoom,
          ""));
    }
    for (double zoom : kZooms) {
      rows.push_back(Measure(
          "tiled GeoTIFF", [&](kv::ImageViewPane& pane) { pane.ShowImage(&tiff_image); }, zoom,
          tiff));
    }
    for (double zoom : kZooms) {
      rows.push_back(Measure(
          "JPEG", [&](kv::ImageViewPane& pane) { pane.ShowImage(&jpeg_image); }, zoom, jpeg));
    }

    std::printf(
        "800 x 600 view of a 10000 x 10000 image; prepared-image draw (peer) %.3f ms; "
        "resident before the views %.0f MiB (the converted map's %zu tiles included)\n\n",
        prepared, baseline_mib, map->image_count() - 1);
    std::printf(
        "| source        | zoom | cold ms | warm ms | warm / draw | GDAL read ms | cold / read |"
        " cache MiB | RSS + MiB |\n");
    std::printf(
        "| ------------- | ---- | ------- | ------- | ----------- | ------------ | ----------- |"
        " --------- | --------- |\n");
    for (const Row& row : rows) {
      char peer[32] = "-";
      char cold_ratio[32] = "-";
      if (row.peer_read_ms >= 0) {
        std::snprintf(peer, sizeof peer, "%.1f", row.peer_read_ms);
        std::snprintf(cold_ratio, sizeof cold_ratio, "%.2f", row.cold_ms / row.peer_read_ms);
      }
      std::printf("| %-13s | %4.1f | %7.1f | %7.2f | %11.1f | %12s | %11s | %9.1f | %9.0f |\n",
                  row.source.c_str(), row.zoom, row.cold_ms, row.warm_ms, row.warm_ms / prepared,
                  peer, cold_ratio, row.cache_mib, row.resident_mib - baseline_mib);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "view_repaint_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
