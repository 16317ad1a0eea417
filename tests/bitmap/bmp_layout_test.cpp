#include "bitmap/bmp/bmp_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap/bmp_fixture.h"

namespace kv {
namespace {

using testing::BmpParams;
using testing::MakeBmp;
using testing::PutLittle;

std::vector<std::uint8_t> Blank(const BmpParams& params) {
  return MakeBmp(params, [](int, int) { return 0u; });
}

ConversionStatus Parse(const std::vector<std::uint8_t>& bytes, BmpLayout* layout = nullptr,
                       std::string* message = nullptr) {
  BmpLayout scratch;
  std::string text;
  return ParseBmp(bytes, layout ? layout : &scratch, message ? message : &text);
}

TEST(BmpStrideTest, PadsRowsToFourBytes) {
  EXPECT_EQ(BmpStride(3, 24), 12u);
  EXPECT_EQ(BmpStride(10, 1), 4u);
  EXPECT_EQ(BmpStride(33, 1), 8u);
  EXPECT_EQ(BmpStride(9, 4), 8u);
  EXPECT_EQ(BmpStride(10, 16), 20u);
  EXPECT_EQ(BmpStride(65535, 32), 262140u);
}

TEST(ParseBmpTest, ReadsSizeDepthAndRowOrder) {
  BmpLayout layout;
  ASSERT_EQ(Parse(Blank({.width = 13, .height = 11, .depth = 24}), &layout), ConversionStatus::kOk);
  EXPECT_EQ(layout.width, 13);
  EXPECT_EQ(layout.height, 11);
  EXPECT_EQ(layout.depth, 24);
  EXPECT_TRUE(layout.bottom_up);
  EXPECT_EQ(layout.stride, 40u);
  EXPECT_EQ(layout.pixel_offset, 54u);
  EXPECT_EQ(layout.colour_table_entries, 0u);

  ASSERT_EQ(Parse(Blank({.width = 10, .height = 12, .depth = 24, .top_down = true}), &layout),
            ConversionStatus::kOk);
  EXPECT_EQ(layout.height, 12);
  EXPECT_FALSE(layout.bottom_up);
}

TEST(ParseBmpTest, SizeLimits) {
  struct Row {
    std::int32_t width, height;
    ConversionStatus expected;
  };
  const Row rows[] = {
      {10, 10, ConversionStatus::kOk},         {9, 400, ConversionStatus::kTooSmall},
      {400, 9, ConversionStatus::kTooSmall},   {0, 10, ConversionStatus::kTooSmall},
      {10, -9, ConversionStatus::kTooSmall},   {10, -10, ConversionStatus::kOk},
      {-20, 10, ConversionStatus::kMalformed},
  };
  for (const Row& row : rows) {
    auto bytes = Blank({.width = 10, .height = 10, .depth = 24});
    PutLittle(bytes, 18, static_cast<std::uint32_t>(row.width), 4);
    PutLittle(bytes, 22, static_cast<std::uint32_t>(row.height), 4);
    EXPECT_EQ(Parse(bytes), row.expected) << row.width << " x " << row.height;
  }
}

// Cutting a side to its low 16 bits would turn 65546 into a plausible 10.
TEST(ParseBmpTest, SidesBeyondSixteenBitsAreTooBig) {
  for (std::int32_t side : {65536, 65546, 0x7FFFFFFF}) {
    auto bytes = Blank({.width = 10, .height = 10, .depth = 8});
    PutLittle(bytes, 18, static_cast<std::uint32_t>(side), 4);
    EXPECT_EQ(Parse(bytes), ConversionStatus::kTooBig) << "width " << side;
    bytes = Blank({.width = 10, .height = 10, .depth = 8});
    PutLittle(bytes, 22, static_cast<std::uint32_t>(side), 4);
    EXPECT_EQ(Parse(bytes), ConversionStatus::kTooBig) << "height " << side;
    PutLittle(bytes, 22, static_cast<std::uint32_t>(-side), 4);
    EXPECT_EQ(Parse(bytes), ConversionStatus::kTooBig) << "height " << -side;
  }
  auto bytes = Blank({.width = 10, .height = 10, .depth = 8});
  PutLittle(bytes, 22, 0x80000000u, 4);  // the most negative height
  EXPECT_EQ(Parse(bytes), ConversionStatus::kTooBig);
}

TEST(ParseBmpTest, OnlyRealBmpDepths) {
  // The file has room for a 256-entry table and 32-bit rows.
  const BmpParams params{.depth = 32, .palette = std::vector<std::uint32_t>(256)};
  for (std::uint16_t depth : {1, 2, 4, 8, 16, 24, 32}) {
    auto bytes = Blank(params);
    PutLittle(bytes, 28, depth, 2);
    EXPECT_EQ(Parse(bytes), ConversionStatus::kOk) << depth;
  }
  for (std::uint16_t depth : {0, 3, 5, 7, 12, 15, 31, 33, 64, 255}) {
    auto bytes = Blank(params);
    PutLittle(bytes, 28, depth, 2);
    EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed) << depth;
  }
  // Only the low byte of the field is the depth.
  auto bytes = Blank({.width = 10, .height = 10, .depth = 24});
  PutLittle(bytes, 28, 0x0118, 2);
  BmpLayout layout;
  EXPECT_EQ(Parse(bytes, &layout), ConversionStatus::kOk);
  EXPECT_EQ(layout.depth, 24);
}

TEST(ParseBmpTest, CompressedFilesNameTheirCompression) {
  struct Row {
    std::uint32_t compression;
    const char* message;
  };
  const Row rows[] = {{1, "RLE8"},
                      {2, "RLE4"},
                      {3, "Unknown: 3x"},
                      {0x1A, "Unknown: 1ax"},
                      {0xDEADBEEF, "Unknown: deadbeefx"}};
  for (const Row& row : rows) {
    // The pixel data of a compressed file is shorter than its rows; that
    // must not hide the compression.
    auto bytes = Blank({.width = 100, .height = 100, .depth = 8, .compression = row.compression});
    bytes.resize(60);
    std::string message = "previous";
    EXPECT_EQ(Parse(bytes, nullptr, &message), ConversionStatus::kCompressedBmp);
    EXPECT_EQ(message, row.message);
  }
}

TEST(ParseBmpTest, MessageUntouchedUnlessCompressed) {
  std::string message = "earlier";
  EXPECT_EQ(Parse(Blank({}), nullptr, &message), ConversionStatus::kOk);
  EXPECT_EQ(Parse({'B', 'A'}, nullptr, &message), ConversionStatus::kMalformed);
  EXPECT_EQ(message, "earlier");
}

TEST(ParseBmpTest, RejectsWhatIsNotAWindowsBmp) {
  EXPECT_EQ(Parse({}), ConversionStatus::kMalformed);
  EXPECT_EQ(Parse({'B'}), ConversionStatus::kMalformed);
  auto bytes = Blank({});
  bytes[1] = 'A';
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
  bytes = Blank({});
  PutLittle(bytes, 14, 12, 4);  // OS/2 core header: another layout
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
}

// Every cut of a file either still holds every row or is refused; the copy
// is exactly as long as the cut so that ASan sees any read past it.
TEST(ParseBmpTest, TruncatedFilesAreMalformed) {
  const BmpParams params{
      .width = 11, .height = 10, .depth = 4, .palette = std::vector<std::uint32_t>(16, 0x123456)};
  const auto whole = Blank(params);
  const std::size_t last_row_end = 54 + 64 + 8 * 9 + 6;  // final row without padding
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
    const ConversionStatus expected =
        size >= last_row_end ? ConversionStatus::kOk : ConversionStatus::kMalformed;
    EXPECT_EQ(Parse(cut), expected) << size;
  }
}

