#ifndef KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_
#define KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_

// Everything the calibration dialog does, without a window: the texts,
// choices and visibility of its parts (see calibration_fields.h) and what
// each user action does to them, to the
// process-wide calibration record, to the image being calibrated and to the
// image view. The dialog window only shows this state and reports actions.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "calibration/calibration_bounds.h"
#include "calibration/calibration_residuals.h"
#include "document/calibration_captions.h"
#include "document/calibration_editor_state.h"
#include "document/calibration_fields.h"
#include "document/calibration_history.h"
#include "document/calibration_notation.h"
#include "document/calibration_point_table.h"
#include "document/calibration_point_view.h"
#include "document/calibration_projection_fields.h"

namespace kv {

class CDocument;
class CImage;
struct ApplicationState;

// The message boxes of the dialog.
class CalibrationEditorPrompts {
 public:
  virtual ~CalibrationEditorPrompts() = default;
  // An error box with an OK button.
  virtual void ShowValidationError(const std::string& text, const std::string& caption) = 0;
  // A warning with Yes and No, No the default; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

struct CalibrationEditorContext {
  ApplicationState& app;
  CDocument& document;
  CalibrationPointView* view = nullptr;  // none: no image view to tell
  const StringTable& strings;
  CalibrationEditorPrompts& prompts;
};

// The record's calibration kind (kCalibrationGeographic...) of a kind, and
// back; an unknown record kind is rectangular.
std::int32_t RecordKindOf(CalibrationKind kind);
CalibrationKind KindOfRecord(std::int32_t record_kind);

// Why the fields were refused; each has its message.
enum class FieldRefusal { kNone, kBadScale, kBadCentre, kBadLatitude, kBadLongitude };

// Position texts (hemisphere letters, separator, negative letters) from the
// language strings, with the program's English ones where they are missing.
PositionTexts DialogPositionTexts(const StringTable& strings);

class CalibrationEditor {
 public:
  explicit CalibrationEditor(const CalibrationEditorContext& context);

  // The dialog opens only on a document with at least one image.
  static bool CanOpen(const CDocument& document);

  // The state of a freshly opened dialog.
  void Initialise();
  // The fields again from the record after a calibration import; the next
  // Apply writes the imported calibration to the image.
  void Refresh();
  // Both start a new history of changes, as a successful Apply does.

  // --- what the parts show
  const std::string& Text(CalibrationField field) const;
  bool IsVisible(CalibrationField field) const;
  bool IsEnabled(CalibrationField field) const;
  std::vector<std::string> ListTexts(CalibrationField field) const;
  // Selected row of a list (kind, system, datum, projection).
  int Selection(CalibrationField field) const;
  CalibrationKind kind() const { return panel_.kind; }
  CalibrationMode mode() const { return panel_.mode; }
  int current_point() const { return panel_.current_point; }  // 0-8
  bool follow() const;
  bool pick() const { return pick_; }
  bool modified() const { return panel_.modified; }
  const std::string& help_text() const { return help_text_; }
  std::vector<CaptionString> Captions() const;
  // How well the points agree, while the points are edited and three or
  // more are set; none otherwise. The current point counts as its fields
  // read now, typed or not yet stored.
  std::optional<CalibrationResiduals> Residuals() const;
  // Every set point as the table of points shows it, the current one as
  // its fields read now; empty while the point fields are not shown.
  std::vector<PointTableRow> PointTable() const;
  // Whether the coordinate columns hold a grid's northing and easting.
  bool ShowsGrid() const;
  // The field that should get the focus now (once), or kNone.
  CalibrationField TakeFocusRequest();

  // --- what the user does
  void EditText(CalibrationField field, const std::string& text);
  void FocusEntered(CalibrationField field);
  // False when the text was refused (message shown, focus requested back).
  bool FocusLeft(CalibrationField field);
  bool SelectKind(int index);
  bool SelectSystem(int index);
  void SelectDatum(int index);
  void SelectProjection(int index);
  // False when the mode stays as it was.
  bool SelectMode(CalibrationMode mode);
  void NextPoint();
  void PreviousPoint();
  // A row of the point table chosen: point `index` becomes current and the
  // view centres on it.
  void SelectPoint(int index);
  void DeleteCurrentPoint();
  void SetFollow(bool follow);
  void SetPick(bool pick);
  void ImageClicked(int pixel_x, int pixel_y);
  // Point `index` dragged in the image while picking: it becomes the
  // current point and takes the pixel as a click would give it.
  void PointDragged(int index, int pixel_x, int pixel_y);

