#include "document/document.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "base/exceptions.h"
#include "base/file_extension.h"
#include "base/message_tables.h"
#include "document/command_ids.h"
#include "document/image_kind.h"
#include "document/import_progress.h"
#include "map/map_file.h"
#include "map/map_text.h"

namespace kv {

namespace {

std::int32_t ScaledPixel(std::int32_t pixel, int num, int den) {
  const std::int64_t scaled = std::int64_t{pixel} * num / den;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      scaled, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string ContainerBaseName(const std::string& default_document_name) {
  std::string stem = std::filesystem::path(default_document_name).stem().string();
  return stem.empty() ? std::string("Map") : stem;
}

}  // namespace

void ScaleCalibrationPoints(CalibrationRecord* record, int num, int den) {
  if (!record->points || num <= 0 || den <= 0) return;
  for (CalibrationPoint& point : *record->points) {
    point.pixel_x = ScaledPixel(point.pixel_x, num, den);
    point.pixel_y = ScaledPixel(point.pixel_y, num, den);
    point.adjusted_x = point.pixel_x;
    point.adjusted_y = point.pixel_y;
  }
}

CDocument::CDocument(ApplicationState& app, DocumentUi& ui, bool reset_calibration)
    : app_(app), ui_(ui), list_(ui) {
  ScaleRatio& scale = app_.settings.scale;
  if (!reset_calibration) ScaleCalibrationPoints(&app_.calibration, scale.scaleDen, scale.scaleNum);
  scale.scaleNum = 1;
  scale.scaleDen = 1;
  file_name_ = app_.default_document_name;
  folder_ = app_.last_map_folder;
  database_name_ = DatabaseNameFor(file_name_);
  if (reset_calibration) ClearCalibrationRecord(&app_.calibration);
  container_ =
      std::make_unique<CImageContainer>(ContainerBaseName(app_.default_document_name), &list_);
  list_.Attach(container_.get());
  ui_.ShowImage(nullptr);
  ui_.PreviewImage(nullptr);
  UpdateTitle();
  ui_.Repaint();
}

CDocument::~CDocument() {
  ui_.CloseCalibrationDialog(false);
  ui_.ShowImage(nullptr);
  ui_.PreviewImage(nullptr);
  // The container goes first: the list model it tells must still be there.
  container_.reset();
  library_.ShutDown();
}

std::unique_ptr<CDocument> CDocument::FromFile(ApplicationState& app, DocumentUi& ui,
                                               const std::string& path, bool reset_calibration) {
  auto document = std::make_unique<CDocument>(app, ui, reset_calibration);
  if (HasFileExtension(path, "prc")) {
    document->ReopenMap(path, reset_calibration);
  } else {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    app.last_image_folder = folder.empty() ? std::string() : folder + "/";
    document->ImportSourceImage(path, reset_calibration, false);
  }
  return document;
}

CDocument::Snapshot CDocument::TakeSnapshot() const {
  Snapshot snapshot;
  snapshot.image_count = container_->image_count();
  snapshot.modified = container_->IsModified();
  snapshot.calibration = app_.calibration;
  snapshot.source_path = source_path_;
  snapshot.selected = list_.selected_index();
  return snapshot;
}

void CDocument::RestoreSnapshot(const Snapshot& snapshot) {
  while (container_->image_count() > snapshot.image_count) {
    container_->RemoveImage(container_->ImageAt(container_->image_count() - 1));
  }
  if (!snapshot.modified) container_->ClearModified();
  app_.calibration = snapshot.calibration;
  app_.import_state.needs_image_size = false;
  source_path_ = snapshot.source_path;
  if (snapshot.selected >= 0) list_.Select(snapshot.selected);
  ui_.ShowImage(list_.current());
}

ImportEnvironment CDocument::Environment() {
  return ImportEnvironment{app_.coordinates, app_.import_state, *app_.diagnostics,
                           app_.negative_letters};
}

int CDocument::Report(std::uint32_t context, const DocumentFailure& failure) {
  ui_.ReportFailure(context, failure);
  return -1;
}

void CDocument::SetIdentity(const std::string& path) {
  const std::filesystem::path split(path);
  const std::string folder = split.parent_path().string();
  folder_ = folder.empty() ? std::string() : folder + "/";
  file_name_ = split.filename().string();
  database_name_ = DatabaseNameFor(path);
}

std::string CDocument::ProposedName() const {
  const CImage* current = list_.current();
  if (file_name_ == app_.default_document_name && current != nullptr) return current->name();
  return file_name_;
}

std::string CDocument::Title() const { return app_.caption + " - " + file_name_; }

void CDocument::UpdateTitle() { ui_.SetTitle(Title()); }

CloseDecision CDocument::QueryClose() {
  if (!ui_.CloseCalibrationDialog(true)) return CloseDecision::kKeep;
  if (!container_->IsModified()) return CloseDecision::kClose;
  Question question;
  question.text = FormatMessageText(app_.save_changes_question, file_name_);
  question.caption = app_.caption;
  question.icon = MessageIcon::kWarning;
  question.answers = AnswerSet::kYesNoCancel;
  switch (ui_.Ask(question)) {
    case Answer::kYes:
      if (!saved_) return CloseDecision::kSaveAsFirst;
      return Save() == 0 ? CloseDecision::kClose : CloseDecision::kKeep;
    case Answer::kNo:
      // Images whose depth differs from their saved depth still count as
      // changes: a second close asks again.
      container_->ClearModified();
      return CloseDecision::kClose;
    case Answer::kCancel:
      break;
  }
  return CloseDecision::kKeep;
}

int CDocument::HandleCommand(int command, bool* handled) {
  *handled = true;
  for (const DepthCommand& entry : kDepthCommands) {
    if (command == entry.command) return SetColourDepth(entry.depth);
  }
  if (installer_ != nullptr && command >= kCmdFirstInstallUser &&
      command - kCmdFirstInstallUser < static_cast<int>(install_users_.size())) {
    return InstallToHandheldUser(static_cast<std::size_t>(command - kCmdFirstInstallUser));
  }
  switch (command) {
    case kCmdExit:
      ui_.RequestClose();
      return 0;
    case kCmdOpenCalibration:
      ui_.OpenCalibrationDialog();
      ui_.SetPreviewerMode(PreviewerMode::kCalibrate);
      return 0;
    case kCmdCloseCalibration:
      ui_.SetPreviewerMode(ui_.CloseCalibrationDialog(true) ? PreviewerMode::kView
                                                            : PreviewerMode::kCalibrate);
      return 0;
    case kCmdUndo:
      ui_.UndoInCalibrationDialog();
      return 0;
    case kCmdRedo:
      ui_.RedoInCalibrationDialog();
      return 0;
    case kCmdToggleCompression:
      return SetCompression(!app_.settings.compressBitmaps);
    case kCmdZoom200:
      ui_.ZoomImageView(200);
      return 0;
    case kCmdZoom50:
      ui_.ZoomImageView(50);
      return 0;
    case kCmdZoom100:
      ui_.ZoomImageView(100);
      return 0;
    case kCmdZoomFit:
      ui_.ZoomImageView(kZoomFit);
      return 0;
    case kCmdCopyToPocketPc:
      if (installer_ != nullptr) return CopyToPocketPc();
      *handled = false;
      return 0;
    default:
      *handled = false;
      return 0;
  }
}

std::array<MenuItemState, 7> CDocument::MenuState() const {
  std::array<MenuItemState, 7> items;
  const CImage* selected = list_.selected_image();
  for (std::size_t i = 0; i < std::size(kDepthCommands); ++i) {
    items[i].command = kDepthCommands[i].command;
    items[i].checked = selected != nullptr && selected->bitmap().depth == kDepthCommands[i].depth;
  }
  items[5] = {kCmdSelectedEntry, selected != nullptr, false};
  items[6] = {kCmdToggleCompression, true, app_.settings.compressBitmaps};
  return items;
}

BoundTexts CDocument::RememberBounds() const {
  BoundTexts texts;
  if (const CImage* current = list_.current()) {
    for (std::size_t i = 0; i < kCornerTextCount; ++i) {
      texts[i] = current->corner_text(static_cast<CornerText>(i));
    }
  }
  return texts;
}

void CDocument::RestoreBounds(const BoundTexts& texts) {
  CImage* current = list_.current();
  if (current == nullptr) return;
  for (std::size_t i = 0; i < kCornerTextCount; ++i) {
    current->set_corner_text(static_cast<CornerText>(i), texts[i]);
  }
  list_.Refresh(*current);
}

void CDocument::CalibrationDialogClosed() {
  if (!ui_.IsCalibrationDialogOpen()) ui_.SetPreviewerMode(PreviewerMode::kView);
  ui_.Repaint();
  container_->SetModified();
}

int CDocument::Drop(const std::string& path) {
  const Snapshot before = TakeSnapshot();
  std::string name =
      CutToStoredLength(std::filesystem::path(path).filename().string(), kMaxImageNameLength);
  name = std::filesystem::path(name).stem().string();
  DocumentFailure failure;
  const bool ok = CaptureFailure(
      [&]() {
        WaitCursor wait(ui_);
        ImportProgress progress(ui_, *container_);
        // A dropped file brings no calibration of its own.
        std::optional<SourceCalibration> ignored;
        AddSourceByKind(path, ImageKind(path), name, true, &ignored);
        Tell(StoredNameNotices(name));
        source_path_ = path;
        RememberInput(path, kSourceImageRole);
      },
      path, &failure);
  if (ok) {
    UpdateTitle();
    ui_.Repaint();
    return 0;
  }
  RestoreSnapshot(before);
  return Report(kContextImport, failure);
}

}  // namespace kv
