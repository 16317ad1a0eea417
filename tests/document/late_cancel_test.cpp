// Cancel pressed at the last moment of an import, after the conversion's
// own last step but before the map changed, still leaves the map as it was.

#include <gtest/gtest.h>

#include "base/message_tables.h"
#include "document/document.h"
#include "document_fixture.h"
#include "progress_ui.h"

namespace kv {
namespace {

class LateCancelTest : public testing::DocumentTest {
 protected:
  testing::ProgressUi work_ui_;
};

TEST_F(LateCancelTest, CancelAtTheImportsLastReportAddsNothing) {
  const std::string first = WriteBmp("first.bmp", 480, 262);
  const std::string second = WriteBmp("second.bmp", 400, 300);
  std::size_t reports = 0;
  {
    CDocument twin(app_, work_ui_, true);
    twin.container().conversion_context().threads = 1;
    work_ui_.shown.clear();
    ASSERT_EQ(twin.ImportSourceImage(second, true, true), 0);
    reports = work_ui_.shown.size();
  }
  CDocument document(app_, work_ui_, true);
  document.container().conversion_context().threads = 1;
  ASSERT_EQ(document.ImportSourceImage(first, true, true), 0);
  document.container().MarkSaved();
  const std::size_t images = document.container().image_count();
  work_ui_.shown.clear();
  work_ui_.cancel_at = static_cast<int>(reports);
  EXPECT_EQ(document.ImportSourceImage(second, true, true), -1);
  EXPECT_EQ(work_ui_.shown.size(), reports);
  EXPECT_EQ(document.container().image_count(), images);
  EXPECT_FALSE(document.container().IsModified());
  EXPECT_EQ(document.source_path(), first);
  ASSERT_EQ(work_ui_.failures.size(), 1u);
  EXPECT_EQ(work_ui_.failures[0].failure.code, kErrAlreadyReported);
}

}  // namespace
}  // namespace kv
