#include "map/c_image_container.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "map_fixtures.h"
#include "pdb/palm_time.h"

namespace kv {
namespace {

using testing::FakeImage;

class RecordingObserver final : public ImageListObserver {
 public:
  void ImageAdded(CImage& image) override { events.push_back("added " + image.name()); }
  void ImageRemoved(CImage& image) override { events.push_back("removed " + image.name()); }
  void ImageMoved(CImage& image, std::size_t position) override {
    events.push_back("moved " + image.name() + " to " + std::to_string(position));
  }
  void ShowImage(CImage& image) override { events.push_back("shown " + image.name()); }
  std::vector<std::string> events;
};

std::unique_ptr<CImage> Named(const std::string& name) {
  auto image = FakeImage(1);
  image->SetName(name);
  return image;
}

std::vector<std::string> Names(const CImageContainer& container) {
  std::vector<std::string> names;
  for (const auto& image : container.images()) names.push_back(image->name());
  return names;
}

TEST(CImageContainerTest, NextImageNameCountsFromOne) {
  CImageContainer container("Untitled", nullptr);
  EXPECT_EQ(container.NextImageName(), "Untitled 1");
  EXPECT_EQ(container.NextImageName(), "Untitled 2");
}

TEST(CImageContainerTest, AddMoveAndRemoveTellTheObserver) {
  RecordingObserver observer;
  CImageContainer container("Map", &observer);
  for (const char* name : {"a", "b", "c"}) container.AddImage(Named(name));
  EXPECT_TRUE(container.IsModified());
  container.ClearModified();

  // Moving the first of three to position 2 makes it the last ...
  EXPECT_TRUE(container.MoveImage(container.ImageAt(0), 2));
  EXPECT_THAT(Names(container), ::testing::ElementsAre("b", "c", "a"));
  // ... and to position 0 leaves the order as it is.
  EXPECT_TRUE(container.MoveImage(container.ImageAt(0), 0));
  EXPECT_THAT(Names(container), ::testing::ElementsAre("b", "c", "a"));
  EXPECT_TRUE(container.IsModified());

  std::unique_ptr<CImage> removed = container.RemoveImage(container.ImageAt(1));
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed->owner(), nullptr);
  EXPECT_FALSE(container.MoveImage(removed.get(), 0));
  EXPECT_EQ(container.RemoveImage(removed.get()), nullptr);
  EXPECT_EQ(container.ImageAt(2), nullptr);
  EXPECT_THAT(observer.events, ::testing::ElementsAre("added a", "added b", "added c",
                                                      "moved a to 2", "moved b to 0", "removed c"));
}

TEST(CImageContainerTest, TheListHoldsAtMost9999Images) {
  CImageContainer container("Map", nullptr);
  for (int i = 0; i < 9999; ++i) container.AddImage(std::make_unique<CImage>());
  EXPECT_THROW(container.AddImage(std::make_unique<CImage>()), ErrImageListFull);
  EXPECT_EQ(container.image_count(), 9999u);
}

TEST(CImageContainerTest, RenamingMarksModifiedAndKeeps31Bytes) {
  CImageContainer container("Map", nullptr);
  CImage& image = container.AddImage(FakeImage(1));
  container.MarkSaved();
  EXPECT_FALSE(container.IsModified());
  image.SetName(std::string(40, 'x'));
  EXPECT_EQ(image.name(), std::string(31, 'x'));
  EXPECT_TRUE(container.IsModified());
}

TEST(CImageContainerTest, ADepthChangeSinceTheLastSaveCountsAsModified) {
  CImageContainer container("Map", nullptr);
  CImage& image = container.AddImage(FakeImage(1));
  container.MarkSaved();
  image.SetBitmap(StoredBitmap(testing::FakeBitmapRecord(160, 131, 4, 2)));
  EXPECT_TRUE(container.IsModified());
  EXPECT_EQ(image.reference_bitmap().depth, 8);
  container.MarkSaved();
  EXPECT_FALSE(container.IsModified());
  EXPECT_EQ(image.saved_depth(), 4);
}

TEST(CImageTest, CalibrationBuffersAreAtLeast2048BytesAndEven) {
  struct Row {
    std::size_t count;
    std::size_t length;
  };
  for (Row row : {Row{5000, 5000}, Row{2049, 2050}, Row{10, 2048}, Row{0, 0}}) {
    std::vector<std::uint8_t> text(row.count, 'c');
    CImage image;
    image.SetCalibration(text.data(), text.size());
    ASSERT_EQ(image.calibration().size(), row.length) << row.count;
    if (row.length > row.count) {
      EXPECT_EQ(image.calibration()[row.count], 0);
    }
  }
}

TEST(CImageOrderingTest, TiesGoByNameWithoutCase) {
  CImage a, b;
  a.SetName("alpha");
  b.SetName("Beta");
  EXPECT_TRUE(LessByName(a, b));
  EXPECT_FALSE(LessByName(b, a));
  // Same day, different seconds: the name decides.
  a.set_date(PalmDateFromUnix(86400 * 10 + 5000));
  b.set_date(PalmDateFromUnix(86400 * 10 + 100));
  EXPECT_TRUE(LessByDate(a, b));
  b.set_date(PalmDateFromUnix(86400 * 9));
  EXPECT_TRUE(LessByDate(b, a));
  EXPECT_TRUE(LessByDepth(a, b));  // both empty
}

}  // namespace
}  // namespace kv
