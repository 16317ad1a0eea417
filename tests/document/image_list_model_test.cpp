#include "document/image_list_model.h"

#include <gtest/gtest.h>

#include "document/document_texts.h"
#include "recording_ui.h"

namespace kv {
namespace {

TEST(DisplaySize, BytesUpToTwoKilobytesThenKilobytes) {
  const struct {
    std::uint64_t bytes;
    std::uint64_t value;
    SizeUnit unit;
  } kRows[] = {{0, 0, SizeUnit::kNothing},
               {1, 1, SizeUnit::kBytes},
               {2559, 2559, SizeUnit::kBytes},
               {2560, 3, SizeUnit::kKilobytes},
               {1048576, 1024, SizeUnit::kKilobytes}};
  for (const auto& row : kRows) {
    const SizeDisplay shown = DisplaySize(row.bytes);
    EXPECT_EQ(shown.value, row.value) << row.bytes;
    EXPECT_EQ(shown.unit, row.unit) << row.bytes;
  }
}

class ImageListModelTest : public ::testing::Test {
 protected:
  ImageListModelTest() { model_.Attach(&container_); }

  CImage& Add(const std::string& name, std::size_t bytes, int depth) {
    auto image = std::make_unique<CImage>();
    BitmapRecord bitmap;
    bitmap.bytes.assign(bytes, 0);
    bitmap.depth = depth;
    image->SetBitmap(bitmap);
    image->SetName(name);
    return container_.AddImage(std::move(image));
  }

  testing::RecordingUi ui_;
  ImageListModel model_{ui_};
  CImageContainer container_{"Map", &model_};
};

TEST_F(ImageListModelTest, SelectionFollowsAddsRemovalsAndNegativeIndexes) {
  EXPECT_EQ(model_.selected_index(), -1);
  EXPECT_EQ(model_.current(), nullptr);
  CImage& a = Add("a", 10, 8);
  Add("b", 10, 8);
  CImage& c = Add("c", 10, 8);
  EXPECT_EQ(model_.selected_image(), &c);  // a new entry is selected
  EXPECT_EQ(model_.current(), &a);

  container_.RemoveImage(&c);  // the selected last row: the new last one
  EXPECT_EQ(model_.selected_index(), 1);
  model_.Select(-3);
  EXPECT_EQ(model_.selected_index(), 0);
  container_.RemoveImage(&a);  // the row that takes its place
  EXPECT_EQ(model_.selected_index(), 0);
  EXPECT_EQ(model_.selected_image()->name(), "b");
  model_.Select(5);
  EXPECT_EQ(model_.selected_index(), -1);
}

TEST_F(ImageListModelTest, SortingReordersTheContainerAndKeepsTheSelection) {
  Add("Cedar", 300, 4);
  CImage& alder = Add("alder", 100, 16);
  Add("birch", 200, 8);
  model_.Select(1);
  model_.Sort(ImageOrdering::kByName);
  ASSERT_EQ(container_.image_count(), 3u);
  EXPECT_EQ(container_.ImageAt(0)->name(), "alder");
  EXPECT_EQ(container_.ImageAt(1)->name(), "birch");
  EXPECT_EQ(container_.ImageAt(2)->name(), "Cedar");
  EXPECT_EQ(model_.current(), &alder);
  EXPECT_EQ(model_.selected_image(), &alder);

  model_.Sort(ImageOrdering::kByDepth);
  EXPECT_EQ(model_.ImageAt(0)->name(), "Cedar");
  EXPECT_EQ(model_.ImageAt(2)->name(), "alder");
  model_.Sort(ImageOrdering::kBySize);
  EXPECT_EQ(model_.ImageAt(0)->name(), "alder");
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(model_.ImageAt(static_cast<std::ptrdiff_t>(i)), container_.ImageAt(i));
}

TEST_F(ImageListModelTest, TotalsAndTheSingularWord) {
  EXPECT_EQ(model_.TotalBytes(), 0u);
  EXPECT_EQ(model_.EntriesWordId(), kEntriesWordId);
  Add("a", 1000, 8);
  EXPECT_EQ(model_.EntriesWordId(), kOneEntryWordId);
  Add("b", 1560, 8);
  EXPECT_EQ(model_.TotalBytes(), 2560u);
  EXPECT_EQ(model_.EntriesWordId(), kEntriesWordId);
}

}  // namespace
}  // namespace kv
