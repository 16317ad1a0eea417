#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(DocumentSaveTest, FirstSaveAsksForANameProposingTheImageName) {
  auto document = Imported();
  const std::string map = dir_.File("saved.prc");
  ui_.files.push_back(map);
  ASSERT_EQ(Command(*document, kCmdSave), 0);
  ASSERT_EQ(ui_.file_requests.size(), 1u);
  EXPECT_EQ(ui_.file_requests[0].choice, FileChoice::kSaveMap);
  EXPECT_EQ(ui_.file_requests[0].proposed_name, "area");
  EXPECT_TRUE(document->saved());
  EXPECT_FALSE(document->container().IsModified());
  EXPECT_EQ(document->file_name(), "saved.prc");
  EXPECT_EQ(document->database_name(), "saved");
  EXPECT_EQ(app_.last_map_folder, Folder());
  EXPECT_EQ(ui_.title, "Korvale - saved.prc");
  EXPECT_TRUE(fs::exists(map));

  // Saving again writes to the same file without asking.
  ASSERT_EQ(Command(*document, kCmdSave), 0);
  EXPECT_EQ(ui_.file_requests.size(), 1u);
}

TEST_F(DocumentSaveTest, ReopenedMapCarriesItsCalibrationAndIdentity) {
  auto document = Imported();
  const CalibrationRecord imported = app_.calibration;
  const std::string map = dir_.File("round.prc");
  ui_.files.push_back(map);
  ASSERT_EQ(Command(*document, kCmdSaveAs), 0);
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
  ui_.files.push_back(std::string("exported.txt"));
  ASSERT_EQ(Command(*document, kCmdExportCalibration), 0);
  EXPECT_EQ(ui_.file_requests.back().choice, FileChoice::kExportCalibration);
  EXPECT_EQ(ui_.file_requests.back().proposed_name, "area");
  const std::string exported = dir_.File("exported.kvm");
  ASSERT_TRUE(fs::exists(exported));
  const std::vector<std::uint8_t> text = dir_.Read("exported.kvm");
  EXPECT_NE(std::string(text.begin(), text.end()).find("kv_north=7=47.50000000\n"),
            std::string::npos);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_NE(ui_.messages[0].find(exported), std::string::npos);
  EXPECT_FALSE(document->saved());
  EXPECT_TRUE(document->container().IsModified());

  // Save still asks for a name, and the unrelated file stays as it was.
  ui_.files.push_back(std::nullopt);
  EXPECT_EQ(Command(*document, kCmdSave), -1);
  EXPECT_EQ(ui_.file_requests.back().choice, FileChoice::kSaveMap);
  const std::vector<std::uint8_t> unrelated = dir_.Read("Untitled");
  EXPECT_EQ(std::string(unrelated.begin(), unrelated.end()),
            "an unrelated file of the default name");
}

TEST_F(DocumentSaveTest, ExportAnsweredNoWritesNothing) {
  auto document = Imported();
  ui_.answers.push_back(Answer::kNo);
  EXPECT_EQ(Command(*document, kCmdExportCalibration), -1);
  EXPECT_TRUE(ui_.file_requests.empty());
  EXPECT_EQ(ui_.questions[0].text, "Export calibration data to a .kvm file? \n");
}

TEST_F(DocumentSaveTest, FailedSaveLeavesThePreviousFileAndTheDocumentUnsaved) {
  auto document = Imported();
  const std::string map = dir_.File("keep.prc");
  ui_.files.push_back(map);
  ASSERT_EQ(Command(*document, kCmdSaveAs), 0);
  const std::vector<std::uint8_t> before = dir_.Read("keep.prc");
  document.reset();

  // An empty map cannot be written: the user is told so before any file
  // is chosen.
  CDocument empty(app_, ui_, true);
  const std::size_t choosers = ui_.file_requests.size();
  EXPECT_EQ(Command(empty, kCmdSave), -1);
  EXPECT_EQ(ui_.file_requests.size(), choosers);
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Empty map"});
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(dir_.Read("keep.prc"), before);
  EXPECT_FALSE(empty.saved());
  EXPECT_EQ(empty.file_name(), "Untitled");

  // A folder that does not exist: the document keeps its name.
  auto second = Imported();
  ui_.files.push_back(dir_.File("missing/x.prc"));
  EXPECT_EQ(Command(*second, kCmdSaveAs), -1);
  EXPECT_EQ(ui_.failures.back().failure.code, kErrFileCreate);
  EXPECT_FALSE(second->saved());
  EXPECT_EQ(second->file_name(), "Untitled");
  EXPECT_TRUE(second->container().IsModified());
}

