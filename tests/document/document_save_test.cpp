#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/message_tables.h"
#include "document/command_ids.h"
#include "document/document.h"
#include "document_fixture.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class DocumentSaveTest : public testing::DocumentTest {
 protected:
  // A document holding a converted image with a calibration.
  std::unique_ptr<CDocument> Imported() {
    const std::string bmp = WriteBmp("area.bmp", 200, 150);
    WriteText("area.kvm", testing::kTwoPointKvm);
    auto document = std::make_unique<CDocument>(app_, ui_, true);
    EXPECT_EQ(document->ImportSourceImage(bmp, true, true), 0);
    return document;
  }
  int Command(CDocument& document, int command) {
    bool handled = false;
    const int result = document.HandleCommand(command, &handled);
    EXPECT_TRUE(handled) << command;
    return result;
  }
};

TEST_F(DocumentSaveTest, FirstSaveProposesTheImageNameAndTakesTheChosenOne) {
  auto document = Imported();
  const std::string map = dir_.File("saved.prc");
  EXPECT_EQ(document->ProposedName(), "area");
  ASSERT_EQ(document->SaveAs(map), 0);
  EXPECT_TRUE(document->saved());
  EXPECT_FALSE(document->container().IsModified());
  EXPECT_EQ(document->file_name(), "saved.prc");
  EXPECT_EQ(document->database_name(), "saved");
  EXPECT_EQ(app_.last_map_folder, Folder());
  EXPECT_EQ(ui_.title, "Korvale - saved.prc");
  EXPECT_TRUE(fs::exists(map));

  // Saving again writes to the same file.
  ASSERT_EQ(document->Save(), 0);
  EXPECT_EQ(document->file_name(), "saved.prc");
  EXPECT_EQ(document->ProposedName(), "saved.prc");
}

TEST_F(DocumentSaveTest, ReopenedMapCarriesItsCalibrationAndIdentity) {
  auto document = Imported();
  const CalibrationRecord imported = app_.calibration;
  const std::string map = dir_.File("round.prc");
  ASSERT_EQ(document->SaveAs(map), 0);
  document.reset();

  ClearCalibrationRecord(&app_.calibration);
  auto reopened = CDocument::FromFile(app_, ui_, map, true);
  EXPECT_TRUE(reopened->saved());
  EXPECT_EQ(reopened->folder(), Folder());
  EXPECT_EQ(reopened->file_name(), "round.prc");
  EXPECT_EQ(reopened->source_path(), dir_.File("round.bmp"));
  EXPECT_FALSE(reopened->container().IsModified());
  EXPECT_EQ(reopened->image_list().selected_index(), 0);
  EXPECT_NEAR(app_.calibration.north, imported.north, 1e-9);
  EXPECT_NEAR(app_.calibration.east, imported.east, 1e-9);
  ASSERT_TRUE(app_.calibration.points);
  EXPECT_EQ(*app_.calibration.points, *imported.points);

  EXPECT_THROW(CDocument::FromFile(app_, ui_, dir_.File("none.prc"), true), ErrFileOpen);
}

TEST_F(DocumentSaveTest, ExportCalibrationLeavesTheDocumentUnsaved) {
  app_.last_map_folder = Folder();
  auto document = Imported();
  EXPECT_EQ(document->document_path(), dir_.File("Untitled"));
  WriteText("Untitled", "an unrelated file of the default name");
  ui_.answers.push_back(Answer::kYes);
  ASSERT_TRUE(document->ConfirmCalibrationExport());
  EXPECT_EQ(document->ProposedName(), "area");
  ASSERT_EQ(document->ExportCalibration("exported.txt"), 0);
  const std::string exported = dir_.File("exported.kvm");
  ASSERT_TRUE(fs::exists(exported));
  const std::vector<std::uint8_t> text = dir_.Read("exported.kvm");
  EXPECT_NE(std::string(text.begin(), text.end()).find("kv_north=7=47.50000000\n"),
            std::string::npos);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find(exported), std::string::npos);
  EXPECT_FALSE(document->saved());
  EXPECT_TRUE(document->container().IsModified());

  // The map still has no file of its own, and the unrelated file stays as
  // it was.
  const std::vector<std::uint8_t> unrelated = dir_.Read("Untitled");
  EXPECT_EQ(std::string(unrelated.begin(), unrelated.end()),
            "an unrelated file of the default name");
}

