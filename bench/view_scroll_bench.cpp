// How long the window's thread is busy in one go while the image view
// scrolls and zooms, beside how long the picture takes to complete:
//   (a) a 10000 x 10000 JPEG,
//   (b) a 1-gigapixel tiled, compressed GeoTIFF (32768 x 32768),
//   (c) a converted map of 10000 x 10000 pixels (4851 8-bit tiles) in memory.
// The files are written into FOLDER by a child process with GDAL (simple
// content, so they are quick to make and small) and deleted afterwards.
//
// Every event the window's thread handles is timed (the application's
// notify); "busy" is the longest of them in a step, the user's own wheel
// turn included. A step is one wheel notch (or a zoom by Ctrl+wheel) and
// then waiting until everything in sight is drawn ("complete"; the ring of
// blocks read ahead around it may still be on its way). The burst
// turns the wheel 20 notches 16 ms apart without waiting, then waits.
// Memory: the view's decoded pieces (cache) and the process's peak size.
//
//   view_scroll_bench FOLDER

#include <cpl_string.h>
#include <gdal.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench_converted_map.h"
#include "bench_view.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "views/image_view_pane.h"

namespace {

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;
constexpr int kJpegSize = 10000;
constexpr int kTiffSize = 32768;  // 1.07 gigapixels
constexpr int kMapSize = 10000;
constexpr int kBurstNotches = 20;
constexpr int kBurstGapMs = 16;
constexpr int kCompleteTimeoutMs = 120000;

using Clock = std::chrono::steady_clock;

// Times each event the window's thread handles from the event loop.
class TimedApplication final : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    if (depth_++ > 0) {
      const bool handled = QApplication::notify(receiver, event);
      --depth_;
      return handled;
    }
    const Clock::time_point start = Clock::now();
    const double start_cpu = ThreadCpuMs();
    const bool handled = QApplication::notify(receiver, event);
    longest_ms_ = std::max(longest_ms_,
                           std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    longest_cpu_ms_ = std::max(longest_cpu_ms_, ThreadCpuMs() - start_cpu);
    --depth_;
    return handled;
  }

  // The longest event since the last call: wall time, and the processor
  // time the window's thread spent in it (the rest is time other processes
  // had the processor).
  std::pair<double, double> TakeLongest() {
    return {std::exchange(longest_ms_, 0.0), std::exchange(longest_cpu_ms_, 0.0)};
  }

 private:
  static double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
  }

  int depth_ = 0;
  double longest_ms_ = 0;
  double longest_cpu_ms_ = 0;
};

double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// Bands of 256 rows of a simple picture (colour fields with a grid), so
// that the files compress well and are written fast.
void WritePicture(GDALDatasetH dataset, int size) {
  constexpr int kRows = 256;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * kRows * 3);
  int band_map[3] = {1, 2, 3};
  for (int top = 0; top < size; top += kRows) {
    const int rows = std::min(kRows, size - top);
    for (int y = 0; y < rows; ++y) {
      std::uint8_t* pixel =
          &pixels[3 * static_cast<std::size_t>(y) * static_cast<std::size_t>(size)];
      const int v = top + y;
      for (int x = 0; x < size; ++x, pixel += 3) {
        const bool grid = x % 500 < 3 || v % 500 < 3;
        pixel[0] = grid ? 0 : static_cast<std::uint8_t>(x * 255 / size);
        pixel[1] = grid ? 0 : static_cast<std::uint8_t>(v * 255 / size);
        pixel[2] = grid ? 0 : static_cast<std::uint8_t>(((x / 500) ^ (v / 500)) * 40);
      }
    }
    if (GDALDatasetRasterIO(dataset, GF_Write, 0, top, size, rows, pixels.data(), size, rows,
                            GDT_Byte, 3, band_map, 3, 3 * size, 1) != CE_None) {
      throw std::runtime_error("cannot write a picture");
    }
  }
}

void WriteTiledTiff(const std::string& path) {
  char** options = nullptr;
  for (const char* option : {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "COMPRESS=DEFLATE",
                             "ZLEVEL=1", "NUM_THREADS=2", "BIGTIFF=YES"}) {
    options = CSLAddString(options, option);
  }
  GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), kTiffSize,
                                    kTiffSize, 3, GDT_Byte, options);
  CSLDestroy(options);
  if (dataset == nullptr) throw std::runtime_error("cannot create " + path);
  WritePicture(dataset, kTiffSize);
  GDALClose(dataset);
}

