#ifndef KORVALE_SHELL_MAIN_WINDOW_H_
#define KORVALE_SHELL_MAIN_WINDOW_H_

// The program's one window. It owns the current document, replaces it on
// New, Open, Open With Same Calibration and drops, handles those commands,
// About and Help itself, and hands every other command to the document.

#include <QMainWindow>
#include <memory>
#include <string>

#include "dialogs/qt_install_ui.h"
#include "document/command_ids.h"
#include "document/document.h"
#include "install/install_back_ends.h"
#include "shell/edit_menu.h"
#include "shell/file_commands.h"
#include "shell/menu_builder.h"
#include "shell/qt_document_ui.h"
#include "shell/shell_state.h"
#include "shell/user_prompts.h"

namespace kv {

class MainWindow : public QMainWindow {
 public:
  MainWindow(ShellState& state, UserPrompts& prompts);
  ~MainWindow() override;

  // The command's result; commands nobody handles give 0.
  int RunCommand(int command);
  // Like Open with `path` chosen; a failure is reported and leaves the
  // open map as it was (an empty document when there was none). True when
  // the map opened.
  bool OpenFile(const std::string& path);
  // The stored placement when the preferences had one, else the first-run
  // placement; then shows the window.
  void ShowAtStartPlacement();

  CDocument* document() const { return document_.get(); }
  QAction* action(int command) const;
  QMenu* handheld_menu() const { return handheld_menu_; }
  QtDocumentUi& ui() { return *ui_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreatePanes();
  // What the user does in the panes reaches the document.
  void ConnectPanes();
  void CreateMenus();

  int CloseDocument();  // kCmdCloseDocument: 0, or -1 when refused
  int Open();
  int New();
  int OpenWithSameCalibration();
  int About();
  int Help();
  // The folder of the handheld's storage, chosen and kept in the settings.
  int ChooseDeviceRoot();
  // The selected entry's properties; nothing without a selected entry.
  int ShowImageProperties();
  void Drop(const std::string& path);
  // After a failed Open or drop: the new document goes, and the open one
  // is shown again with the state it had `before`.
  struct DocumentState;
  // A document that holds images replaces the open one once that one
  // agreed to close; otherwise KeepDocument. True when replaced.
  bool ReplaceDocument(std::unique_ptr<CDocument> replacement, const DocumentState& before);
  void KeepDocument(std::unique_ptr<CDocument> discarded, const DocumentState& before);

  // False when even an empty document cannot be made; the window then
  // closes.
  bool CreateEmptyDocument(bool reset_calibration);
  // Panes, title and minimum size after the document changed.
  void DocumentChanged();
  void UpdateMenu();
  // Undo and Redo follow the calibration panel.
  void UpdateEditMenu();
  void StoreSettings();
  void CreateInstaller();
  // The question before a running copy to a device stops.
  bool ConfirmStopCopy();

  ShellState& state_;
  UserPrompts& prompts_;
  FileCommands files_;
  Panes panes_;
  std::unique_ptr<QtDocumentUi> ui_;
  InstallBackEnds install_;
  std::unique_ptr<QtInstallUi> install_ui_;
  std::unique_ptr<InstallContext> installer_;
  std::unique_ptr<CDocument> document_;
  BuiltMenu menu_;
  EditMenu edit_menu_;
  QMenu* handheld_menu_ = nullptr;
  bool maximized_before_minimizing_ = false;
  bool settings_stored_ = false;
};

}  // namespace kv

#endif  // KORVALE_SHELL_MAIN_WINDOW_H_