TEST(ParseBmpTest, PartsBeyondTheFileAreMalformed) {
  auto bytes = Blank({.depth = 8, .palette = std::vector<std::uint32_t>(256)});
  PutLittle(bytes, 10, static_cast<std::uint32_t>(bytes.size()), 4);  // pixel data at the end
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
  PutLittle(bytes, 10, 0xFFFFFFFFu, 4);
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);

  bytes = Blank({.depth = 8, .palette = std::vector<std::uint32_t>(256)});
  PutLittle(bytes, 14, static_cast<std::uint32_t>(bytes.size()), 4);  // table past the end
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
  PutLittle(bytes, 14, 0xFFFFFFF0u, 4);  // 14 + size wraps in 32 bits
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);

  // A 24-bit file needs no colour table, but its info header must be there.
  bytes = Blank({.depth = 24});
  ASSERT_EQ(bytes.size(), 54u + 320u);
  PutLittle(bytes, 14, 40 + 320 + 1, 4);
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
  PutLittle(bytes, 14, 40 + 320, 4);
  EXPECT_EQ(Parse(bytes), ConversionStatus::kOk);

  // A height that the data does not hold.
  bytes = Blank({.depth = 24});
  PutLittle(bytes, 22, 11, 4);
  EXPECT_EQ(Parse(bytes), ConversionStatus::kMalformed);
}

TEST(ParseBmpTest, ColourTableSizeFollowsColoursUsed) {
  BmpLayout layout;
  // A short table is legal when the file says so.
  auto bytes = Blank({.depth = 8, .colours_used = 2, .palette = {0xFF0000, 0x00FF00}});
  ASSERT_EQ(Parse(bytes, &layout), ConversionStatus::kOk);
  EXPECT_EQ(layout.colour_table_entries, 2u);
  EXPECT_EQ(layout.colour_table_offset, 54u);
  // An impossible count falls back to 2^depth entries, which must then fit.
  PutLittle(bytes, 46, 300, 4);
  EXPECT_EQ(Parse(bytes, &layout), ConversionStatus::kMalformed);
  bytes = Blank({.depth = 8, .colours_used = 300, .palette = std::vector<std::uint32_t>(256)});
  ASSERT_EQ(Parse(bytes, &layout), ConversionStatus::kOk);
  EXPECT_EQ(layout.colour_table_entries, 256u);
}

}  // namespace
}  // namespace kv
