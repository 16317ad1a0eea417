// Long work (an import, a colour depth or compression change, the
// conversion before a save) stopped at any of its reports leaves the
// document as it was, and only the conversion itself runs where the user
// interface puts it.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "document/command_ids.h"
#include "document_fixture.h"
#include "progress_ui.h"

namespace kv::testing {
namespace {

// What a cancel must leave alone.
struct DocumentState {
  std::vector<std::vector<std::uint8_t>> bitmaps;
  std::vector<std::string> names;
  bool modified = false;
  std::ptrdiff_t selected = -1;
  bool compress = false;
  int depth = 0;
  std::size_t unconverted = 0;

  bool operator==(const DocumentState&) const = default;
};

DocumentState StateOf(const CDocument& document, const ApplicationState& app) {
  DocumentState state;
  for (std::size_t i = 0; i < document.image_list().count(); ++i) {
    const CImage& image = *document.image_list().ImageAt(static_cast<std::ptrdiff_t>(i));
    state.bitmaps.push_back(image.bitmap().bytes);
    state.names.push_back(image.name());
    if (image.unconverted_source()) ++state.unconverted;
  }
  state.modified = document.container().IsModified();
  state.selected = document.image_list().selected_index();
  state.compress = app.settings.compressBitmaps;
  state.depth = app.settings.colourDepth;
  return state;
}

class LongWorkTest : public DocumentTest {
 protected:
  // A converted map of 7 images, saved, with the third entry selected.
  std::unique_ptr<CDocument> SavedMap() {
    const std::string bmp = WriteBmp("area.bmp", 480, 262);
    auto document = std::make_unique<CDocument>(app_, work_ui_, true);
    EXPECT_EQ(document->ImportSourceImage(bmp, true, true), 0);
    document->container().MarkSaved();
    document->image_list().Select(2);
    return document;
  }

