#ifndef KORVALE_DOCUMENT_DOCUMENT_H_
#define KORVALE_DOCUMENT_DOCUMENT_H_

// The one open map document: its images, its file identity and the commands
// that import, re-open, save and export it. Questions and pane updates go
// through DocumentUi; what outlives a document is in ApplicationState.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/same_file.h"
#include "bitmap/gdal/image_source_library.h"
#include "calibration/imported_calibration.h"
#include "document/application_state.h"
#include "document/document_ui.h"
#include "document/image_list_model.h"
#include "install/install_context.h"
#include "map/c_image_container.h"

namespace kv {

struct MenuItemState {
  int command = 0;
  bool enabled = true;
  bool checked = false;
};

// The four corner texts of the current image, in the map's order.
using BoundTexts = std::array<std::string, kCornerTextCount>;

// Where closing a document leaves it: it may go; it stays (cancelled, or
// its save failed); or the user wants its changes saved first under a name
// still to be chosen, which is the caller's Save As.
enum class CloseDecision { kClose, kKeep, kSaveAsFirst };

class CDocument {
 public:
  // An empty document. Without `reset_calibration` the current calibration
  // is kept for the next image, its point pixels scaled back to full size;
  // with it the calibration is cleared. Either way the scale becomes 1/1.
  CDocument(ApplicationState& app, DocumentUi& ui, bool reset_calibration);
  virtual ~CDocument();
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  // An empty document that then opens `path`: a ".prc" is re-opened (its
  // failures propagate as LException), anything else imported as a source
  // image without the options dialog (its failures are reported,
  // kContextImport, and leave the document empty).
  static std::unique_ptr<CDocument> FromFile(ApplicationState& app, DocumentUi& ui,
                                             const std::string& path, bool reset_calibration);

  // May the document be dropped? Asks to save a modified document, and
  // saves a map that has a file; one without asks the caller to choose.
  CloseDecision QueryClose();
  // Result of the command; `*handled` false for identifiers it does not know.
  int HandleCommand(int command, bool* handled);
  // Adds a dropped file, converted; 0 or -1 (reported, kContextImport).
  int Drop(const std::string& path);

  // Imports the source file the user chose, with the options dialog; its
  // folder is where the next chooser of images starts.
  int ImportImage(const std::string& path, bool reset_calibration);
  // Imports an image, or the image a calibration file names. 0, or -1 when
  // cancelled or failed (failures are reported, kContextImport); a failed or
  // cancelled import leaves the document and the calibration as they were.
  int ImportSourceImage(const std::string& path, bool reset_calibration, bool show_options);
  // The image an import of `path` would convert (a calibration file names
  // it). Throws the LException of a calibration file that gives none.
  ImportSource SourceOfImport(const std::string& path);
  // Throws LException; the caller reports with kContextOpen.
  void ReopenMap(const std::string& path, bool reset_calibration);

  // Each refuses to write over a file the document was made from (source
  // image, calibration files); a re-opened map may be saved over itself.
  // Save writes the map's own file.
  int Save();
  // Saves the map as `path` (relative to the map's folder), which becomes
  // the document's file; a failed save keeps the file it had.
  int SaveAs(const std::string& path);
  // False after telling the user that an empty map is not written: asked
  // before the name of a first save is chosen.
  bool ReadyToSave();
  // The name a save chooser proposes, and the folder it starts in.
  std::string ProposedName() const;
  // Before the ".kvm" file is chosen: closes the calibration dialog with
  // its values and asks whether to export; false when either says no.
  bool ConfirmCalibrationExport();
  // Writes the calibration to `path` (relative to the map's folder) with
  // the extension ".kvm" and tells where; the map itself stays unsaved.
  int ExportCalibration(const std::string& path);
  int SetColourDepth(int depth);
  // The handheld reads only converted maps: converts the images shown
  // unconverted so far, with progress, before a map is written (Save, and
  // the handheld installation). Throws when that fails or is cancelled
  // (ErrAlreadyReported), leaving them as they were; nothing to convert
  // does nothing.
  void ConvertBeforeSaving();
  int SetCompression(bool compress);
  // Before a world file or calibration file is chosen: asks whether to
  // replace the calibration of an open image; true when none is open.
  bool ConfirmCalibrationReplace();
  // Makes the calibration file at `path` the current calibration, read for
  // the current image's source pixels; `system` for a world file. 0, or -1
  // when it gives no calibration (reported, kContextImport).
  int ImportCalibrationFile(const std::string& path, const std::optional<WorldFileSystem>& system);

  // What installs go through, kept by the caller; none until set. The
  // handheld user `menu_users[i]` has the command kCmdFirstInstallUser + i; the install
  // goes to the user of that name, wherever the back end now lists it.
  void SetInstaller(InstallContext* installer, std::vector<std::string> menu_users);
  // kCmdFirstInstallUser + i and kCmdCopyToPocketPc: the map, written as Save would write it, to a
  // handheld user's queue or a device folder. 0, or -1 when failed
  // (reported, kContextInstall); a cancelled install gives 0.
  int InstallToHandheldUser(std::size_t menu_index);
  int CopyToPocketPc();

  // The state of the items the menu update touches.
  std::array<MenuItemState, 7> MenuState() const;

