// A source added to the container is read in order, a row at most once a
// pass, never window by window; a cancelled conversion adds nothing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "base/exceptions.h"
#include "map/c_image_container.h"

namespace kv {
namespace {

std::uint32_t Photo(int x, int y) {
  const int texture = ((x * 7919) ^ (y * 104729)) & 15;
  return static_cast<std::uint32_t>((x / 3 + texture) & 0xFF) << 16 |
         static_cast<std::uint32_t>((y / 2 + 40 + texture) & 0xFF) << 8 |
         static_cast<std::uint32_t>(((x + y) / 5 + 90 - texture) & 0xFF);
}

// An image source that logs the rows it is asked for.
class LoggingSource final : public ImageSource {
 public:
  LoggingSource(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int Depth() const override { return 24; }
  void SetPixelMode(PixelMode) override {}
  std::uint32_t Pixel(int x, int y) const override {
    Log(y);
    return Photo(x, y);
  }
  void PixelsOfRow(std::span<const int> xs, int y, std::uint32_t* values) const override {
    Log(y);
    for (std::size_t i = 0; i < xs.size(); ++i) values[i] = Photo(xs[i], y);
  }
  ImageSourceKind kind() const override { return ImageSourceKind::kRaster; }
  ConversionStatus read_status() const override { return ConversionStatus::kOk; }
  const std::vector<ChartReferencePoint>& reference_points() const override { return none_; }
  const std::string& geographic_system_wkt() const override { return wkt_; }

  std::vector<int> rows() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return rows_;
  }

 private:
  void Log(int y) const {
    std::lock_guard<std::mutex> lock(mutex_);
    rows_.push_back(y);
  }

  int width_;
  int height_;
  std::vector<ChartReferencePoint> none_;
  std::string wkt_;
  mutable std::mutex mutex_;
  mutable std::vector<int> rows_;
};

// How many times the rows were read top to bottom.
int Passes(const std::vector<int>& rows) {
  int passes = rows.empty() ? 0 : 1;
  for (std::size_t i = 1; i < rows.size(); ++i) passes += rows[i] <= rows[i - 1];
  return passes;
}

TEST(StreamedSourceTest, RowsAreReadInOrderOncePerPass) {
  for (int depth : {16, 8}) {
    CImageContainer container("Map", nullptr);
    ConversionSettings settings;
    settings.colourDepth = depth;
    settings.scale = ScaleRatio{1, 2};
    auto owned = std::make_unique<LoggingSource>(1000, 700);
    const LoggingSource& source = *owned;
    container.AddImageFromSource(std::move(owned), true, nullptr, settings);
    EXPECT_EQ(container.image_count(), 1u + 4u * 3u);
    // One pass: the octree's (which keeps the tiles' pixels), or the tiles'.
    EXPECT_EQ(Passes(source.rows()), 1) << depth;
  }
}

TEST(StreamedSourceTest, ACancelledConversionAddsNothing) {
  CImageContainer container("Map", nullptr);
  container.AddImage(std::make_unique<CImage>());
  ConversionSettings settings;
  ConversionContext& context = container.conversion_context();
  context.progress = [&context](const ConversionProgress& progress) {
    if (progress.rows_read > 100) context.cancel = true;
  };
  EXPECT_THROW(container.AddImageFromSource(std::make_unique<LoggingSource>(900, 600), true,
                                            nullptr, settings),
               ErrAlreadyReported);
  EXPECT_EQ(container.image_count(), 1u);
}

}  // namespace
}  // namespace kv