// The chosen name's extension picks the writer; a name the writers refuse is
// reported with the file, and nothing is written.
TEST_F(DocumentSaveTest, ExportCalibrationWritesTheFormatItsNameAsksFor) {
  auto document = Imported();
  ASSERT_EQ(document->ExportCalibration(dir_.File("exported.map")), 0);
  const std::vector<std::uint8_t> map = dir_.Read("exported.map");
  const std::string text(map.begin(), map.end());
  EXPECT_EQ(text.rfind("OziExplorer Map Data File Version 2.2\r\narea\r\narea.bmp\r\n", 0), 0u);
  ASSERT_EQ(document->ExportCalibration(dir_.File("exported.bpw")), 0);
  EXPECT_TRUE(fs::exists(dir_.File("exported.prj")));
  EXPECT_FALSE(fs::exists(dir_.File("exported.kvm")));

  EXPECT_EQ(document->ExportCalibration(dir_.File("exported.geo")), -1);
  ASSERT_EQ(ui_.failures.size(), 1u);
  EXPECT_EQ(ui_.failures[0].failure.code, kErrExportFormat);
  EXPECT_EQ(ui_.failures[0].failure.file_name, dir_.File("exported.geo"));
  EXPECT_FALSE(fs::exists(dir_.File("exported.geo")));
}

TEST_F(DocumentSaveTest, ExportAnsweredNoWritesNothing) {
  auto document = Imported();
  ui_.answers.push_back(Answer::kNo);
  EXPECT_FALSE(document->ConfirmCalibrationExport());
  EXPECT_EQ(ui_.questions[0].text, "Export calibration data to a .kvm file? \n");
}

TEST_F(DocumentSaveTest, FailedSaveLeavesThePreviousFileAndTheDocumentUnsaved) {
  auto document = Imported();
  const std::string map = dir_.File("keep.prc");
  ASSERT_EQ(document->SaveAs(map), 0);
  const std::vector<std::uint8_t> before = dir_.Read("keep.prc");
  document.reset();

  // An empty map cannot be written: the user is told so, and is told so
  // before any file is chosen.
  CDocument empty(app_, ui_, true);
  EXPECT_EQ(empty.SaveAs(map), -1);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Empty map"});
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(dir_.Read("keep.prc"), before);
  EXPECT_FALSE(empty.saved());
  EXPECT_EQ(empty.file_name(), "Untitled");

  // A folder that does not exist: the document keeps its name.
  auto second = Imported();
  EXPECT_EQ(second->SaveAs(dir_.File("missing/x.prc")), -1);
  EXPECT_EQ(ui_.failures.back().failure.code, kErrFileCreate);
  EXPECT_FALSE(second->saved());
  EXPECT_EQ(second->file_name(), "Untitled");
  EXPECT_TRUE(second->container().IsModified());
}

// A refusal is one error box in the save context that names both files;
// nothing is written and the document keeps its name.
class DocumentOverwriteTest : public DocumentSaveTest {
 protected:
  void ExpectRefused(CDocument& document, const std::function<int()>& save,
                     const std::string& output, const std::string& input) {
    const std::vector<std::uint8_t> before = dir_.Read(fs::path(input).filename().string());
    const std::string file_name = document.file_name();
    const std::size_t failures = ui_.failures.size();
    EXPECT_EQ(save(), -1);
    ASSERT_EQ(ui_.failures.size(), failures + 1);
    const testing::RecordedFailure& failure = ui_.failures.back();
    EXPECT_EQ(failure.context, kContextSave);
    EXPECT_EQ(failure.failure.kind, FailureKind::kStandard);
    EXPECT_NE(failure.failure.description.find(output + " is the same file as the "),
              std::string::npos)
        << failure.failure.description;
    EXPECT_NE(failure.failure.description.find(" " + input + ";"), std::string::npos)
        << failure.failure.description;
    EXPECT_EQ(dir_.Read(fs::path(input).filename().string()), before);
    EXPECT_EQ(document.file_name(), file_name);
    EXPECT_FALSE(document.saved());
  }
};

