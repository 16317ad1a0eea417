// Colour depth and compression over all entries, and importing a world file
// or calibration file for the current image.

#include "base/message_tables.h"
#include "document/document.h"
#include "document/import_progress.h"

namespace kv {

int CDocument::SetColourDepth(int depth) {
  const int result = Reencode(depth);
  // An image not converted yet is converted at the depth the user picked
  // last, when the map is saved.
  if (result == 0 && container_->HasUnconvertedImages()) app_.settings.colourDepth = depth;
  return result;
}

int CDocument::Reencode(std::optional<int> depth) {
  DocumentFailure failure;
  const bool ok = CaptureFailure(
      [&]() {
        WaitCursor wait(ui_);
        ImportProgress progress(ui_, *container_);
        // In list order: the first entry builds the colour table the others
        // share.
        container_->ReencodeImages(app_.settings, depth);
      },
      // The bitmaps came from the map file once it has one, else from the
      // image.
      saved_ ? document_path() : source_path_, &failure);
  // A failed or cancelled change left every bitmap, and so the list, as it
  // was.
  if (!ok) return Report(kContextColourDepth, failure);
  list_.Select(0);
  ui_.ShowImage(list_.current());
  return 0;
}

int CDocument::SetCompression(bool compress) {
  const bool before = app_.settings.compressBitmaps;
  app_.settings.compressBitmaps = compress;
  if (list_.current() == nullptr) return 0;
  // Every entry keeps its own depth.
  const int result = Reencode(std::nullopt);
  if (result != 0) {
    app_.settings.compressBitmaps = before;
    return result;
  }
  // The bitmaps changed although their depths did not.
  container_->SetModified();
  return 0;
}

void CDocument::ApplyCalibration() {
  CImage* current = list_.current();
  if (current == nullptr) return;
  SetCornerTextsFromBounds(*current, app_.calibration);
  StoreCalibrationText(*current);
  list_.Refresh(*current);
  container_->SetModified();
}

bool CDocument::ConfirmCalibrationReplace() {
  if (list_.current() == nullptr) return true;
  Question question;
  question.text = app_.replace_calibration_question;
  question.caption = app_.caption;
  question.icon = MessageIcon::kQuestion;
  question.answers = AnswerSet::kYesNo;
  return ui_.Ask(question) == Answer::kYes;
}

int CDocument::ImportCalibrationFile(const std::string& path,
                                     const std::optional<WorldFileSystem>& system) {
  CImage* current = list_.current();
  // Read in the source's pixels, as the image's import read its own.
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (current != nullptr) SourceSize(*current, &width, &height);
  DocumentFailure failure;
  const bool ok = CaptureFailure(
      [&]() {
        ImportedCalibrationFile file = ReadCalibrationFile(path, system, width, height);
        if (current != nullptr) FitCalibrationToImage(*current, &file.record);
        app_.calibration = std::move(file.record);
        Tell(CalibrationNotices(TakenCalibration{path, FormatOfCalibrationFile(file.type),
                                                 std::move(file.import.warnings)},
                                app_.calibration, std::string(), true));
      },
      path, &failure);
  app_.import_state.needs_image_size = false;
  if (!ok) return Report(kContextImport, failure);
  RememberInput(path, kCalibrationFileRole);
  ui_.RefreshCalibrationDialog();
  // The view draws the calibration's points: show the new ones.
  ui_.Repaint();
  // The image's calibration text follows at the next apply or save; until
  // then the change must not be lost on close.
  container_->SetModified();
  return 0;
}

}  // namespace kv
