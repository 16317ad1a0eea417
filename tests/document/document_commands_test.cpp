#include <gtest/gtest.h>

#include "base/message_tables.h"
#include "document/command_ids.h"
#include "document/document.h"
#include "document_fixture.h"
#include "geo/coordinate_systems.h"

namespace kv {
namespace {

class DocumentCommandTest : public testing::DocumentTest {
 protected:
  int Command(CDocument& document, int command, bool expect_handled = true) {
    bool handled = !expect_handled;
    const int result = document.HandleCommand(command, &handled);
    EXPECT_EQ(handled, expect_handled) << command;
    return result;
  }
};

TEST_F(DocumentCommandTest, WithoutASelectedEntryOnlyTheEntryCommandIsGrayed) {
  app_.settings.compressBitmaps = true;
  CDocument document(app_, ui_, true);
  for (const MenuItemState& item : document.MenuState()) {
    EXPECT_EQ(item.enabled, item.command != kCmdSelectedEntry) << item.command;
    EXPECT_EQ(item.checked, item.command == kCmdToggleCompression) << item.command;
  }

  ASSERT_EQ(document.ImportSourceImage(WriteBmp("a.bmp", 50, 40), true, true), 0);
  ASSERT_EQ(Command(document, kCmdDepth2), 0);
  ASSERT_EQ(Command(document, kCmdToggleCompression), 0);
  for (const MenuItemState& item : document.MenuState()) {
    EXPECT_TRUE(item.enabled) << item.command;
    EXPECT_EQ(item.checked, item.command == kCmdDepth2) << item.command;
  }
}

TEST_F(DocumentCommandTest, DepthAndCompressionReachEveryEntryInListOrder) {
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(WriteBmp("big.bmp", 330, 140), true, true), 0);
  ASSERT_EQ(document.container().image_count(), 1u + 3u * 2u);
  document.container().MarkSaved();
  ASSERT_EQ(Command(document, kCmdDepth4), 0);
  for (const auto& image : document.container().images()) EXPECT_EQ(image->bitmap().depth, 4);
  EXPECT_TRUE(document.container().IsModified());
  EXPECT_EQ(document.image_list().selected_index(), 0);

  document.container().MarkSaved();
  ASSERT_EQ(Command(document, kCmdToggleCompression), 0);
  EXPECT_FALSE(app_.settings.compressBitmaps);
  for (const auto& image : document.container().images()) {
    EXPECT_FALSE(image->bitmap().compressed);
    EXPECT_EQ(image->bitmap().depth, 4);
  }
  // New bitmaps of the same depth are a change too.
  EXPECT_TRUE(document.container().IsModified());
  EXPECT_EQ(ui_.wait_depth, 0);
}

TEST_F(DocumentCommandTest, ImportedImageRunsTheOptionsAndBecomesTheLastImageFolder) {
  const std::string bmp = WriteBmp("chosen.bmp", 50, 40);
  app_.last_image_folder = "/nowhere/";
  CDocument document(app_, ui_, true);
  EXPECT_EQ(document.ImportImage(bmp, true), 0);
  EXPECT_EQ(ui_.options_runs, 1);
  EXPECT_EQ(app_.last_image_folder, Folder());
  EXPECT_EQ(document.container().image_count(), 2u);  // overview and one tile
  EXPECT_TRUE(document.container().IsModified());
}

TEST_F(DocumentCommandTest, PaneCommandsAndUnknownIdentifiers) {
  CDocument document(app_, ui_, true);
  EXPECT_EQ(Command(document, kCmdOpenCalibration), 0);
  EXPECT_TRUE(ui_.calibration_dialog_open);
  EXPECT_EQ(ui_.previewer_mode, PreviewerMode::kCalibrate);
  ui_.refuse_close = true;
  Command(document, kCmdCloseCalibration);
  EXPECT_EQ(ui_.previewer_mode, PreviewerMode::kCalibrate);
  ui_.refuse_close = false;
  Command(document, kCmdCloseCalibration);
  EXPECT_EQ(ui_.previewer_mode, PreviewerMode::kView);

  const struct {
    int command;
    int zoom;
  } kZooms[] = {{kCmdZoom200, 200}, {kCmdZoom50, 50}, {kCmdZoom100, 100}, {kCmdZoomFit, kZoomFit}};
  for (const auto& row : kZooms) {
    Command(document, row.command);
    EXPECT_EQ(ui_.zoom, row.zoom);
  }
  Command(document, kCmdExit);
  EXPECT_TRUE(ui_.close_requested);
  Command(document, kCmdSelectedEntry, false);
  Command(document, 12345, false);
  Command(document, kCmdCopyToPocketPc, false);  // comes with the installation
  EXPECT_EQ(ui_.title, "Korvale - Untitled");
}

TEST_F(DocumentCommandTest, ImportingACalibrationFileAsksBeforeReplacing) {
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(WriteBmp("c.bmp", 200, 150), true, true), 0);
  document.container().MarkSaved();
  const std::string kvm = WriteText("other.kvm", testing::kTwoPointKvm);

