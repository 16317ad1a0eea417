#ifndef KORVALE_DIALOGS_CALIBRATION_DIALOG_H_
#define KORVALE_DIALOGS_CALIBRATION_DIALOG_H_

// The modeless calibration panel inside the main window: the controls of
// the language file's dialog kCalibrationDialogId over a CalibrationEditor, which holds all
// of the dialog's behaviour. The panel reports what the user does to the
// editor and then shows the editor's state again.

#include <QFrame>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/language_file.h"
#include "document/calibration_editor.h"

class QGridLayout;
class QLabel;
class QTableWidget;
class QUndoStack;

namespace kv {

class CalibrationDialog : public QFrame {
 public:
  // `parent` is the main window's client area; `left_edge` says where the
  // panel's left edge lies in it.
  CalibrationDialog(const DialogTexts& texts, const StringTable& strings,
                    std::unique_ptr<CalibrationEditor> editor, std::function<int()> left_edge,
                    QWidget* parent);
  ~CalibrationDialog() override;

  CalibrationEditor& editor() { return *editor_; }

  // Button 2 asks the owner to close the panel with validation.
  void SetCloseHandler(std::function<void()> handler) { close_handler_ = std::move(handler); }
  // The panel is at least this tall (the previewer's height).
  void SetMinimumHeightSource(std::function<int()> source) { minimum_height_ = std::move(source); }
  // Told the height, from the top of the client area, that the panel needs
  // kept free of the panes it must not cover.
  void SetHeightReserver(std::function<void(int)> reserver) {
    reserve_height_ = std::move(reserver);
  }
  // The keyboard focus into the panel, on its first control.
  void TakeFocus();

  // At the left edge, 2 pixels below the top of the client area, as wide
  // as the rest of it, over the previewer's row, which grows to the
  // controls' height.
  void Place();
  // Shows the editor's state in every control.
  void Sync();
  void ImageClicked(int pixel_x, int pixel_y);
  void PointDragged(int index, int pixel_x, int pixel_y);
  void Refresh();
  // The owner closed the panel: from now on it ignores what happens to it
  // until it is deleted.
  void Detach() { detached_ = true; }

  // Undo and redo of the editor's changes, for the Edit menu. Typing not
  // yet a step counts as the change to undo.
  bool CanUndo() const;
  bool CanRedo() const;
  // What Undo (Redo) takes back (forward), empty when nothing.
  QString UndoText() const;
  QString RedoText() const;
  void Undo();
  void Redo();
  // Told whenever what Undo and Redo do may have changed.
  void SetUndoStateHandler(std::function<void()> handler) {
    undo_state_handler_ = std::move(handler);
  }

  // The control with the dialog's identifier `id`, or null.
  QWidget* Control(int id) const;
  // The editor's part the control `id` shows now.
  CalibrationField Part(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(const DialogTexts& texts);
  QWidget* AddControl(int id, QWidget* widget);
  // A label and its field in columns `column` and `column` + 1 of the
  // field grid.
  void AddField(int row, int label_id, int field_id, int column);
  QWidget* BuildLists();
  void SetTabOrder();
  // Tab: the focus to the shown control before control `from` in the tab
  // order, round from the first to the last.
  void FocusPreviousInOrder(int from);
  QWidget* BuildChoices(const std::function<QWidget*(int, QWidget*)>& button);
  QWidget* BuildFields(const std::function<QWidget*(int, QWidget*)>& button);
  void WireEdits();
  void WireChoices();
  void WireButtons();
  QWidget* BuildResiduals(const DialogTexts& texts);
  void ShowResiduals();
  void PlaceCaptions();
  // The row of the field a caption label stands above at first.
  int FieldOfLabel(int label) const;
  void FocusRequested();
  // The control before `from` in the panel's tab order that takes the focus.
  void Act(const std::function<void()>& action);
  // The editor's steps mirrored on undo_stack_.
  void WireHistory();
  // One step back or forward in the editor, shown.
  void ShowStep(void (CalibrationEditor::*step)());
  QString ChangeName(CalibrationChange change) const;
  void UndoStateChanged();

  std::unique_ptr<CalibrationEditor> editor_;
  const StringTable& strings_;
  std::function<int()> left_edge_;
  std::function<void()> close_handler_;
  std::function<int()> minimum_height_;
  std::function<void(int)> reserve_height_;
  QWidget* navigation_ = nullptr;  // point number and its buttons
  std::map<int, QWidget*> controls_;
  std::vector<int> tab_order_;
  QWidget* body_ = nullptr;  // the columns of controls
  QGridLayout* grid_ = nullptr;
  std::map<int, int> field_rows_;
  QLabel* help_line_ = nullptr;
  bool leaving_field_ = false;
  bool detached_ = false;
  QUndoStack* undo_stack_ = nullptr;
  std::function<void()> undo_state_handler_;

  // The table of points with their residuals, while the points are edited.
  enum PointColumn {
    kNumberColumn,
    kPixelXColumn,
    kPixelYColumn,
    kLatitudeColumn,
    kLongitudeColumn,
    kPixelsColumn,
    kMetresColumn,
    kSuspectColumn,
    kPointColumnCount
  };
  QString ResidualSummary() const;
  struct ResidualTexts {
    std::string rms;  // "%s" takes the RMS in pixels
    std::string suspect;
    std::string no_fit;
    std::string off_the_earth;
  };
  QWidget* residuals_ = nullptr;
  QTableWidget* point_table_ = nullptr;
  QStringList column_texts_;
  QStringList grid_column_texts_;  // northing and easting
  bool syncing_ = false;           // the table is filled, not chosen from
  QLabel* residual_summary_ = nullptr;
  ResidualTexts residual_texts_;
};

}  // namespace kv

#endif  // KORVALE_DIALOGS_CALIBRATION_DIALOG_H_
