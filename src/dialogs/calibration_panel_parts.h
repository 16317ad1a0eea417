#ifndef KORVALE_DIALOGS_CALIBRATION_PANEL_PARTS_H_
#define KORVALE_DIALOGS_CALIBRATION_PANEL_PARTS_H_

// Which part of the calibration editor each control of the calibration
// panel shows. The four rectangle fields and the first zone show the
// corners in the corners mode and the centre and extents in the centre
// mode; each other control shows one part, a label the part it names.

#include "document/calibration_fields.h"

namespace kv {

// The part control `control` shows in `mode`, or kNone for a control
// always shown and enabled (Apply, Close).
CalibrationField PartOfControl(int control, CalibrationMode mode);
// The control that shows `field` (no label), or 0.
int ControlOfPart(CalibrationField field);
// The label above the row of `field` while it is captioned, or 0.
int CaptionLabelOf(CalibrationField field);

}  // namespace kv

#endif  // KORVALE_DIALOGS_CALIBRATION_PANEL_PARTS_H_