  ui_.answers = {Answer::kNo};
  EXPECT_FALSE(document.ConfirmCalibrationReplace());
  EXPECT_EQ(ui_.questions[0].text, "Replace?");

  ui_.answers = {Answer::kYes};
  EXPECT_TRUE(document.ConfirmCalibrationReplace());
  int repaints = ui_.repaints;
  EXPECT_EQ(document.ImportCalibrationFile(kvm, std::nullopt), 0);
  EXPECT_GT(ui_.repaints, repaints);  // the view shows the new points
  EXPECT_DOUBLE_EQ(app_.calibration.north, 47.5);
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_EQ((*app_.calibration.points)[1].pixel_x, 199);
  EXPECT_TRUE(document.container().IsModified());

  // A world file in degrees on the 200 x 150 image.
  const std::string world = WriteText("c.bpw", "0.005\n0\n0\n-0.002\n8\n47.5\n");
  repaints = ui_.repaints;
  EXPECT_EQ(document.ImportCalibrationFile(world, WorldFileSystem{}), 0);
  EXPECT_GT(ui_.repaints, repaints);
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_DOUBLE_EQ((*app_.calibration.points)[0].latitude, 47.5);
  EXPECT_DOUBLE_EQ((*app_.calibration.points)[0].longitude, 8.0);

  EXPECT_EQ(document.ImportCalibrationFile(dir_.File("absent.kvm"), std::nullopt), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].context, kContextImport);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrFileOpen);
  EXPECT_EQ(ui_.failures[0].failure.file_name, dir_.File("absent.kvm"));
  EXPECT_DOUBLE_EQ((*app_.calibration.points)[0].latitude, 47.5);  // kept
}

// A calibration file is read in the source's pixels and its points are
// stored at the output scale, as an import does: at half scale it still
// covers the whole image.
TEST_F(DocumentCommandTest, CalibrationFilesAtReducedScaleCoverTheWholeImage) {
  ConversionSettings half;
  half.scale = {1, 2};
  ui_.options = half;
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(WriteBmp("h.bmp", 200, 150), true, true), 0);
  const CalibrationRecord& record = app_.calibration;

  ASSERT_EQ(document.ImportCalibrationFile(WriteText("h.bpw", "0.005\n0\n0\n-0.002\n8\n47.5\n"),
                                           WorldFileSystem{}),
            0);
  EXPECT_DOUBLE_EQ(record.north, 47.5);
  EXPECT_DOUBLE_EQ(record.west, 8.0);
  EXPECT_NEAR(record.south, 47.2, 1e-9);
  EXPECT_NEAR(record.east, 9.0, 1e-9);
  EXPECT_EQ(record.width, 100);
  EXPECT_EQ(record.height, 75);
  ASSERT_TRUE(record.points);
  const CalibrationPoint& bottom_right = (*record.points)[3];
  EXPECT_EQ(bottom_right.pixel_x, 99);
  EXPECT_EQ(bottom_right.pixel_y, 74);
  EXPECT_EQ(bottom_right.adjusted_x, 99);
  EXPECT_NEAR(bottom_right.longitude, 8.995, 1e-9);
  EXPECT_NEAR(bottom_right.latitude, 47.202, 1e-9);

  for (const char* name : {"h.kvm", "h.cal"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(document.ImportCalibrationFile(WriteText(name, testing::kTwoPointKvm), std::nullopt),
              0);
    ASSERT_TRUE(record.points);
    EXPECT_EQ((*record.points)[0].pixel_x, 50);
    EXPECT_EQ((*record.points)[0].pixel_y, 25);
    EXPECT_EQ((*record.points)[1].pixel_x, 99);
    EXPECT_EQ((*record.points)[1].adjusted_y, 74);
    EXPECT_DOUBLE_EQ(record.south, 47.0);
    EXPECT_EQ(record.width, 100);
  }
  EXPECT_TRUE(ui_.failures.empty());
}

TEST_F(DocumentCommandTest, WorldFileOffTheEarthIsAnImportFailure) {
  CDocument document(app_, ui_, true);
  ASSERT_EQ(document.ImportSourceImage(WriteBmp("e.bmp", 50, 40), true, true), 0);
  document.container().MarkSaved();
  const CalibrationRecord before = app_.calibration;
  const std::string world = WriteText("e.bpw", "1e308\n0\n0\n-1e308\n1e308\n-1e308\n");
  EXPECT_EQ(document.ImportCalibrationFile(world, WorldFileSystem{kSystemUtm, "32U", ""}), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].context, kContextImport);
  EXPECT_EQ(ui_.failures[0].failure.file_name, world);
  EXPECT_EQ(app_.calibration, before);
  EXPECT_FALSE(document.container().IsModified());
}

}  // namespace
}  // namespace kv
