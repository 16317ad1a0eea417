// kvmap convert of many sources at once, against the same conversions run
// one after another and against GDAL decoding every source, all in this
// process: 50 photo-like JPEGs of 2000 x 2000 pixels (4 megapixels), each
// with a calibration file beside it, written into a temporary folder first
// and removed at the end. The decode is bench/gdal_decode's: every pixel
// once, in block rows, on one thread. The aim is the batch at or below
// 1.1 x the sum of the decode times. Each run is repeated three times and
// the fastest round counted.
//
//   batch_convert_bench [FOLDER] [COUNT]     (default the system's temporary
//                                             folder and 50 sources)
//
// Threads as kvmap takes them: KV_THREADS, or one per core.

#include <cpl_conv.h>
#include <gdal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bitmap/conversion_threads.h"
#include "cli/convert_batch.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 2000;
constexpr int kRounds = 3;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of all threads so far, user and system.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Smooth colour fields with a little texture, different for each source,
// written as a JPEG of quality 90 through GDAL.
bool WriteJpeg(const std::string& path, int seed) {
  GDALDatasetH memory =
      GDALCreate(GDALGetDriverByName("MEM"), "", kSide, kSide, 3, GDT_Byte, nullptr);
  std::vector<std::uint8_t> row(kSide);
  for (int band = 1; band <= 3; ++band) {
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const int texture = ((x * 7919) ^ (y * 104729) ^ seed) & 15;
        const int field = band == 1 ? x / 9 + seed : band == 2 ? y / 7 + 40 : (x + y) / 13 + 90;
        row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((field + texture) & 0xFF);
      }
      if (GDALRasterIO(GDALGetRasterBand(memory, band), GF_Write, 0, y, kSide, 1, row.data(), kSide,
                       1, GDT_Byte, 0, 0) != CE_None) {
        return false;
      }
    }
  }
  char* options[] = {const_cast<char*>("QUALITY=90"), nullptr};
  GDALDatasetH jpeg = GDALCreateCopy(GDALGetDriverByName("JPEG"), path.c_str(), memory, FALSE,
                                     options, nullptr, nullptr);
  GDALClose(memory);
  if (jpeg == nullptr) return false;
  GDALClose(jpeg);
  return true;
}

// Every pixel once, top to bottom in block rows of about 4 MiB, as
// bench/gdal_decode reads.
double DecodeSeconds(const std::string& path) {
  const Clock::time_point start = Clock::now();
  GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
  if (dataset == nullptr) return -1;
  const int width = GDALGetRasterXSize(dataset);
  const int height = GDALGetRasterYSize(dataset);
  const int rows = std::max(1, (4 << 20) / (width * 3));
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * 3 *
                                   static_cast<std::size_t>(rows));
  int bands[3] = {1, 2, 3};
  for (int first = 0; first < height; first += rows) {
    const int count = std::min(rows, height - first);
    if (GDALDatasetRasterIOEx(dataset, GF_Read, 0, first, width, count, pixels.data(), width, count,
                              GDT_Byte, 3, bands, 1, width, static_cast<GSpacing>(width) * count,
                              nullptr) != CE_None) {
      GDALClose(dataset);
      return -1;
    }
  }
  GDALClose(dataset);
  return Seconds(start);
}

// Converts the maps of `plan`; false when any did not convert.
bool Convert(const kv::cli::BatchPlan& plan) {
  std::atomic<bool> cancel{false};
  const std::vector<kv::cli::MapOutcome> outcomes =
      kv::cli::ConvertBatch(kv::StringTable(), plan, kv::cli::BatchOptions(), cancel, nullptr);
  return std::all_of(outcomes.begin(), outcomes.end(), [](const kv::cli::MapOutcome& outcome) {
    return outcome.kind == kv::cli::MapOutcomeKind::kConverted;
  });
}

// The system's load average over the last minute.
double Load() {
  double load = 0;
  std::ifstream("/proc/loadavg") >> load;
  return load;
}

struct Timing {
  double seconds = 0;
  double cpu = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const int count = argc > 2 ? std::atoi(argv[2]) : 50;
  GDALAllRegister();
  const fs::path folder = base / ("kv_batch_bench_" + std::to_string(::getpid()));
  fs::create_directories(folder / "maps");
  std::fprintf(stderr, "writing %d sources of %d x %d pixels into %s...\n", count, kSide, kSide,
               folder.c_str());
  kv::cli::BatchPlan plan;
  for (int index = 0; index < count; ++index) {
    const std::string name = "sheet" + std::to_string(index);
    const std::string image = (folder / (name + ".jpg")).string();
    if (!WriteJpeg(image, index)) return 1;
    std::ofstream(folder / (name + ".kvm"))
        << "kv_north=7=47.5\nkv_west=7=8\nkv_south=7=47\nkv_east=7=9\n";
    plan.maps.push_back({image, (folder / "maps" / (name + ".prc")).string()});
  }

  // Each run several times, the fastest kept: on a shared machine the
  // slower rounds measure the neighbours.
  Timing decode{1e9, 1e9};
  Timing one_by_one{1e9, 1e9};
  Timing batch{1e9, 1e9};
  const auto keep_fastest = [](Timing* best, double seconds, double cpu) {
    if (seconds < best->seconds) *best = {seconds, cpu};
  };
  for (int round = 0; round < kRounds; ++round) {
    double cpu = CpuSeconds();
    double seconds = 0;
    for (const kv::cli::PlannedMap& map : plan.maps) seconds += DecodeSeconds(map.source);
    keep_fastest(&decode, seconds, CpuSeconds() - cpu);

    cpu = CpuSeconds();
    Clock::time_point start = Clock::now();
    for (const kv::cli::PlannedMap& map : plan.maps) {
      if (!Convert(kv::cli::BatchPlan{{map}, {}})) return 1;
    }
    keep_fastest(&one_by_one, Seconds(start), CpuSeconds() - cpu);
    fs::remove_all(folder / "maps");
    fs::create_directories(folder / "maps");

    cpu = CpuSeconds();
    start = Clock::now();
    if (!Convert(plan)) return 1;
    keep_fastest(&batch, Seconds(start), CpuSeconds() - cpu);
    fs::remove_all(folder / "maps");
    fs::create_directories(folder / "maps");
  }
  fs::remove_all(folder);

  std::printf(
      "load %.2f after the runs; fastest of %d rounds; %d sources of %d x %d pixels, %d threads\n",
      Load(), kRounds, count, kSide, kSide, kv::ConversionThreadCount(0));
  // Wall time against the decode's, and processor time against its: on a
  // busy machine the second says what the work itself costs.
  std::printf("| %-20s | %8s | %8s | %8s | %10s |\n", "run", "seconds", "CPU s", "x decode",
              "CPU x dec.");
  const auto row = [&](const char* run, const Timing& timing) {
    std::printf("| %-20s | %8.2f | %8.2f | %8.2f | %10.2f |\n", run, timing.seconds, timing.cpu,
                timing.seconds / decode.seconds, timing.cpu / decode.cpu);
  };
  row("GDAL decode, summed", decode);
  row("one after another", one_by_one);
  row("batch", batch);
  return 0;
}