void WriteJpeg(const std::string& path) {
  GDALDatasetH memory =
      GDALCreate(GDALGetDriverByName("MEM"), "", kJpegSize, kJpegSize, 3, GDT_Byte, nullptr);
  if (memory == nullptr) throw std::runtime_error("cannot make the JPEG's picture");
  WritePicture(memory, kJpegSize);
  try {
    kv::bench::WriteJpegCopy(memory, path);
  } catch (...) {
    GDALClose(memory);
    throw;
  }
  GDALClose(memory);
}

// Runs the event loop until the view's picture is complete; milliseconds
// from `start`, or -1 past the timeout.
double WaitComplete(kv::ImageViewPane& pane, const QElapsedTimer& start) {
  // The paint the last action asked for comes first: it says what is
  // missing now.
  QApplication::sendPostedEvents();
  QTimer tick;  // wakes the loop while nothing else comes
  tick.start(1);
  while (!pane.picture_complete()) {
    if (start.elapsed() > kCompleteTimeoutMs) return -1;
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return static_cast<double>(start.nsecsElapsed()) / 1e6;
}

void TurnWheel(kv::ImageViewPane& pane, int eighths, Qt::KeyboardModifiers modifiers) {
  QWidget* view = pane.scroll_area()->viewport();
  const QPoint at(kViewWidth / 2, kViewHeight / 2);
  QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                    modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
}

struct Step {
  std::string name;
  std::function<void(kv::ImageViewPane&)> act;
  bool burst = false;
};

struct Figures {
  std::string input;
  std::string step;
  double busy_ms = 0;
  double busy_cpu_ms = 0;
  double complete_ms = 0;
  double zoom = 0;
  double cache_mib = 0;
};

std::vector<Step> Steps() {
  const auto wheel = [](int eighths, Qt::KeyboardModifiers modifiers = {}) {
    return [eighths, modifiers](kv::ImageViewPane& pane) { TurnWheel(pane, eighths, modifiers); };
  };
  std::vector<Step> steps;
  for (int i = 0; i < 3; ++i) steps.push_back({"scroll down", wheel(-120)});
  for (int i = 0; i < 2; ++i) steps.push_back({"scroll across", wheel(-120, Qt::ShiftModifier)});
  for (int i = 0; i < 4; ++i) steps.push_back({"zoom out", wheel(-240, Qt::ControlModifier)});
  steps.push_back({"scroll down", wheel(-120)});
  for (int i = 0; i < 5; ++i) steps.push_back({"zoom in", wheel(240, Qt::ControlModifier)});
  steps.push_back({"scroll up", wheel(120)});
  steps.push_back({"burst of scrolls", wheel(-120), true});
  return steps;
}

std::vector<Figures> Measure(TimedApplication& application, const std::string& input,
                             const std::function<void(kv::ImageViewPane&)>& show) {
  std::vector<Figures> rows;
  kv::ImageViewPane pane;
  kv::bench::SizeView(pane, kViewWidth, kViewHeight);
  const auto record = [&](const std::string& step, double complete_ms) {
    const auto [busy, busy_cpu] = application.TakeLongest();
    rows.push_back({input, step, busy, busy_cpu, complete_ms, pane.geometry_state().zoom(),
                    static_cast<double>(pane.cached_bytes()) / (1024.0 * 1024.0)});
  };
  QElapsedTimer clock;
  application.TakeLongest();
  clock.start();
  show(pane);
  // The middle of the image in the middle of the view.
  const kv::ImageViewGeometry& view = pane.geometry_state();
  pane.scroll_area()->horizontalScrollBar()->setValue(view.content_width() / 2 - kViewWidth / 2);
  pane.scroll_area()->verticalScrollBar()->setValue(view.content_height() / 2 - kViewHeight / 2);
  pane.scroll_area()->viewport()->update();
  record("open at zoom 1", WaitComplete(pane, clock));
  for (const Step& step : Steps()) {
    application.TakeLongest();
    clock.start();
    const int turns = step.burst ? kBurstNotches : 1;
    for (int i = 0; i < turns; ++i) {
      const qint64 due = clock.elapsed() + kBurstGapMs;
      step.act(pane);
      while (step.burst && clock.elapsed() < due) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, kBurstGapMs);
      }
    }
    record(step.name, WaitComplete(pane, clock));
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: view_scroll_bench FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::path(argv[1]) / "kv-view-scroll-bench";
  const std::string tiff = (folder / "gigapixel-tiled.tif").string();
  const std::string jpeg = (folder / "view-10000.jpg").string();
  const Clock::time_point writing = Clock::now();
  const bool written = kv::bench::WriteInChild("view_scroll_bench", [&] {
    kv::EnsureGdalDriversRegistered();
    std::filesystem::create_directories(folder);
    WriteJpeg(jpeg);
    WriteTiledTiff(tiff);
  });
  if (!written) {
    std::fprintf(stderr, "view_scroll_bench: cannot write the sources into %s\n", argv[1]);
    std::filesystem::remove_all(folder);
    return 1;
  }
  const double writing_s = std::chrono::duration<double>(Clock::now() - writing).count();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TimedApplication application(argc, argv);
  int status = 0;
  try {
    kv::EnsureGdalDriversRegistered();
    std::vector<Figures> rows;
    kv::CImage jpeg_image;
    jpeg_image.set_unconverted_source(kv::CImage::UnconvertedSource{jpeg, kJpegSize, kJpegSize});
    for (Figures& row : Measure(application, "JPEG 10000 x 10000",
                                [&](kv::ImageViewPane& pane) { pane.ShowImage(&jpeg_image); }))
      rows.push_back(row);
    const double after_jpeg_mib = PeakResidentMiB();
    kv::CImage tiff_image;
    tiff_image.set_unconverted_source(kv::CImage::UnconvertedSource{tiff, kTiffSize, kTiffSize});
    for (Figures& row : Measure(application, "GeoTIFF 1 gigapixel",
                                [&](kv::ImageViewPane& pane) { pane.ShowImage(&tiff_image); }))
      rows.push_back(row);
    const double after_tiff_mib = PeakResidentMiB();
    const std::unique_ptr<kv::CImageContainer> map = kv::bench::ConvertedMapOfSize(kMapSize);
    for (Figures& row : Measure(application, "converted map 100 Mpx",
                                [&](kv::ImageViewPane& pane) { pane.ShowImage(map->ImageAt(0)); }))
      rows.push_back(row);
    const double after_map_mib = PeakResidentMiB();

    std::printf("800 x 600 view; sources written in %.0f s; aim: busy <= 16 ms at every step\n\n",
                writing_s);
    std::printf(
        "| input                 | step             |  zoom | busy ms | busy CPU ms | complete ms |"
        " cache MiB |\n");
    std::printf(
        "| --------------------- | ---------------- | ----- | ------- | ----------- | ----------- |"
        " --------- |\n");
    for (const Figures& row : rows) {
      std::printf("| %-21s | %-16s | %5.3f | %7.1f | %11.1f | %11.0f | %9.1f |\n",
                  row.input.c_str(), row.step.c_str(), row.zoom, row.busy_ms, row.busy_cpu_ms,
                  row.complete_ms, row.cache_mib);
    }
    std::printf(
        "\n| input                 | worst busy ms | worst busy CPU ms | worst complete ms |"
        " peak RSS MiB after |\n");
    std::printf(
        "| --------------------- | ------------- | ----------------- | ----------------- |"
        " ------------------ |\n");
    const double peaks[] = {after_jpeg_mib, after_tiff_mib, after_map_mib};
    int input_index = 0;
    for (const char* input :
         {"JPEG 10000 x 10000", "GeoTIFF 1 gigapixel", "converted map 100 Mpx"}) {
      double busy = 0;
      double busy_cpu = 0;
      double complete = 0;
      for (const Figures& row : rows) {
        if (row.input != input) continue;
        busy = std::max(busy, row.busy_ms);
        busy_cpu = std::max(busy_cpu, row.busy_cpu_ms);
        complete = row.complete_ms < 0 ? 1e9 : std::max(complete, row.complete_ms);
      }
      std::printf("| %-21s | %13.1f | %17.1f | %17.0f | %18.0f |\n", input, busy, busy_cpu,
                  complete, peaks[input_index++]);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "view_scroll_bench: %s\n", error.what());
    status = 1;
  }
  std::filesystem::remove_all(folder);
  return status;
}
