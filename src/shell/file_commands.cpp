#include "shell/file_commands.h"

#include <filesystem>

#include "document/command_ids.h"
#include "document/document.h"
#include "shell/shell_state.h"
#include "shell/user_prompts.h"

namespace kv {

namespace {

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? std::string() : folder + "/";
}

}  // namespace

FileCommands::FileCommands(QWidget* owner, ShellState& state, UserPrompts& prompts)
    : owner_(owner), state_(state), prompts_(prompts) {}

std::optional<int> FileCommands::Run(CDocument& document, int command) {
  switch (command) {
    case kCmdSave:
      return Save(document);
    case kCmdSaveAs:
      return SaveAs(document);
    case kCmdImportImage:
      return ImportImage(document, true);
    case kCmdExportCalibration:
      return ExportCalibration(document);
    case kCmdImportWorldFile:
      return ImportCalibrationFile(document, true);
    case kCmdImportCalibrationFile:
      return ImportCalibrationFile(document, false);
    default:
      return std::nullopt;
  }
}

int FileCommands::Save(CDocument& document) {
  return document.saved() ? document.Save() : SaveAs(document);
}

int FileCommands::SaveAs(CDocument& document) {
  if (!document.ReadyToSave()) return -1;
  const std::optional<std::string> path =
      Choose(ChooserKind::kSaveMap, document.folder(), document.ProposedName());
  if (!path) return -1;
  return document.SaveAs(*path);
}

int FileCommands::ImportImage(CDocument& document, bool reset_calibration) {
  const std::optional<std::string> path =
      Choose(ChooserKind::kOpenImage, state_.app.last_image_folder, std::string());
  if (!path) return -1;
  return document.ImportImage(*path, reset_calibration);
}

int FileCommands::ExportCalibration(CDocument& document) {
  if (!document.ConfirmCalibrationExport()) return -1;
  const std::optional<std::string> path =
      Choose(ChooserKind::kSaveCalibration, document.folder(), document.ProposedName());
  if (!path) return 0;
  return document.ExportCalibration(*path);
}

int FileCommands::ImportCalibrationFile(CDocument& document, bool world_file) {
  if (!document.ConfirmCalibrationReplace()) return 0;
  const std::optional<std::string> path =
      Choose(world_file ? ChooserKind::kOpenWorldFile : ChooserKind::kOpenCalibrationFile,
             state_.app.last_image_folder, std::string());
  if (!path) return 0;
  std::optional<WorldFileSystem> system;
  if (world_file) {
    system = prompts_.ChooseWorldFileSystem(owner_, state_.app.import_state.world_file_system);
    if (!system) return 0;
    state_.app.import_state.world_file_system = *system;
  }
  return document.ImportCalibrationFile(*path, system);
}

bool FileCommands::QueryClose(CDocument& document) {
  switch (document.QueryClose()) {
    case CloseDecision::kClose:
      return true;
    case CloseDecision::kKeep:
      return false;
    case CloseDecision::kSaveAsFirst:
      return SaveAs(document) == 0;
  }
  return false;
}

std::optional<std::string> FileCommands::ChooseMapToOpen() {
  std::optional<std::string> path = Choose(ChooserKind::kOpenMap, state_.app.last_map_folder, "");
  if (path) state_.app.last_map_folder = FolderOf(*path);
  return path;
}

std::optional<std::string> FileCommands::Choose(ChooserKind kind, const std::string& folder,
                                                const std::string& proposed_name) {
  const FileChooser chooser = MakeFileChooser(kind, state_.language.strings);
  std::optional<std::string> path = prompts_.ChooseFile(owner_, chooser, folder, proposed_name);
  if (!path) return std::nullopt;
  *path = CompleteChosenPath(chooser, *path);
  if (kind == ChooserKind::kOpenWorldFile || kind == ChooserKind::kOpenCalibrationFile) {
    state_.app.last_image_folder = FolderOf(*path);
  }
  return path;
}

}  // namespace kv
