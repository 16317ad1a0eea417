#include "bitmap/image_source.h"

#include <cpl_vsi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap/gdal/image_source_library.h"
#include "bitmap/gdal_fixture.h"
#include "temp_folder.h"

namespace kv {
namespace {

using testing::RasterLayout;
using testing::WriteRaster;

std::uint32_t Grey(std::uint32_t level) { return level * 0x010101u; }

std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red << 16 | green << 8 | blue;
}

std::vector<std::uint32_t> TestPalette(int count) {
  std::vector<std::uint32_t> palette;
  for (int i = 0; i < count; ++i) palette.push_back((0x3F1D07u * (i + 1)) & 0xFFFFFFu);
  return palette;
}

int PaletteIndex(int count, int x, int y) { return (x + 2 * y) % count; }
std::uint32_t Channel(int band, int x, int y) { return (x * 7 + y * 13 + band * 50) % 256; }

// One file format: how it is written, the depth expected and the colour
// every pixel must read as (within the tolerance per channel).
struct FormatCase {
  const char* name;
  RasterLayout params;
  testing::SampleValue sample;
  int depth;
  std::function<std::uint32_t(int x, int y)> colour;
  int tolerance = 0;
};

std::vector<FormatCase> FormatCases() {
  std::vector<FormatCase> cases;
  for (int bits : {1, 2, 4, 8}) {
    const int count = 1 << bits;
    RasterLayout params{.bands = 1, .palette = TestPalette(count)};
    if (bits < 8) params.options = {"NBITS=" + std::to_string(bits)};
    const auto sample = [count](int, int x, int y) { return double(PaletteIndex(count, x, y)); };
    const auto colour = [count](int x, int y) {
      return TestPalette(count)[PaletteIndex(count, x, y)];
    };
    const int depth = bits == 1 ? 1 : bits <= 4 ? 4 : 8;
    params.driver = "PNG";
    cases.push_back({"png palette", params, sample, depth, colour});
    params.driver = "GTiff";
    cases.push_back({"tiff palette", params, sample, depth, colour});
    params.driver = "GIF";  // GIF has no packed depths: always 8
    params.options.clear();
    cases.push_back({"gif palette", params, sample, 8, colour});
  }
  const auto grey_sample = [](int, int x, int y) { return double((x * 17 + y * 29) % 256); };
  const auto grey_colour = [](int x, int y) { return Grey((x * 17 + y * 29) % 256); };
  cases.push_back({"png grey", {.bands = 1}, grey_sample, 8, grey_colour});
  cases.push_back({"tiff grey", {.driver = "GTiff", .bands = 1}, grey_sample, 8, grey_colour});
  cases.push_back({"png 1-bit grey",
                   {.bands = 1, .options = {"NBITS=1"}},
                   [](int, int x, int y) { return double((x + y) % 2); },
                   1,
                   [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }});
  const auto wide = [](int band, int x, int y) {
    return double(Channel(band, x, y) * 256 + (x % 7) * 30);
  };
  cases.push_back({"png 16-bit grey", {.bands = 1, .type = GDT_UInt16}, wide, 16, [](int x, int y) {
                     return Grey(Channel(1, x, y));
                   }});
  cases.push_back(
      {"png grey alpha",
       {.bands = 2},
       [](int band, int x, int y) { return band == 1 ? double(Channel(1, x, y)) : 99.0; },
       32,
       [](int x, int y) { return Grey(Channel(1, x, y)); }});
  const auto rgb_sample = [](int band, int x, int y) { return double(Channel(band, x, y)); };
  const auto rgb_colour = [](int x, int y) {
    return Rgb(Channel(1, x, y), Channel(2, x, y), Channel(3, x, y));
  };
  cases.push_back({"png rgb", {.bands = 3}, rgb_sample, 24, rgb_colour});
  cases.push_back({"tiff rgb", {.driver = "GTiff", .bands = 3}, rgb_sample, 24, rgb_colour});
  cases.push_back({"png rgba", {.bands = 4}, rgb_sample, 32, rgb_colour});
  cases.push_back({"tiff rgba",
                   {.driver = "GTiff", .bands = 4, .options = {"ALPHA=YES"}},
                   rgb_sample,
                   32,
                   rgb_colour});
  cases.push_back({"png 48-bit rgb", {.bands = 3, .type = GDT_UInt16}, wide, 48, rgb_colour});
  cases.push_back({"tiff float grey",
                   {.driver = "GTiff", .bands = 1, .type = GDT_Float32},
                   [](int, int x, int y) { return x * 20.0 - 50.0 + y; },
                   8,
                   [](int x, int y) { return Grey(std::clamp(x * 20 - 50 + y, 0, 255)); }});
  // JPEG is lossy: flat colours survive within a few steps.
  cases.push_back({"jpeg rgb",
                   {.driver = "JPEG", .bands = 3, .options = {"QUALITY=95"}},
                   [](int band, int, int) { return double(60 * band); },
                   24,
                   [](int, int) { return Rgb(60, 120, 180); },
                   4});
  cases.push_back({"jpeg grey",
                   {.driver = "JPEG", .bands = 1, .options = {"QUALITY=95"}},
                   [](int, int, int) { return 77.0; },
                   8,
                   [](int, int) { return Grey(77); },
                   4});
  return cases;
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  }
  return true;
}