  BoundTexts RememberBounds() const;
  void RestoreBounds(const BoundTexts& texts);
  // The calibration dialog applied its values.
  void CalibrationDialogClosed();
  // What applying a calibration does to the current image: its corner texts
  // follow the record's bounds (when it has any) and its calibration text
  // the record. For callers without the dialog, e.g. after kCmdImportWorldFile /
  // kCmdImportCalibrationFile.
  void ApplyCalibration();

  std::string Title() const;
  void UpdateTitle();

  CImageContainer& container() { return *container_; }
  const CImageContainer& container() const { return *container_; }
  ImageListModel& image_list() { return list_; }
  const ImageListModel& image_list() const { return list_; }
  const std::string& source_path() const { return source_path_; }
  const std::string& folder() const { return folder_; }
  const std::string& file_name() const { return file_name_; }
  const std::string& database_name() const { return database_name_; }
  std::string document_path() const { return folder_ + file_name_; }
  bool saved() const { return saved_; }

 private:
  // Every entry again from its reference at `depth` (none: its own depth);
  // errors are reported with kContextColourDepth.
  int Reencode(std::optional<int> depth);

  // What a failed import puts back.
  struct Snapshot {
    std::size_t image_count = 0;
    bool modified = false;
    CalibrationRecord calibration;
    std::string source_path;
    std::ptrdiff_t selected = -1;
  };
  Snapshot TakeSnapshot() const;
  void RestoreSnapshot(const Snapshot& snapshot);

  ImportEnvironment Environment();
  int Report(std::uint32_t context, const DocumentFailure& failure);
  void SetIdentity(const std::string& path);

  // The image an import opens, and the calibration file that named it.
  struct ImportPlan {
    std::string image_path;
    int kind = 0;
    std::string map_name;
    std::string calibration_path;  // empty for a plain image
    // Read without an image size; its type is kCalibrationFileKvm, ...Cal
    // or ...Jpr.
    ImportedCalibrationFile calibration;
  };
  // Throws the LException of a calibration file that gives no calibration.
  ImportPlan PlanImport(const std::string& path);
  // Reads the calibration file at `path` for `width` x `height` source
  // pixels; throws the file's LException when it gives no calibration.
  ImportedCalibrationFile ReadCalibrationFile(const std::string& path,
                                              const std::optional<WorldFileSystem>& world_system,
                                              std::int32_t width, std::int32_t height);
  // A calibration the source carries itself (GeoTIFF, chart).
  struct SourceCalibration {
    CalibrationRecord record;
    TakenCalibration taken;
  };
  // The calibration file found beside a plain image, if any, into
  // `*record`; none when there is none.
  std::optional<TakenCalibration> ReadCalibrationBeside(const std::string& image_path,
                                                        std::int32_t width, std::int32_t height,
                                                        CalibrationRecord* record);
  // Opens the file as its kind says and adds it; GeoTIFF and chart sources
  // leave their own calibration in `*own_calibration`.
  CImage& AddSourceByKind(const std::string& path, int kind, const std::string& name, bool convert,
                          std::optional<SourceCalibration>* own_calibration);
  // AddSourceByKind's work; the source's size, once known, in `*width` and
  // `*height`.
  CImage& AddConvertedSource(const std::string& path, int kind, const std::string& name,
                             bool convert, std::optional<SourceCalibration>* own_calibration,
                             int* width, int* height);
  // The map's image counts at 50 % and 25 % for a source of that size, in
  // the user's words; empty without a size.
  std::string SmallerScaleCounts(int width, int height) const;
  // `tell` says which calibration was taken, or that none was found.
  void CalibrateImported(CImage& image, const ImportPlan& plan,
                         const std::optional<SourceCalibration>& own_calibration,
                         bool reset_calibration, bool tell);
  void Tell(const std::vector<Notice>& notices);
  // Source pixels of the image: point pixels are read in these before the
  // output scale applies.
  void SourceSize(const CImage& image, std::int32_t* width, std::int32_t* height) const;
  // A record read in the source's pixels made the image's: its size the
  // map size, its point pixels at the output scale.
  void FitCalibrationToImage(const CImage& image, CalibrationRecord* record) const;
  void StoreCalibrationText(CImage& image) const;
  int SaveBody(const std::string& target);
  // A file the document read or still reads, so that no save destroys it.
  void RememberInput(const std::string& path, std::string_view role);
  void WriteCalibrationExport(const std::string& chosen);
  std::string Resolve(const std::string& chosen) const;
  int RunInstall(const std::function<void(InstallableMap&)>& install);

  ApplicationState& app_;
  DocumentUi& ui_;
  std::string source_path_;
  std::string file_name_;
  std::string folder_;
  std::string database_name_;
  bool saved_ = false;
  // Named by an install's name question while not yet saved.
  bool named_for_install_ = false;
  InstallContext* installer_ = nullptr;
  std::vector<std::string> install_users_;
  std::vector<InputFile> inputs_;
  ImageSourceLibrary library_;
  ImageListModel list_;
  std::unique_ptr<CImageContainer> container_;
};

// The image's four corner texts from the record's bounds; false (and
// nothing changed) when the record has no bounds.
bool SetCornerTextsFromBounds(CImage& image, const CalibrationRecord& record);

// Point pixels times `num` / `den`, as the output scale wants them.
void ScaleCalibrationPoints(CalibrationRecord* record, int num, int den);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_DOCUMENT_H_
