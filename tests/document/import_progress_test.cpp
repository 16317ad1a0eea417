// An import shows how far its conversion is and stops when the user
// cancels, leaving the document as it was.

#include <gtest/gtest.h>

#include "document_fixture.h"
#include "progress_ui.h"

namespace kv::testing {
namespace {

class ImportProgressTest : public DocumentTest {
 protected:
  ProgressUi progress_ui_;
};

TEST_F(ImportProgressTest, TheConversionShowsHowFarItIs) {
  const std::string map = WriteBmp("map.bmp", 700, 500);
  CDocument document(app_, progress_ui_, true);
  ASSERT_EQ(document.ImportSourceImage(map, true, true), 0);
  ASSERT_FALSE(progress_ui_.shown.empty());
  EXPECT_DOUBLE_EQ(progress_ui_.shown.back().Fraction(), 1.0);
  EXPECT_EQ(progress_ui_.shown.back().tiles_total, 5u * 4u);
  EXPECT_EQ(progress_ui_.ended, 1);
}

TEST_F(ImportProgressTest, ACancelledImportLeavesTheDocumentAsItWas) {
  const std::string first = WriteBmp("first.bmp", 300, 200);
  const std::string second = WriteBmp("second.bmp", 900, 600);
  CDocument document(app_, progress_ui_, true);
  ASSERT_EQ(document.ImportSourceImage(first, true, true), 0);
  document.container().MarkSaved();
  const std::size_t images = document.container().image_count();
  const CalibrationRecord calibration = app_.calibration;

  progress_ui_.shown.clear();
  progress_ui_.cancel_at = 3;
  EXPECT_EQ(document.ImportSourceImage(second, true, true), -1);
  EXPECT_EQ(progress_ui_.shown.size(), 3u);
  EXPECT_EQ(document.container().image_count(), images);
  EXPECT_FALSE(document.container().IsModified());
  EXPECT_EQ(document.source_path(), first);
  EXPECT_EQ(app_.calibration, calibration);
  // Nothing to show: the user asked for it.
  ASSERT_EQ(progress_ui_.failures.size(), 1u);
  EXPECT_EQ(progress_ui_.failures[0].failure.code, kErrAlreadyReported);
  EXPECT_EQ(progress_ui_.ended, 2);

  // The next import runs to the end.
  progress_ui_.cancel_at = 0;
  EXPECT_EQ(document.ImportSourceImage(second, true, true), 0);
  EXPECT_GT(document.container().image_count(), images);
}

}  // namespace
}  // namespace kv::testing