// A refusal is one error box in the save context that names both files;
// nothing is written and the document keeps its name.
class DocumentOverwriteTest : public DocumentSaveTest {
 protected:
  void ExpectRefused(CDocument& document, int command, const std::string& output,
                     const std::string& input) {
    const std::vector<std::uint8_t> before = dir_.Read(fs::path(input).filename().string());
    const std::string file_name = document.file_name();
    const std::size_t failures = ui_.failures.size();
    EXPECT_EQ(Command(document, command), -1);
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
  const std::string image = dir_.File("area.bmp");
  ui_.files.push_back(image);
  ExpectRefused(*document, kCmdSaveAs, image, image);
  fs::create_hard_link(image, dir_.File("hard.prc"));
  ui_.files.push_back(dir_.File("hard.prc"));
  ExpectRefused(*document, kCmdSaveAs, dir_.File("hard.prc"), image);
  const std::string calibration = dir_.File("area.kvm");
  ui_.files.push_back(calibration);
  ExpectRefused(*document, kCmdSaveAs, calibration, calibration);

  // Exporting over the calibration that was read is refused as well.
  ui_.answers.push_back(Answer::kYes);
  ui_.files.push_back(std::string("area.kvm"));
  app_.last_map_folder = Folder();
  auto exporting = Imported();
  ExpectRefused(*exporting, kCmdExportCalibration, calibration, calibration);
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(DocumentOverwriteTest, SaveRefusesCalibrationFilesAndDroppedImagesTakenLater) {
  auto document = Imported();
  const std::string other = WriteText("other.kvm", testing::kTwoPointKvm);
  ui_.answers.push_back(Answer::kYes);  // replace the calibration
  ui_.files.push_back(other);
  ASSERT_EQ(Command(*document, kCmdImportCalibrationFile), 0);
  fs::create_symlink("other.kvm", dir_.File("link.prc"));
  ui_.files.push_back(dir_.File("link.prc"));
  ExpectRefused(*document, kCmdSaveAs, dir_.File("link.prc"), other);

  const std::string dropped = WriteBmp("dropped.bmp", 50, 40);
  ASSERT_EQ(document->Drop(dropped), 0);
  ui_.files.push_back(dropped);
  ExpectRefused(*document, kCmdSaveAs, dropped, dropped);
}

TEST_F(DocumentOverwriteTest, AReopenedMapIsSavedOverItself) {
  auto document = Imported();
  const std::string map = dir_.File("again.prc");
  ui_.files.push_back(map);
  ASSERT_EQ(Command(*document, kCmdSaveAs), 0);
  document.reset();
  auto reopened = CDocument::FromFile(app_, ui_, map, true);
  ASSERT_EQ(Command(*reopened, kCmdDepth4), 0);
  EXPECT_EQ(Command(*reopened, kCmdSave), 0);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(reopened->container().ImageAt(0)->bitmap().depth, 4);
}

TEST_F(DocumentSaveTest, AnsweringNoClearsOnlyTheModifiedFlag) {
  auto document = Imported();
  ui_.answers = {Answer::kNo};
  EXPECT_TRUE(document->QueryClose());
  EXPECT_EQ(ui_.questions.size(), 1u);
  EXPECT_EQ(ui_.questions[0].text, "Save Untitled?");
  EXPECT_EQ(ui_.questions[0].answers, AnswerSet::kYesNoCancel);
  EXPECT_TRUE(document->QueryClose());  // nothing left to ask about
  EXPECT_EQ(ui_.questions.size(), 1u);

  ASSERT_EQ(Command(*document, kCmdDepth4), 0);
  ui_.answers = {Answer::kNo, Answer::kCancel};
  EXPECT_TRUE(document->QueryClose());
  // The depths still differ from the saved ones: a second close asks again.
  EXPECT_FALSE(document->QueryClose());
  EXPECT_EQ(ui_.questions.size(), 3u);
}

TEST_F(DocumentSaveTest, YesSavesAndAFailedOrCancelledSaveKeepsTheDocument) {
  auto document = Imported();
  ui_.answers = {Answer::kYes};
  ui_.files.push_back(std::nullopt);
  EXPECT_FALSE(document->QueryClose());
  ui_.answers = {Answer::kYes};
  ui_.files.push_back(dir_.File("closing.prc"));
  EXPECT_TRUE(document->QueryClose());
  EXPECT_TRUE(document->saved());

  ui_.refuse_close = true;  // the calibration dialog refuses its values
  EXPECT_FALSE(document->QueryClose());
}

}  // namespace
}  // namespace kv
