#ifndef KORVALE_SHELL_QT_DOCUMENT_UI_H_
#define KORVALE_SHELL_QT_DOCUMENT_UI_H_

// The document's user interface in the desktop program: questions and
// choosers through UserPrompts, failures as error boxes, the panes, the wait
// cursor and the window title.

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "base/error_reporter.h"
#include "document/calibration_editor.h"
#include "document/document_ui.h"
#include "shell/shell_state.h"
#include "shell/user_prompts.h"

namespace kv {

class CalibrationDialog;
class CDocument;
class ImageListPane;
class ImageViewPane;
class PreviewerPane;

struct Panes {
  ImageListPane* list = nullptr;
  ImageViewPane* view = nullptr;
  PreviewerPane* previewer = nullptr;
};

// Error boxes through the prompts.
class PromptErrorDisplay final : public ErrorDisplay {
 public:
  explicit PromptErrorDisplay(UserPrompts& prompts) : prompts_(prompts) {}
  void ShowErrorBox(const ErrorBox& box) noexcept override;

 private:
  UserPrompts& prompts_;
};

// The calibration dialog's message boxes through the prompts.
class PromptCalibrationMessages final : public CalibrationEditorPrompts {
 public:
  PromptCalibrationMessages(UserPrompts& prompts, QPointer<QWidget>& owner)
      : prompts_(prompts), owner_(owner) {}
  void ShowValidationError(const std::string& text, const std::string& caption) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;

 private:
  UserPrompts& prompts_;
  QPointer<QWidget>& owner_;
};

class QtDocumentUi final : public DocumentUi {
 public:
  QtDocumentUi(QWidget* window, ShellState& state, UserPrompts& prompts, const Panes& panes);
  ~QtDocumentUi() override;

  ErrorReporter& reporter() { return reporter_; }
  // Where the calibration dialog finds the document it calibrates.
  void SetDocumentSource(std::function<CDocument*()> source) {
    document_source_ = std::move(source);
  }
  // The open calibration dialog, or null.
  CalibrationDialog* calibration_dialog() const;
  // Told when the calibration dialog opens or closes, and whenever what its
  // Undo and Redo do may have changed.
  void SetCalibrationUndoHandler(std::function<void()> handler) {
    undo_handler_ = std::move(handler);
  }
  // The window's unsaved-changes mark follows the document's.
  void ShowModified();

  Answer Ask(const Question& question) override;
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void ReportFailure(std::uint32_t context_id, const DocumentFailure& failure) override;
  // What calibration was taken goes to the main window's status line;
  // anything the user must act on, or that leaves the map uncalibrated, to
  // a message.
  void Notify(const Notice& notice) override;
  bool RunConversionOptions(const ImportSource& source, std::string* map_name,
                            ConversionSettings* settings) override;

  void OpenCalibrationDialog() override;
  bool CloseCalibrationDialog(bool validate) override;
  bool IsCalibrationDialogOpen() const override;
  void RefreshCalibrationDialog() override;
  void UndoInCalibrationDialog() override;
  void RedoInCalibrationDialog() override;

  void ImageListChanged(const ImageListModel& list) override;
  void ShowImage(CImage* image) override;
  void PreviewImage(CImage* image) override;
  void SetPreviewerMode(PreviewerMode mode) override;
  void ZoomImageView(int percent) override;
  void Repaint() override;
  // The conversion runs on a worker thread while the window keeps
  // answering; a progress dialog with Cancel appears once it has run for
  // progress_delay(). ShowProgress and CancelRequested are called on that
  // thread.
  void ShowProgress(const ConversionProgress& progress) override;
  void EndProgress() override;
  bool CancelRequested() override;
  void RunConversion(const std::function<void()>& work) override;
  void set_progress_delay(std::chrono::milliseconds delay) { progress_delay_ = delay; }
  std::chrono::milliseconds progress_delay() const { return progress_delay_; }

  void SetWaitCursor(bool waiting) override;
  void SetTitle(const std::string& title) override;
  void RequestClose() override;

 private:
  QPointer<QWidget> window_;
  ShellState& state_;
  UserPrompts& prompts_;
  Panes panes_;
  PromptErrorDisplay display_;
  ErrorReporter reporter_;
  int wait_depth_ = 0;
  std::function<CDocument*()> document_source_;
  PromptCalibrationMessages calibration_messages_;
  QPointer<CalibrationDialog> calibration_dialog_;
  std::function<void()> undo_handler_;
  // Short work keeps the wait cursor alone.
  std::chrono::milliseconds progress_delay_{500};
  // Written by the worker, read by the window: thousandths done.
  std::atomic<int> progress_steps_{0};
  std::atomic<bool> cancel_requested_{false};
};

}  // namespace kv

#endif  // KORVALE_SHELL_QT_DOCUMENT_UI_H_
