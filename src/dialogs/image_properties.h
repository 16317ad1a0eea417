#ifndef KORVALE_DIALOGS_IMAGE_PROPERTIES_H_
#define KORVALE_DIALOGS_IMAGE_PROPERTIES_H_

// What the Image Properties dialog (kImagePropertiesDialogId) says about one entry of the image
// list: its name, sizes, depth and compression, and for the map's first
// image a summary of the calibration. Texts come from the dialog's section
// and the string table of the language file.

#include <string>
#include <vector>

#include "base/language_file.h"
#include "base/string_table.h"
#include "calibration/calibration_record.h"
#include "map/c_image.h"

namespace kv {

inline constexpr int kImagePropertiesDialogId = 123;
// Row labels of the dialog, in the order shown.
inline constexpr int kPropertyName = 3001;
inline constexpr int kPropertyPixels = 3002;
inline constexpr int kPropertyMapSize = 3003;
inline constexpr int kPropertyBytes = 3004;
inline constexpr int kPropertyDepth = 3005;
inline constexpr int kPropertyCompression = 3006;
inline constexpr int kPropertyCalibration = 3007;
inline constexpr int kPropertyPoints = 3008;
inline constexpr int kPropertyDatum = 3009;
inline constexpr int kPropertyNorthWest = 3010;
inline constexpr int kPropertySouthEast = 3011;
// Value texts of the dialog.
inline constexpr int kPropertySizeFormat = 2330;  // "%s x %s pixels"
inline constexpr int kPropertyNotCompressed = 2331;
inline constexpr int kPropertyScanline = 2332;
inline constexpr int kPropertyRle = 2333;
inline constexpr int kPropertyNotConverted = 2334;
inline constexpr int kPropertyNoCalibration = 2335;
inline constexpr int kPropertyTileCalibration = 2336;
inline constexpr int kPropertyKindGeographic = 2337;
inline constexpr int kPropertyKindProjection = 2338;
inline constexpr int kPropertyKindThreeByThree = 2339;
inline constexpr int kPropertyKindPoints = 2340;
inline constexpr int kPropertyKindUnknown = 2341;

struct PropertyRow {
  int label = 0;  // a row label of the dialog
  std::string value;
};

// `calibration` is the map's calibration when `image` is the map's first
// image, else null: tiles carry none of their own.
std::vector<PropertyRow> ImagePropertyRows(const DialogTexts& texts, const StringTable& strings,
                                           const CImage& image,
                                           const CalibrationRecord* calibration);

}  // namespace kv

#endif  // KORVALE_DIALOGS_IMAGE_PROPERTIES_H_