TEST(ImageSourceTest, ReadsEveryFormatWithItsDepthAndPixels) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  ImageSourceLibrary library;
  int file_number = 0;
  for (const FormatCase& format : FormatCases()) {
    SCOPED_TRACE(format.name);
    const std::string path = dir.File("image" + std::to_string(++file_number));
    ASSERT_TRUE(WriteRaster(path, format.params, format.sample));
    ImageSourcePtr source;
    ASSERT_EQ(library.Open(path, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
    ASSERT_TRUE(source);
    std::uint16_t width = 0, height = 0;
    int depth = 0;
    ASSERT_EQ(QueryImageSource(*source, &width, &height, &depth), ConversionStatus::kOk);
    EXPECT_EQ(width, format.params.width);
    EXPECT_EQ(height, format.params.height);
    EXPECT_EQ(depth, format.depth);
    EXPECT_EQ(source->kind(), ImageSourceKind::kRaster);
    EXPECT_EQ(source->PaletteKind(), SourcePaletteKind::kNone);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = source->Pixel(x, y);
        if (!Near(pixel, format.colour(x, y), format.tolerance) && ++wrong <= 3) {
          ADD_FAILURE() << "pixel " << x << "," << y << " reads " << std::hex << pixel
                        << " instead of " << format.colour(x, y);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(source->read_status(), ConversionStatus::kOk);
    library.Release(&source);
    EXPECT_FALSE(source);
  }
}

TEST(ImageSourceTest, UnreadableFilesGiveNoSourceAndPrintNothing) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const std::string text =
      dir.Write("notes.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  const std::string png = dir.File("real.png");
  ASSERT_TRUE(WriteRaster(png, {.bands = 3}, [](int, int, int) { return 1.0; }));
  // GDAL itself would open this one.
  ASSERT_TRUE(WriteRaster("/vsimem/real.png", {.bands = 3}, [](int, int, int) { return 1.0; }));
  ImageSourceLibrary library;
  struct Row {
    std::string file;
    ImageSourceKind kind;
    ConversionStatus status = ConversionStatus::kOpenFailed;
  };
  // A file that reads but is no image is told apart from one that does not
  // open at all.
  const Row rows[] = {
      {text, ImageSourceKind::kRaster, ConversionStatus::kNotAnImage},
      {dir.File("missing.jpg"), ImageSourceKind::kRaster},
      {"", ImageSourceKind::kRaster},
      {std::string("real.png\0x", 10), ImageSourceKind::kRaster},
      {dir.File(""), ImageSourceKind::kRaster},                       // the folder itself
      {"/vsimem/real.png", ImageSourceKind::kRaster},                 // only files on disk
      {png, ImageSourceKind::kChart, ConversionStatus::kNotAnImage},  // a chart must be a BSB chart
      {png, static_cast<ImageSourceKind>(3)},
  };
  for (const Row& row : rows) {
    ::testing::internal::CaptureStderr();
    ImageSourcePtr source;
    EXPECT_EQ(library.Open(row.file, row.kind, &source), row.status) << row.file;
    EXPECT_FALSE(source);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << row.file;
  }
  VSIUnlink("/vsimem/real.png");
}

TEST(ImageSourceTest, ShutDownRefusesNewSourcesButKeepsOpenOnes) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const std::string png = dir.File("a.png");
  ASSERT_TRUE(WriteRaster(png, {.bands = 3}, [](int band, int, int) { return 10.0 * band; }));
  ImageSourceLibrary library;
  ImageSourcePtr open;
  ASSERT_EQ(library.Open(png, ImageSourceKind::kRaster, &open), ConversionStatus::kOk);
  library.ShutDown();
  ImageSourcePtr refused;
  EXPECT_EQ(library.Open(png, ImageSourceKind::kRaster, &refused), ConversionStatus::kOpenFailed);
  EXPECT_FALSE(refused);
  EXPECT_EQ(open->Pixel(3, 3), Rgb(10, 20, 30));
  library.Release(&open);
  library.Release(&open);  // releasing none does nothing
}

TEST(ImageSourceTest, SidesBeyondSixteenBitsAreTooBig) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const std::string path = dir.File("wide.tif");
  ASSERT_TRUE(WriteRaster(path, {.driver = "GTiff", .width = 65536, .height = 2, .bands = 1},
                          [](int, int, int) { return 0.0; }));
  ImageSourceLibrary library;
  ImageSourcePtr source;
  ASSERT_EQ(library.Open(path, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
  std::uint16_t width = 0, height = 0;
  int depth = 0;
  EXPECT_EQ(QueryImageSource(*source, &width, &height, &depth), ConversionStatus::kTooBig);
}

// A file whose pixel data is cut short opens (its header is whole) but
// cannot be decoded: the pixels read 0 and the source says why, quietly.
TEST(ImageSourceTest, DamagedPixelDataIsADecoderFailure) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  for (const char* driver : {"PNG", "JPEG"}) {
    SCOPED_TRACE(driver);
    const std::string whole = std::string("whole.") + driver;
    ASSERT_TRUE(
        WriteRaster(dir.File(whole), {.driver = driver, .width = 300, .height = 300, .bands = 3},
                    [](int band, int x, int y) { return double((x * y + band * 40) % 256); }));
    auto bytes = dir.Read(whole);
    bytes.resize(bytes.size() / 3);
    const std::string cut = dir.Write(std::string("cut.") + driver, bytes);
    ImageSourceLibrary library;
    ImageSourcePtr source;
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(library.Open(cut, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
    EXPECT_EQ(source->read_status(), ConversionStatus::kOk);
    EXPECT_EQ(source->Pixel(299, 299), 0u);
    EXPECT_EQ(source->read_status(), ConversionStatus::kDecoderFailed);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

TEST(ImageSourceTest, CoordinatesOutsideTheImageReadZero) {
  TempFolder dir;
  ASSERT_TRUE(dir.ok());
  const std::string png = dir.File("a.png");
  ASSERT_TRUE(WriteRaster(png, {.bands = 1}, [](int, int, int) { return 255.0; }));
  ImageSourceLibrary library;
  ImageSourcePtr source;
  ASSERT_EQ(library.Open(png, ImageSourceKind::kRaster, &source), ConversionStatus::kOk);
  EXPECT_EQ(source->Pixel(36, 22), 0xFFFFFFu);
  EXPECT_EQ(source->Pixel(37, 0), 0u);
  EXPECT_EQ(source->Pixel(0, 23), 0u);
  EXPECT_EQ(source->Pixel(-1, 0), 0u);
  EXPECT_EQ(source->read_status(), ConversionStatus::kOk);
}

}  // namespace
}  // namespace kv