  ProgressUi work_ui_;
};

TEST_F(LongWorkTest, ColourDepthChangeCancelledAtAnyStepChangesNothing) {
  // Counted on a twin document, so that the one under test stays untouched.
  std::size_t reports = 0;
  {
    auto twin = SavedMap();
    work_ui_.shown.clear();
    ASSERT_EQ(twin->SetColourDepth(4), 0);
    reports = work_ui_.shown.size();
  }
  ASSERT_EQ(reports, 8u);  // before each of 7 images, and done
  auto document = SavedMap();
  const DocumentState before = StateOf(*document, app_);
  for (std::size_t at = 1; at < reports; ++at) {
    work_ui_.shown.clear();
    work_ui_.failures.clear();
    work_ui_.cancel_at = static_cast<int>(at);
    EXPECT_EQ(document->SetColourDepth(4), -1);
    EXPECT_EQ(work_ui_.shown.size(), at);
    EXPECT_TRUE(StateOf(*document, app_) == before) << "cancelled at " << at;
    ASSERT_EQ(work_ui_.failures.size(), 1u);
    EXPECT_EQ(work_ui_.failures[0].failure.code, kErrAlreadyReported);
    EXPECT_EQ(work_ui_.failures[0].context, kContextColourDepth);
  }
  work_ui_.cancel_at = 0;
  ASSERT_EQ(document->SetColourDepth(4), 0);
  EXPECT_EQ(document->container().ImageAt(6)->bitmap().depth, 4);
  EXPECT_TRUE(document->container().IsModified());
}

TEST_F(LongWorkTest, CompressionChangeCancelledAtAnyStepChangesNothing) {
  auto document = SavedMap();
  ASSERT_TRUE(app_.settings.compressBitmaps);
  const DocumentState before = StateOf(*document, app_);
  bool handled = false;
  for (int at = 1; at < 8; ++at) {
    work_ui_.shown.clear();
    work_ui_.failures.clear();
    work_ui_.cancel_at = at;
    EXPECT_EQ(document->HandleCommand(kCmdToggleCompression, &handled), -1);
    // The setting stays with the bitmaps it describes.
    EXPECT_TRUE(StateOf(*document, app_) == before) << "cancelled at " << at;
    ASSERT_EQ(work_ui_.failures.size(), 1u);
    EXPECT_EQ(work_ui_.failures[0].failure.code, kErrAlreadyReported);
  }
  work_ui_.cancel_at = 0;
  ASSERT_EQ(document->HandleCommand(kCmdToggleCompression, &handled), 0);
  EXPECT_FALSE(app_.settings.compressBitmaps);
  EXPECT_FALSE(document->container().ImageAt(1)->bitmap().compressed);
  EXPECT_TRUE(document->container().IsModified());
}

TEST_F(LongWorkTest, ImportCancelledAtAnyPointAddsNothing) {
  const std::string second = WriteBmp("second.bmp", 400, 300);
  std::size_t reports = 0;
  {
    CDocument twin(app_, work_ui_, true);
    twin.container().conversion_context().threads = 1;
    work_ui_.shown.clear();
    ASSERT_EQ(twin.ImportSourceImage(second, true, true), 0);
    reports = work_ui_.shown.size();
  }
  ASSERT_GT(reports, 10u);
  // One encoding thread: the reports come in the same number every time.
  auto document = SavedMap();
  document->container().conversion_context().threads = 1;
  const DocumentState before = StateOf(*document, app_);
  const std::string source = document->source_path();
  // Reading rows and encoding tiles are both stopped, first and last.
  for (std::size_t at = 1; at < reports; at += (reports - 1) / 9) {
    work_ui_.shown.clear();
    work_ui_.failures.clear();
    work_ui_.cancel_at = static_cast<int>(at);
    EXPECT_EQ(document->ImportSourceImage(second, true, true), -1) << "cancelled at " << at;
    EXPECT_TRUE(StateOf(*document, app_) == before) << "cancelled at " << at;
    EXPECT_EQ(document->source_path(), source);
    ASSERT_EQ(work_ui_.failures.size(), 1u);
    EXPECT_EQ(work_ui_.failures[0].failure.code, kErrAlreadyReported);
  }
}

TEST_F(LongWorkTest, SaveCancelledWhileConvertingWritesNothingAndKeepsTheImage) {
  const std::string bmp = WriteBmp("area.bmp", 330, 140);
  std::size_t reports = 0;
  {
    CDocument twin(app_, work_ui_, true);
    twin.container().conversion_context().threads = 1;
    ASSERT_EQ(twin.ImportSourceImage(bmp, true, false), 0);
    work_ui_.shown.clear();
    ASSERT_EQ(twin.SaveAs(dir_.File("twin.prc")), 0);
    reports = work_ui_.shown.size();
  }
  ASSERT_GT(reports, 10u);
  CDocument document(app_, work_ui_, true);
  document.container().conversion_context().threads = 1;
  ASSERT_EQ(document.ImportSourceImage(bmp, true, false), 0);
  const DocumentState before = StateOf(document, app_);
  ASSERT_EQ(before.unconverted, 1u);
  const std::string target = dir_.File("map.prc");
  for (std::size_t at = 1; at < reports; at += (reports - 1) / 9) {
    work_ui_.shown.clear();
    work_ui_.failures.clear();
    work_ui_.cancel_at = static_cast<int>(at);
    EXPECT_EQ(document.SaveAs(target), -1) << "cancelled at " << at;
    EXPECT_TRUE(StateOf(document, app_) == before) << "cancelled at " << at;
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(document.saved());
    EXPECT_EQ(document.file_name(), "Untitled");
    ASSERT_EQ(work_ui_.failures.size(), 1u);
    EXPECT_EQ(work_ui_.failures[0].failure.code, kErrAlreadyReported);
  }
}

// Runs the conversion on a thread of its own, as the desktop program does,
// and notes any other call that arrives from there.
class WorkerThreadUi : public ProgressUi {
 public:
  void RunConversion(const std::function<void()>& work) override {
    ++runs;
    std::exception_ptr failure;
    std::thread worker([&]() {
      try {
        work();
      } catch (...) {
        failure = std::current_exception();
      }
    });
    worker.join();
    if (failure) std::rethrow_exception(failure);
  }
  void ShowProgress(const ConversionProgress& progress) override {
    if (OnMainThread()) ++progress_on_main;
    ProgressUi::ShowProgress(progress);
  }
  void ImageListChanged(const ImageListModel&) override { Note(); }
  void ShowImage(CImage*) override { Note(); }
  void PreviewImage(CImage*) override { Note(); }
  void Repaint() override { Note(); }
  void SetTitle(const std::string& text) override {
    Note();
    ProgressUi::SetTitle(text);
  }
  void SetWaitCursor(bool waiting) override {
    Note();
    ProgressUi::SetWaitCursor(waiting);
  }

  int runs = 0;
  int progress_on_main = 0;
  std::atomic<int> off_main_calls{0};

 private:
  bool OnMainThread() const { return std::this_thread::get_id() == main_; }
  void Note() {
    if (!OnMainThread()) ++off_main_calls;
  }

  std::thread::id main_ = std::this_thread::get_id();
};

TEST_F(LongWorkTest, OnlyTheConversionLeavesTheWindowsThread) {
  WorkerThreadUi ui;
  const std::string bmp = WriteBmp("area.bmp", 330, 140);
  CDocument document(app_, ui, true);
  ASSERT_EQ(document.ImportSourceImage(bmp, true, false), 0);
  EXPECT_EQ(ui.runs, 0);  // nothing converted yet
  ASSERT_EQ(document.SaveAs(dir_.File("area.prc")), 0);
  EXPECT_EQ(ui.runs, 1);
  ASSERT_EQ(document.ImportSourceImage(bmp, false, true), 0);
  EXPECT_EQ(ui.runs, 2);
  ASSERT_EQ(document.SetColourDepth(4), 0);
  EXPECT_EQ(ui.runs, 3);
  ASSERT_EQ(document.SetCompression(false), 0);
  EXPECT_EQ(ui.runs, 4);
  EXPECT_TRUE(ui.failures.empty());
  EXPECT_FALSE(ui.shown.empty());
  EXPECT_EQ(ui.progress_on_main, 0);
  EXPECT_EQ(ui.off_main_calls, 0);
}

}  // namespace
}  // namespace kv::testing
