#ifndef KORVALE_DOCUMENT_DOCUMENT_UI_H_
#define KORVALE_DOCUMENT_DOCUMENT_UI_H_

// Everything the document asks of the user or shows: questions, messages,
// error boxes, the conversion options dialog, the panes, the wait cursor
// and the title. Files are chosen by the program's commands, which hand
// the document the path. The desktop program implements it with windows;
// kvmap and tests without a display.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bitmap/conversion_context.h"
#include "calibration/calibration_import.h"
#include "document/document_failure.h"
#include "document/import_notice.h"
#include "document/import_source.h"

namespace kv {

class CImage;
class ImageListModel;

enum class Answer { kYes, kNo, kCancel };
enum class MessageIcon { kQuestion, kWarning, kError, kInformation };
enum class AnswerSet { kYesNo, kYesNoCancel };

struct Question {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::kQuestion;
  AnswerSet answers = AnswerSet::kYesNo;
  // No (not Yes) is the answer Enter gives.
  bool no_is_default = false;
};

enum class PreviewerMode { kView, kCalibrate };

// Zoom of the image view, in percent; 0 fits the image into the view.
inline constexpr int kZoomFit = 0;

class DocumentUi {
 public:
  virtual ~DocumentUi() = default;

  virtual Answer Ask(const Question& question) = 0;
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // One error box; `context_id` is the string ID of what the user was doing.
  virtual void ReportFailure(std::uint32_t context_id, const DocumentFailure& failure) = 0;
  // Something the user is told in passing: what calibration an import took
  // (a status line is enough), and warnings, which must be seen.
  virtual void Notify(const Notice& /*notice*/) {}

  // The conversion options dialog: map name, colour depth, compression and
  // scale, with the map they would make of `source`. False when cancelled;
  // the values are then unchanged.
  virtual bool RunConversionOptions(const ImportSource& source, std::string* map_name,
                                    ConversionSettings* settings) = 0;

  // The modeless calibration dialog. Closing with validation may be
  // refused (false); closing a dialog that is not open succeeds.
  virtual void OpenCalibrationDialog() {}
  virtual bool CloseCalibrationDialog(bool /*validate*/) { return true; }
  virtual bool IsCalibrationDialogOpen() const { return false; }
  virtual void RefreshCalibrationDialog() {}
  // One change back or forward in the open calibration dialog.
  virtual void UndoInCalibrationDialog() {}
  virtual void RedoInCalibrationDialog() {}

  // Panes. The list's order, selection and totals are in the model.
  virtual void ImageListChanged(const ImageListModel& /*list*/) {}
  virtual void ShowImage(CImage* /*image*/) {}     // image view; null for none
  virtual void PreviewImage(CImage* /*image*/) {}  // previewer; null for none
  virtual void SetPreviewerMode(PreviewerMode /*mode*/) {}
  virtual void ZoomImageView(int /*percent*/) {}
  virtual void Repaint() {}

  // Long work (the conversion of an import, of a colour depth or
  // compression change, of a save): how far it is, shown with a way to
  // cancel, on the thread that runs the work; EndProgress once it is over,
  // however it ended. CancelRequested is asked between steps.
  virtual void ShowProgress(const ConversionProgress& /*progress*/) {}
  virtual void EndProgress() {}
  virtual bool CancelRequested() { return false; }
  // Runs the conversion itself to its end and rethrows what it threw. The
  // work asks nothing and shows nothing but its progress, and touches no
  // image of the list, so a user interface may run it on another thread
  // while its window keeps answering (and lets nothing else touch the
  // document meanwhile).
  virtual void RunConversion(const std::function<void()>& work) { work(); }

  virtual void SetWaitCursor(bool /*waiting*/) {}
  virtual void SetTitle(const std::string& /*title*/) {}
  // Exit: the main window closes (and asks QueryClose).
  virtual void RequestClose() {}
};

// Shows the wait cursor while it lives.
class WaitCursor {
 public:
  explicit WaitCursor(DocumentUi& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
  ~WaitCursor() { ui_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  DocumentUi& ui_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_DOCUMENT_UI_H_
