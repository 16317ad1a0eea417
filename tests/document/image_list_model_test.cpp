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

// The orderings compare images for the list's display; ordering the
// container by them once corrupted saved maps, so nothing here moves one.
TEST_F(ImageListModelTest, OrderingsCompareForTheDisplayAndLeaveTheMapsOrder) {
  CImage& cedar = Add("Cedar", 300, 4);
  CImage& alder = Add("alder", 100, 16);
  CImage& birch = Add("birch", 200, 8);
  const struct {
    ImageOrdering ordering;
    const CImage* first;
    const CImage* second;
  } kRows[] = {{ImageOrdering::kByName, &alder, &birch},
               {ImageOrdering::kByName, &birch, &cedar},  // without regard to case
               {ImageOrdering::kBySize, &alder, &birch},
               {ImageOrdering::kByDepth, &cedar, &birch},
               {ImageOrdering::kByDepth, &birch, &alder}};
  for (const auto& row : kRows) {
    EXPECT_TRUE(ShownBefore(row.ordering, *row.first, *row.second)) << row.first->name();
    EXPECT_FALSE(ShownBefore(row.ordering, *row.second, *row.first)) << row.first->name();
  }
  EXPECT_EQ(model_.ImageAt(0), &cedar);
  EXPECT_EQ(container_.ImageAt(0), &cedar);
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
