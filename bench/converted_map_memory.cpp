// The memory of converting a 1-gigapixel picture into a map and holding it,
// as the desktop program's document does: the container keeps every
// converted image (overview and tiles) after the conversion. Prints the
// process's peak and current resident memory, read from the kernel, and the
// bytes of the bitmaps the images store.
//
//   converted_map_memory [DEPTH] [SCALE_DENOMINATOR]   (default 16 and 4)

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/image_source.h"
#include "map/c_image_container.h"

namespace {

// 40000 x 25000 pixels, photo-like: smooth colour fields with a little
// texture, computed on demand so that no file or decoder takes part.
class GigapixelPicture final : public kv::ImageSource {
 public:
  int Width() const override { return 40000; }
  int Height() const override { return 25000; }
  int Depth() const override { return 24; }
  void SetPixelMode(kv::PixelMode) override {}
  std::uint32_t Pixel(int x, int y) const override {
    const int texture = ((x * 7919) ^ (y * 104729)) & 15;
    return static_cast<std::uint32_t>((x / 29 + texture) & 0xFF) << 16 |
           static_cast<std::uint32_t>((y / 17 + 40 + texture) & 0xFF) << 8 |
           static_cast<std::uint32_t>(((x + y) / 41 + 90 - texture) & 0xFF);
  }
  kv::ImageSourceKind kind() const override { return kv::ImageSourceKind::kRaster; }
  kv::ConversionStatus read_status() const override { return kv::ConversionStatus{}; }
  const std::vector<kv::ChartReferencePoint>& reference_points() const override {
    return no_points_;
  }
  const std::string& geographic_system_wkt() const override { return no_wkt_; }

 private:
  std::vector<kv::ChartReferencePoint> no_points_;
  std::string no_wkt_;
};

// A line of /proc/self/status ("VmHWM", "VmRSS") in MiB.
long StatusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1) / 1024;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    kv::ConversionSettings settings;
    settings.colourDepth = argc > 1 ? std::atoi(argv[1]) : 16;
    settings.scale = kv::ScaleRatio{1, argc > 2 ? std::atoi(argv[2]) : 4};
    kv::CImageContainer container("Gigapixel", nullptr);
    container.AddImageFromSource(std::make_unique<GigapixelPicture>(), true, nullptr, settings);
    std::uint64_t stored = 0;
    for (std::size_t i = 0; i < container.image_count(); ++i)
      stored += container.ImageAt(i)->bitmap().bytes.size();
    std::printf("images %zu, stored bitmaps %llu MiB, peak %ld MiB, resident %ld MiB\n",
                container.image_count(), static_cast<unsigned long long>(stored >> 20),
                StatusMiB("VmHWM"), StatusMiB("VmRSS"));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "converted_map_memory: failed (%s)\n", error.what());
    return 1;
  }
  return 0;
}