  // --- undo and redo, back to the state the dialog opened or was last
  // applied with. Typing in a field is one step once the field is left or
  // another action follows; until then it is undone as one.
  bool CanUndo() const;
  bool CanRedo() const;
  // What the next undo (redo) takes back; none when there is nothing.
  std::optional<CalibrationChange> UndoChange() const;
  std::optional<CalibrationChange> RedoChange() const;
  void Undo();
  void Redo();
  // Whether a field was typed in since the last step.
  bool TypingPending() const;
  // Typing not yet a step becomes one now.
  void CommitTyping();
  // Told of each step added, and when the history starts again.
  void SetHistoryObserver(CalibrationHistoryObserver observer) {
    history_observer_ = std::move(observer);
  }
  // Every edit made so far, as undo would put it back.
  CalibrationEditorState State() const;

  // 0, or -1 when the fields do not validate.
  int Apply();
  // Before the window goes: with `validate` and pending changes Apply
  // first; -1 refuses the close.
  int PrepareClose(bool validate);
  // After the window went: the view forgets the dialog, and with `validate`
  // the document hears that the dialog closed.
  void Closed(bool validate);

 private:
  // Fields
  void FillAll();
  void FillModeFields();
  void FillCornerFields();
  void FillCentreFields();
  void FillPointFields();
  void FillProjectionFields(const std::string& text);
  // The projection as the fields give it, in the record's text form.
  std::string ProjectionTextOfFields() const;
  void SelectRecordDatum();
  void ApplyFixedDatum();
  // A position into the three fields of `group` (named by its latitude
  // field), remembered as shown.
  void ShowPosition(CalibrationField group, LatLon position);
  void ForgetPosition(CalibrationField group);
  // The position the fields of `group` give: the one shown, while none of
  // its texts changed, else what the texts say in the chosen system.
  std::optional<LatLon> ReadPosition(CalibrationField group, bool* bad_latitude) const;
  // Whether `field` belongs to a position still shown as it was filled.
  bool ShowsUnchangedPosition(CalibrationField field) const;

  // History. An Action brackets one thing the user does: typing left
  // pending before it becomes a step of its own, and the action a step of
  // its change; an action with no change shows the same edits another way
  // (another point) and adds no step. Nested actions count as the outer one.
  class Action {
   public:
    Action(CalibrationEditor* editor, std::optional<CalibrationChange> change);
    ~Action();
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

   private:
    CalibrationEditor* editor_;
    std::optional<CalibrationChange> change_;
    bool outer_;
  };
  void StartHistory();
  void Restore(const CalibrationEditorState& state);
  // The checks of a field left, without the step.
  bool LeftFieldAccepted(CalibrationField field);
  // Apply without the history.
  int ApplyEdits();

  // Validation and storage
  FieldRefusal ValidateAndStoreModeFields();
  FieldRefusal CentreBounds(GeoBounds* bounds);
  FieldRefusal CornerBounds(GeoBounds* bounds);
  void PointBounds(GeoBounds* bounds);
  void StoreBounds(const GeoBounds& bounds);
  // Shows the message of `refusal` and asks the focus for `focus`.
  FieldRefusal Fail(FieldRefusal refusal, CalibrationField focus);
  // True, with the message shown and the focus asked back, when the zone
  // of `group` (named by its latitude field) is a UTM or MGA zone typed
  // without a valid band letter.
  bool ZoneRefused(CalibrationField group);
  void StoreCurrentPoint();
  // The current point as its fields give it; a position that does not read
  // keeps `stored`'s, unless `empty_unread` (as storing does).
  CalibrationPoint PointOfFields(const CalibrationPoint& stored, bool empty_unread) const;
  // The record with the current point as its fields read now.
  CalibrationRecord DraftRecord() const;
  // False when the point's fields were refused; nothing is stored then.
  bool StorePointIfChanged();
  void StoreProjection();

  // Points
  bool PointFieldsVisible() const;
  void GoToPoint(int index);
  void ShowCurrentPointInView(bool follow_it);
  void MakePointsFromBounds();
  void ClearPoints();
  void RepaintView();

  // The image the dialog opened on, or null once it left the document.
  CImage* CalibratedImage() const;
  PositionNotation Notation() const;
  GeoBounds BoundsOfImage() const;
  CalibrationRecord& record();
  const CalibrationRecord& record() const;
  int system() const;
  CalibrationPanelState PanelState() const;
  void SetText(CalibrationField field, const std::string& text);
  std::string String(std::uint32_t id) const;

  CalibrationEditorContext context_;
  PositionTexts position_texts_;
  CImage* image_ = nullptr;
  // The texts and choices an undo puts back (see CalibrationEditorState).
  CalibrationPanelEdits panel_;
  bool pick_ = false;
  CalibrationField focus_request_ = CalibrationField::kNone;
  std::string help_text_;
  using ShownPosition = CalibrationPanelEdits::ShownPosition;
  using ShownCentre = CalibrationPanelEdits::ShownCentre;

  CalibrationHistory history_;
  CalibrationHistoryObserver history_observer_;
  int action_depth_ = 0;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_
