#include "shell/qt_document_ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <thread>

#include "base/string_ids.h"
#include "dialogs/calibration_dialog.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/progress_dialog.h"
#include "document/document.h"
#include "document/document_texts.h"
#include "document/list_totals_text.h"
#include "views/image_list_pane.h"
#include "views/image_view_pane.h"
#include "views/previewer_pane.h"

namespace kv {

void PromptErrorDisplay::ShowErrorBox(const ErrorBox& box) noexcept {
  try {
    prompts_.ShowError(box);
  } catch (...) {
    // Reporting never throws; a box that cannot be shown is lost.
  }
}

QtDocumentUi::QtDocumentUi(QWidget* window, ShellState& state, UserPrompts& prompts,
                           const Panes& panes)
    : window_(window),
      state_(state),
      prompts_(prompts),
      panes_(panes),
      display_(prompts),
      reporter_(state.tables, display_),
      calibration_messages_(prompts, window_) {
  if (panes_.view != nullptr) panes_.view->SetCalibration(&state_.app.calibration);
}

QtDocumentUi::~QtDocumentUi() {
  // The window that listens may be going too.
  undo_handler_ = nullptr;
  CloseCalibrationDialog(false);
  while (wait_depth_ > 0) SetWaitCursor(false);
}

void PromptCalibrationMessages::ShowValidationError(const std::string& text,
                                                    const std::string& caption) {
  QWidget* active = QApplication::activeWindow();
  prompts_.Inform(active != nullptr ? active : owner_.data(), text, caption, MessageIcon::kError);
}

bool PromptCalibrationMessages::AskYesNo(const std::string& text, const std::string& caption) {
  Question question;
  question.text = text;
  question.caption = caption;
  question.icon = MessageIcon::kWarning;
  question.answers = AnswerSet::kYesNo;
  question.no_is_default = true;
  return prompts_.Ask(owner_, question) == Answer::kYes;
}

void QtDocumentUi::OpenCalibrationDialog() {
  if (calibration_dialog_ || !window_ || !document_source_) return;
  CDocument* document = document_source_();
  if (document == nullptr || !CalibrationEditor::CanOpen(*document)) return;
  auto* main_window = qobject_cast<QMainWindow*>(window_.data());
  QWidget* area = main_window != nullptr && main_window->centralWidget() != nullptr
                      ? main_window->centralWidget()
                      : window_.data();
  CalibrationPointView* view = panes_.view;
  auto editor = std::make_unique<CalibrationEditor>(CalibrationEditorContext{
      state_.app, *document, view, state_.language.strings, calibration_messages_});
  editor->Initialise();
  auto dialogs = state_.language.dialogs.find(kCalibrationDialogId);
  static const DialogTexts kNoTexts;
  const DialogTexts& texts = dialogs == state_.language.dialogs.end() ? kNoTexts : dialogs->second;
  PreviewerPane* previewer = panes_.previewer;
  calibration_dialog_ = new CalibrationDialog(
      texts, state_.language.strings, std::move(editor),
      [previewer] { return previewer != nullptr ? previewer->CalibrationDialogX() : 0; }, area);
  calibration_dialog_->SetCloseHandler([this] { CloseCalibrationDialog(true); });
  calibration_dialog_->SetUndoStateHandler(undo_handler_);
  calibration_dialog_->SetMinimumHeightSource(
      [previewer] { return previewer != nullptr ? previewer->sizeHint().height() : 0; });
  // The previewer's row grows to the panel's height, so that the list and
  // the image view move down instead of lying under the panel.
  calibration_dialog_->SetHeightReserver([previewer](int height) {
    if (previewer != nullptr) {
      previewer->setFixedHeight(std::max(height, previewer->sizeHint().height()));
    }
  });
  if (view != nullptr) {
    QPointer<CalibrationDialog> dialog = calibration_dialog_;
    view->SetClickHandler([dialog](int x, int y) {
      if (dialog) dialog->ImageClicked(x, y);
    });
    view->SetPointMoveHandler([dialog](int index, int x, int y) {
      if (dialog) dialog->PointDragged(index, x, y);
    });
  }
  calibration_dialog_->Place();
  calibration_dialog_->show();
  calibration_dialog_->raise();
  calibration_dialog_->TakeFocus();
  if (undo_handler_) undo_handler_();
}

bool QtDocumentUi::CloseCalibrationDialog(bool validate) {
  if (!calibration_dialog_) return true;
  CalibrationEditor& editor = calibration_dialog_->editor();
  if (editor.PrepareClose(validate) != 0) return false;
  // The window goes first: the document asks whether a dialog remains. The
  // editor lives on until the event loop deletes the window, as the close
  // may come from the window's own button.
  CalibrationDialog* dialog = calibration_dialog_;
  calibration_dialog_ = nullptr;
  dialog->Detach();
  dialog->hide();
  dialog->deleteLater();
  if (panes_.previewer != nullptr) {
    panes_.previewer->setFixedHeight(panes_.previewer->sizeHint().height());
  }
  editor.Closed(validate);
  if (panes_.view != nullptr) panes_.view->SetPointMoveHandler({});
  if (undo_handler_) undo_handler_();
  return true;
}

CalibrationDialog* QtDocumentUi::calibration_dialog() const { return calibration_dialog_; }

bool QtDocumentUi::IsCalibrationDialogOpen() const { return !calibration_dialog_.isNull(); }

void QtDocumentUi::RefreshCalibrationDialog() {
  if (calibration_dialog_) calibration_dialog_->Refresh();
}

void QtDocumentUi::UndoInCalibrationDialog() {
  if (calibration_dialog_) calibration_dialog_->Undo();
}

void QtDocumentUi::RedoInCalibrationDialog() {
  if (calibration_dialog_) calibration_dialog_->Redo();
}

Answer QtDocumentUi::Ask(const Question& question) { return prompts_.Ask(window_, question); }

void QtDocumentUi::ShowMessage(const std::string& text, const std::string& caption,
                               MessageIcon icon) {
  prompts_.Inform(window_, text, caption, icon);
}

void QtDocumentUi::ReportFailure(std::uint32_t context_id, const DocumentFailure& failure) {
  ReportDocumentFailure(reporter_, state_.language.strings.Get(context_id), failure);
}

void QtDocumentUi::Notify(const Notice& notice) {
  const std::string text = NoticeText(state_.language.strings, notice);
  auto* main_window = qobject_cast<QMainWindow*>(window_.data());
  if (notice.kind == NoticeKind::kCalibrationTaken && main_window != nullptr) {
    main_window->statusBar()->showMessage(QString::fromStdString(text));
    return;
  }
  prompts_.Warn(window_, text, state_.app.caption);
}

bool QtDocumentUi::RunConversionOptions(const ImportSource& source, std::string* map_name,
                                        ConversionSettings* settings) {
  return prompts_.RunConversionOptions(window_, source, map_name, settings);
}

void QtDocumentUi::ImageListChanged(const ImageListModel& list) {
  if (panes_.list != nullptr) panes_.list->ShowList(&list);
  if (panes_.previewer != nullptr) panes_.previewer->ShowList(&list);
  if (panes_.view != nullptr) {
    panes_.view->SetTotalsText(
        QString::fromStdString(ListTotalsText(state_.language.strings, list)));
  }
}

void QtDocumentUi::ShowImage(CImage* image) {
  if (panes_.view != nullptr) panes_.view->ShowImage(image);
}

void QtDocumentUi::PreviewImage(CImage* image) {
  if (panes_.previewer != nullptr) panes_.previewer->ShowImage(image);
}

void QtDocumentUi::SetPreviewerMode(PreviewerMode mode) {
  if (panes_.previewer != nullptr) {
    panes_.previewer->SetCalibrating(mode == PreviewerMode::kCalibrate);
  }
}

void QtDocumentUi::ZoomImageView(int percent) {
  if (panes_.view != nullptr) panes_.view->SetZoom(percent);
}

void QtDocumentUi::Repaint() {
  if (window_) window_->update();
  // The view's points live in its scroll area, which the window's update
  // does not always reach.
  if (panes_.view != nullptr) panes_.view->RepaintPoints();
  ShowModified();
}

void QtDocumentUi::ShowModified() {
  if (!window_) return;
  const CDocument* document = document_source_ ? document_source_() : nullptr;
  window_->setWindowModified(document != nullptr && document->container().IsModified());
}

void QtDocumentUi::ShowProgress(const ConversionProgress& progress) {
  progress_steps_ = static_cast<int>(progress.Fraction() * 1000.0);
}

void QtDocumentUi::EndProgress() {
  progress_steps_ = 0;
  cancel_requested_ = false;
}

bool QtDocumentUi::CancelRequested() { return cancel_requested_; }

void QtDocumentUi::RunConversion(const std::function<void()>& work) {
  progress_steps_ = 0;
  cancel_requested_ = false;
  ProgressDialog dialog(
      window_, QString::fromStdString(state_.app.caption),
      QString::fromStdString(DocumentText(state_.language.strings, kCancelButtonId)),
      progress_delay_);
  QObject::connect(&dialog, &QProgressDialog::canceled, [this]() { cancel_requested_ = true; });
  bool busy_cursor = false;
  QTimer update;
  QObject::connect(&update, &QTimer::timeout, [&]() {
    dialog.SetFraction(progress_steps_ / 1000.0);
    // Once there is a Cancel button to press, the cursor says the window
    // still answers.
    if (dialog.isVisible() && !busy_cursor && wait_depth_ > 0) {
      QApplication::changeOverrideCursor(Qt::BusyCursor);
      busy_cursor = true;
    }
  });
  update.start(50);

  // The work owns the document until it ends; the view must not read the
  // images it changes.
  if (panes_.view != nullptr) panes_.view->SuspendDrawing(true);
  QEventLoop loop;
  std::exception_ptr failure;
  std::thread worker([&]() {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  if (panes_.view != nullptr) panes_.view->SuspendDrawing(false);
  if (busy_cursor) QApplication::changeOverrideCursor(Qt::WaitCursor);
  if (failure) std::rethrow_exception(failure);
}

void QtDocumentUi::SetWaitCursor(bool waiting) {
  if (waiting) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++wait_depth_;
  } else if (wait_depth_ > 0) {
    QApplication::restoreOverrideCursor();
    --wait_depth_;
  }
}

void QtDocumentUi::SetTitle(const std::string& title) {
  // Qt shows unsaved changes where the title has its placeholder.
  if (window_) window_->setWindowTitle(QString::fromStdString(title) + "[*]");
  ShowModified();
}

void QtDocumentUi::RequestClose() {
  // Exit arrives inside the document's own command; closing may delete the
  // document, so the close waits until that command has returned.
  if (window_) QTimer::singleShot(0, window_, [window = window_]() { window->close(); });
}

}  // namespace kv
