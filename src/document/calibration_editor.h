#ifndef KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_
#define KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_

// Everything the calibration dialog does, without a window: the texts,
// choices and visibility of its controls (by their identifiers, see
// calibration_controls.h) and what each user action does to them, to the
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

// The calibration kinds of the kind list, by list index.
inline constexpr int kKindIndexCount = 4;
std::int32_t RecordKindOfIndex(int kind_index);
int KindIndexOfRecord(std::int32_t kind);

// Position texts (hemisphere letters, separator, negative letters) from the
// language strings, with the program's English ones where they are missing.
PositionTexts DialogPositionTexts(const StringTable& strings);

// The zone field of the position whose latitude field is `latitude_control`.
int ZoneControlOf(int latitude_control);

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

  // --- what the controls show
  const std::string& Text(int control) const;
  bool IsVisible(int control) const;
  bool IsEnabled(int control) const;
  std::vector<std::string> ListTexts(int control) const;
  // Selected entry of a list (1012, 1018, 1011, 1013).
  int Selection(int control) const;
  int mode() const { return mode_; }
  int current_point() const { return current_point_; }  // 0-8
  bool follow() const;
  bool pick() const { return pick_; }
  bool modified() const { return modified_; }
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
  // The control that should get the focus now (once), or 0.
  int TakeFocusRequest();

  // --- what the user does
  void EditText(int control, const std::string& text);
  void FocusEntered(int control);
  // False when the text was refused (message shown, focus requested back).
  bool FocusLeft(int control);
  bool SelectKind(int index);
  bool SelectSystem(int index);
  void SelectDatum(int index);
  void SelectProjection(int index);
  // False when the mode stays as it was.
  bool SelectMode(int mode);
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
  // A position into the three fields of `group` (its latitude control),
  // remembered as shown.
  void ShowPosition(int group, LatLon position);
  void ForgetPosition(int group);
  // The position the fields of `group` give: the one shown, while none of
  // its texts changed, else what the texts say in the chosen system.
  std::optional<LatLon> ReadPosition(int group, bool* bad_latitude) const;
  // Whether `control` belongs to a position still shown as it was filled.
  bool ShowsUnchangedPosition(int control) const;

  // Validation and storage
  int ValidateAndStoreModeFields();
  int StoreBoundsFromFields(GeoBounds* bounds);
  int CentreBounds(GeoBounds* bounds);
  int CornerBounds(GeoBounds* bounds);
  int PointBounds(GeoBounds* bounds);
  void StoreBounds(const GeoBounds& bounds);
  void Fail(int code, int focus);
  // True, with the message shown and the focus asked back, when the zone
  // of `group` (its latitude control) is a UTM or MGA zone typed without a
  // valid band letter.
  bool ZoneRefused(int group);
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
  void SetText(int control, const std::string& text);
  std::string String(std::uint32_t id) const;

  CalibrationEditorContext context_;
  PositionTexts position_texts_;
  CImage* image_ = nullptr;
  std::map<int, std::string> texts_;
  int kind_index_ = 0;
  int datum_index_ = 0;
  bool datum_fixed_ = false;
  int projection_index_ = 0;
  ProjectionDrafts projection_drafts_;
  int mode_ = 0;
  int current_point_ = 0;
  bool pick_ = false;
  bool modified_ = false;
  bool point_fields_changed_ = false;
  int focus_request_ = 0;
  std::string help_text_;

  // The positions as the fields were last filled, by the group's latitude
  // control. A system that cannot express a position shows it in degrees,
  // which it could not read back; kept here, an untouched position comes
  // back exactly, whatever the systems it was shown in.
  struct ShownPosition {
    PositionFields fields;
    LatLon position;
  };
  std::map<int, ShownPosition> shown_positions_;
  // The bounds the centre and extents were filled from, and the extents as
  // shown: the arithmetic from bounds to extents and back is no exact
  // round trip, so untouched fields keep the bounds as they were.
  struct ShownCentre {
    GeoBounds bounds;
    std::string horizontal;
    std::string vertical;
  };
  std::optional<ShownCentre> shown_centre_;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_CALIBRATION_EDITOR_H_
