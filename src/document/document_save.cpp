// Save, Save As and Export Calibration.

#include <filesystem>

#include "base/exceptions.h"
#include "base/message_tables.h"
#include "calibration/calibration_export.h"
#include "calibration/calibration_text_writer.h"
#include "calibration/world_file_writer.h"
#include "document/document.h"
#include "document/import_progress.h"
#include "document/input_overwrite.h"
#include "map/map_file.h"

namespace kv {

std::string CDocument::Resolve(const std::string& chosen) const {
  if (std::filesystem::path(chosen).is_absolute() || folder_.empty()) return chosen;
  return folder_ + chosen;
}

// A map without images would be written as a file the handheld cannot
// show; the user hears why nothing was written instead.
bool CDocument::ReadyToSave() {
  if (container_->image_count() != 0) return true;
  ui_.ShowMessage(app_.empty_map_message, app_.caption, MessageIcon::kWarning);
  return false;
}

int CDocument::Save() {
  const std::string target = document_path();
  if (!ReadyToSave()) return -1;
  if (!ui_.CloseCalibrationDialog(true)) return -1;
  int result = 0;
  DocumentFailure failure;
  if (!CaptureFailure([&]() { result = SaveBody(target); }, target, &failure)) {
    return Report(kContextSave, failure);
  }
  return result;
}

void CDocument::RememberInput(const std::string& path, std::string_view role) {
  if (!path.empty()) inputs_.push_back({path, role});
}

int CDocument::SaveBody(const std::string& target) {
  RefuseToOverwriteInput(target, inputs_);
  if (CImage* current = list_.current()) StoreCalibrationText(*current);
  ConvertBeforeSaving();
  // The map goes into a new file that replaces the target only once it is
  // complete, so a failure leaves the previous map as it was.
  SaveMapFile(*container_, target, database_name_, MapWriteTime(),
              TemporaryFileKind::kUnnamedWhenPossible, app_.commit_map);
  container_->MarkSaved();
  saved_ = true;
  UpdateTitle();
  return 0;
}

void CDocument::ConvertBeforeSaving() {
  if (!container_->HasUnconvertedImages()) return;
  try {
    WaitCursor wait(ui_);
    ImportProgress progress(ui_, *container_);
    container_->ConvertUnconvertedImages(app_.settings);
  } catch (LException& error) {
    // What failed here is the image, not the map being written.
    if (error.file_name() == nullptr) error.set_file_name(source_path_.c_str());
    throw;
  }
  list_.Select(0);
  ui_.ShowImage(list_.current());
}

bool CDocument::ConfirmCalibrationExport() {
  if (!ui_.CloseCalibrationDialog(true)) return false;
  if (CImage* current = list_.current()) StoreCalibrationText(*current);
  Question question;
  question.text = std::string(kExportCalibrationQuestion);
  question.caption = app_.caption;
  question.icon = MessageIcon::kQuestion;
  question.answers = AnswerSet::kYesNo;
  return ui_.Ask(question) == Answer::kYes;
}

// Writes only the calibration file: the map itself is not saved, so neither the
// saved flag nor the container's modified state change; a later Save asks
// for a name like any first save.
int CDocument::ExportCalibration(const std::string& path) {
  if (!ui_.CloseCalibrationDialog(true)) return -1;
  DocumentFailure failure;
  if (!CaptureFailure([&]() { WriteCalibrationExport(path); }, document_path(), &failure)) {
    return Report(kContextSave, failure);
  }
  return 0;
}

// The chosen name's extension picks the format. A world file is written in
// the coordinate system of the last world file import (degrees when there
// was none), so a sheet imported in UTM goes out in UTM again.
void CDocument::WriteCalibrationExport(const std::string& chosen) {
  if (CImage* current = list_.current()) StoreCalibrationText(*current);
  const std::string path = ExportedCalibrationPath(Resolve(chosen));
  RefuseToOverwriteInput(path, inputs_);
  if (ExportFormatOf(path) == CalibrationExportFormat::kWorldFile) {
    RefuseToOverwriteInput(PrjPathOf(path), inputs_);
  }
  const ExportOutcome outcome =
      ExportCalibrationFile(app_.calibration, path, app_.import_state.world_file_system,
                            std::filesystem::path(source_path_).filename().string());
  if (outcome.status != ExportStatus::kOk) RaiseExportError(outcome, path);
  ui_.ShowMessage(CalibrationExportedMessage(path), app_.caption, MessageIcon::kWarning);
  UpdateTitle();
}

int CDocument::SaveAs(const std::string& path) {
  if (!ReadyToSave()) return -1;
  const std::string old_folder = folder_;
  const std::string old_file_name = file_name_;
  const std::string old_database_name = database_name_;
  SetIdentity(Resolve(path));
  app_.last_map_folder = folder_;
  const int result = Save();
  if (result != 0) {
    // The document keeps the file it had until a save under the new name
    // succeeds.
    folder_ = old_folder;
    file_name_ = old_file_name;
    database_name_ = old_database_name;
    UpdateTitle();
  }
  return result;
}

}  // namespace kv
