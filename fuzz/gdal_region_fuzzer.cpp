// Hands arbitrary bytes to GDAL as an image file and, when it opens, reads
// the whole image reduced, one corner enlarged and a window at full size,
// the three ways the image view asks for regions.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bitmap/gdal/gdal_region_reader.h"

namespace {

// A file name of our own for the bytes: the reader opens ordinary files only.
class ScratchFile {
 public:
  ScratchFile(const std::uint8_t* data, std::size_t size) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kv-region-fuzz-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return;
    path_ = pattern;
    std::size_t written = 0;
    while (written < size) {
      const ssize_t n = write(fd, data + written, size - written);
      if (n <= 0) break;
      written += static_cast<std::size_t>(n);
    }
    close(fd);
  }
  ~ScratchFile() {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScratchFile file(data, size);
  if (file.path().empty()) return 0;
  std::unique_ptr<kv::GdalRegionReader> reader;
  if (kv::GdalRegionReader::Open(file.path(), &reader) != kv::ConversionStatus::kOk) return 0;
  const int width = reader->width();
  const int height = reader->height();
  if (width <= 0 || height <= 0) __builtin_trap();
  kv::RgbImage image;
  // Each read is tried whatever the one before gave.
  static_cast<void>(
      reader->Read({0, 0, width, height}, std::min(width, 64), std::min(height, 64), &image));
  static_cast<void>(reader->Read({width - 1, height - 1, 1, 1}, 8, 8, &image));
  static_cast<void>(reader->Read({0, 0, std::min(width, 32), std::min(height, 32)},
                                 std::min(width, 32), std::min(height, 32), &image));
  return 0;
}
