#ifndef KORVALE_DIALOGS_CALIBRATION_CONTROLS_H_
#define KORVALE_DIALOGS_CALIBRATION_CONTROLS_H_

// The controls of the calibration panel by their identifiers in the
// language file's dialog kCalibrationDialogId, which gives their texts. The panel maps each
// to the editor's part it shows (see document/calibration_fields.h).

namespace kv::calib {

inline constexpr int kApply = 1;
inline constexpr int kClose = 2;

inline constexpr int kKind = 1012;
inline constexpr int kSystem = 1018;
inline constexpr int kDatum = 1011;
inline constexpr int kProjection = 1013;

// Projection parameters: key control, then value control, six times.
inline constexpr int kParameterKeys[6] = {1017, 1032, 1034, 1036, 1038, 1040};
inline constexpr int kParameterValues[6] = {1015, 1030, 1033, 1035, 1037, 1039};

inline constexpr int kModeCorners = 1027;
inline constexpr int kModeCentre = 1028;
inline constexpr int kModePoints = 1041;

// The rectangle's fields: the corners, or the centre and the extents.
// Each shows the part of the mode (calibration_panel_parts.cpp).
inline constexpr int kFirstLatitude = 1019;
inline constexpr int kFirstLongitude = 1020;
inline constexpr int kSecondLatitude = 1021;
inline constexpr int kSecondLongitude = 1022;
inline constexpr int kFirstZone = 1057;
inline constexpr int kSecondZone = 1055;
inline constexpr int kFirstZoneLabel = 1056;
inline constexpr int kSecondZoneLabel = 1054;
inline constexpr int kFirstLongitudeLabel = 1023;
inline constexpr int kFirstLatitudeLabel = 1024;
inline constexpr int kSecondLongitudeLabel = 1025;
inline constexpr int kSecondLatitudeLabel = 1026;

// The current calibration point.
inline constexpr int kPointNumber = 2002;
inline constexpr int kPixelX = 1046;
inline constexpr int kPixelY = 1048;
inline constexpr int kPointLatitude = 1043;
inline constexpr int kPointLongitude = 1045;
inline constexpr int kPointZone = 1053;
inline constexpr int kPointZoneLabel = 1052;
inline constexpr int kPointLongitudeLabel = 1042;
inline constexpr int kPointLatitudeLabel = 1044;
inline constexpr int kNextPoint = 2000;
inline constexpr int kPreviousPoint = 2001;
inline constexpr int kDeletePoint = 2004;
inline constexpr int kFollow = 2070;
inline constexpr int kPick = 2071;

inline constexpr int kHelpLine = 2007;
inline constexpr int kThreeByThreeNote = 1031;
inline constexpr int kKnownPointsLabel = 2112;
inline constexpr int kKnownPointsNote = 2113;

// The residuals of the points: title, table, RMS line, column headers, the
// suspect note and the texts for points that give no fit.
inline constexpr int kResidualsTitle = 2114;
inline constexpr int kResidualsTable = 2115;
inline constexpr int kResidualsRms = 2116;
inline constexpr int kResidualsPointColumn = 2117;
inline constexpr int kResidualsPixelsColumn = 2118;
inline constexpr int kResidualsMetresColumn = 2119;
inline constexpr int kResidualsSuspectNote = 2120;
inline constexpr int kResidualsNoFit = 2121;
inline constexpr int kResidualsOffTheEarth = 2122;

// Labels of the lists and point fields (this program's own).
inline constexpr int kKindLabel = 3001;
inline constexpr int kSystemLabel = 3002;
inline constexpr int kDatumLabel = 3003;
inline constexpr int kProjectionLabel = 3004;
inline constexpr int kPointNumberLabel = 3005;
inline constexpr int kPixelXLabel = 3006;
inline constexpr int kPixelYLabel = 3007;

}  // namespace kv::calib

#endif  // KORVALE_DIALOGS_CALIBRATION_CONTROLS_H_