TEST_F(DocumentOverwriteTest, SaveRefusesTheSourceImageAndTheCalibrationFoundBesideIt) {
  auto document = Imported();
  const auto save_as = [&](const std::string& path) {
    return [&document, path]() { return document->SaveAs(path); };
  };
  const std::string image = dir_.File("area.bmp");
  ExpectRefused(*document, save_as(image), image, image);
  fs::create_hard_link(image, dir_.File("hard.prc"));
  ExpectRefused(*document, save_as(dir_.File("hard.prc")), dir_.File("hard.prc"), image);
  const std::string calibration = dir_.File("area.kvm");
  ExpectRefused(*document, save_as(calibration), calibration, calibration);

  // Exporting over the calibration that was read is refused as well.
  app_.last_map_folder = Folder();
  auto exporting = Imported();
  ExpectRefused(
      *exporting, [&]() { return exporting->ExportCalibration("area.kvm"); }, calibration,
      calibration);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(DocumentOverwriteTest, SaveRefusesCalibrationFilesAndDroppedImagesTakenLater) {
  auto document = Imported();
  const std::string other = WriteText("other.kvm", testing::kTwoPointKvm);
  ASSERT_EQ(document->ImportCalibrationFile(other, std::nullopt), 0);
  fs::create_symlink("other.kvm", dir_.File("link.prc"));
  ExpectRefused(
      *document, [&]() { return document->SaveAs(dir_.File("link.prc")); }, dir_.File("link.prc"),
      other);

  const std::string dropped = WriteBmp("dropped.bmp", 50, 40);
  ASSERT_EQ(document->Drop(dropped), 0);
  ExpectRefused(
      *document, [&]() { return document->SaveAs(dropped); }, dropped, dropped);
}

TEST_F(DocumentOverwriteTest, AReopenedMapIsSavedOverItself) {
  auto document = Imported();
  const std::string map = dir_.File("again.prc");
  ASSERT_EQ(document->SaveAs(map), 0);
  document.reset();
  auto reopened = CDocument::FromFile(app_, ui_, map, true);
  ASSERT_EQ(Command(*reopened, kCmdDepth4), 0);
  EXPECT_EQ(reopened->Save(), 0);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(reopened->container().ImageAt(0)->bitmap().depth, 4);
}

TEST_F(DocumentSaveTest, AnsweringNoClearsOnlyTheModifiedFlag) {
  auto document = Imported();
  ui_.answers = {Answer::kNo};
  EXPECT_EQ(document->QueryClose(), CloseDecision::kClose);
  EXPECT_EQ(ui_.questions.size(), 1u);
  EXPECT_EQ(ui_.questions[0].text, "Save Untitled?");
  EXPECT_EQ(ui_.questions[0].answers, AnswerSet::kYesNoCancel);
  EXPECT_EQ(document->QueryClose(), CloseDecision::kClose);  // nothing left to ask about
  EXPECT_EQ(ui_.questions.size(), 1u);

  ASSERT_EQ(Command(*document, kCmdDepth4), 0);
  ui_.answers = {Answer::kNo, Answer::kCancel};
  EXPECT_EQ(document->QueryClose(), CloseDecision::kClose);
  // The depths still differ from the saved ones: a second close asks again.
  EXPECT_EQ(document->QueryClose(), CloseDecision::kKeep);
  EXPECT_EQ(ui_.questions.size(), 3u);
}

TEST_F(DocumentSaveTest, YesSavesAMapWithAFileAndLeavesTheNameOfANewOneToTheCaller) {
  auto document = Imported();
  ui_.answers = {Answer::kYes};
  EXPECT_EQ(document->QueryClose(), CloseDecision::kSaveAsFirst);
  EXPECT_TRUE(document->container().IsModified());
  ASSERT_EQ(document->SaveAs(dir_.File("closing.prc")), 0);
  EXPECT_TRUE(document->saved());

  ASSERT_EQ(Command(*document, kCmdDepth4), 0);
  ui_.answers = {Answer::kYes};
  EXPECT_EQ(document->QueryClose(), CloseDecision::kClose);
  EXPECT_FALSE(document->container().IsModified());

  ui_.refuse_close = true;  // the calibration dialog refuses its values
  EXPECT_EQ(document->QueryClose(), CloseDecision::kKeep);
}

}  // namespace
}  // namespace kv
