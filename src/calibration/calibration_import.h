#ifndef KORVALE_CALIBRATION_CALIBRATION_IMPORT_H_
#define KORVALE_CALIBRATION_CALIBRATION_IMPORT_H_

// What reading another program's calibration file (or a GeoTIFF) yields,
// and the state the imports share. The document turns an import into the
// current calibration record (CalibrationRecordFromImport).

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_record.h"
#include "geo/grid_conversion.h"
#include "geo/position_text.h"

namespace kv {

// Calibration file types.
inline constexpr int kCalibrationFileKvm = 1;
inline constexpr int kCalibrationFileCal = 2;
inline constexpr int kCalibrationFileJpr = 3;
inline constexpr int kCalibrationFilePca = 4;
inline constexpr int kCalibrationFileGeo = 5;
inline constexpr int kCalibrationFileMap = 6;
inline constexpr int kCalibrationFileWorld = 7;

// What CalibrationFileType and FindCalibrationFile give besides a type: no
// calibration file (or none of a known type), and a file name without an
// extension.
inline constexpr int kCalibrationFileNone = -10;
inline constexpr int kCalibrationFileNoExtension = -1;

// Results of the import functions (and the GeoTIFF reader's), which no
// caller may drop unread.
enum class [[nodiscard]] ImportStatus{
    kOk = 0,
    kReadFailed = -1,       // also: a path without extension
    kOpenFailed = -2,       // the file does not open
    kNotFound = -10,        // no calibration file, or not a known type
    kNotOziExplorer = -22,  // a ".map" without its header
    // A world file named a grid position that the chosen coordinate system
    // cannot convert (UTM without a zone, for instance).
    kBadWorldSystem = -23,
    // The TIFF opened but carries no georeferencing of its own (no
    // geotransform, or no coordinate reference system): import it without
    // calibration.
    kGeoTiffNotGeoreferenced = -24,
    // A position or bound came out as no number, or off the Earth (beyond
    // ±90° latitude or ±180° longitude).
    kOffTheEarth = -25,
    // The file is of a known type but does not hold what that type must (a
    // world file line that is no number, fewer than six numbers);
    // CalibrationImport::malformed_detail says where.
    kMalformedFile = -26,
    // The TIFF's coordinate system is one whose positions cannot become
    // latitude and longitude on the Earth: another body's, or a geostationary
    // satellite's view. GeoTiffReport::coordinate_system names it.
    kGeoTiffUnsupportedSystem = -27,
};

// Something a reader could not take from a calibration file that the user
// must hear about, because the map would otherwise be silently less exact.
enum class ImportWarningKind {
  kUnknownDatum,    // detail: the datum name as written; positions kept, datum WGS84
  kPointsSkipped,   // detail: how many points, and why
  kNoUsablePoints,  // detail: why no point could be taken
};

struct ImportWarning {
  ImportWarningKind kind;
  std::string detail;
};

// Calibration files are a few kilobytes; anything larger is not one.
inline constexpr std::size_t kMaxCalibrationFileSize = std::size_t{16} << 20;

// Limits of the import record's texts (without their NUL).
inline constexpr std::size_t kBoundTextLength = 23;
inline constexpr std::size_t kImageExtensionLength = 31;
inline constexpr std::size_t kImageNameLength = 79;
inline constexpr std::size_t kWorldSystemCodeLength = 11;

// The six numbers of a world file in file order: x pixel size A, rotation
// terms D and B, y pixel size E, and the position C, F of the centre of the
// top-left pixel, in the units of the file's coordinate system.
struct WorldFileValues {
  double a = 0.0;
  double d = 0.0;
  double b = 0.0;
  double e = 0.0;
  double c = 0.0;
  double f = 0.0;
};

struct CalibrationImport : CalibrationFrame {
  // Position texts with "N"/"S" and "E"/"W".
  std::string north_text;
  std::string west_text;
  std::string south_text;
  std::string east_text;
  std::string image_extension;
  std::string image_name;
  // The whole file, for ".kvm" and ".cal" files (read again as text).
  std::optional<std::string> raw_text;

  CalibrationPoints points{};

  bool world_file = false;
  WorldFileValues world_values;
  std::string world_system_code;

  std::vector<ImportWarning> warnings;
  // With ImportStatus::kMalformedFile: the line and what is wrong with it.
  std::string malformed_detail;
};

// The coordinate system a world file's numbers are in: an index of the
// coordinate system list (degree notations read Y as latitude and X as
// longitude) and, for systems whose positions need one, the zone: a UTM
// zone such as "32U" (a band letter above "M" is north), a Quebec MTM zone
// name. An OSGB world file gives full grid metres and needs no zone.
// `datum`, when not empty, is the datum code the numbers are in (a UTM
// sheet in NAD27, say); empty means the system's own datum (WGS84 for
// degrees, UTM and MGA, the grid's datum for a national grid).
struct WorldFileSystem {
  int system = 0;
  std::string zone;
  std::string datum;
};

// What the imports keep between calls.
struct CalibrationImportState {
  WorldFileSystem world_file_system;
  // Set when a file (a ".jpr" holding world file numbers, or a world file)
  // was read without an image size; it must be read again with one.
  bool needs_image_size = false;
};

// Everything an import reads besides the file: the coordinate conversions,
// the shared state, where diagnostics go (standard output in the desktop
// program, where nobody sees them), and the letters that make a typed
// position negative.
struct ImportEnvironment {
  CoordinateContext& coordinates;
  CalibrationImportState& state;
  std::ostream& diagnostics;
  std::string negative_letters = std::string(kDefaultNegativeLetters);
};

// A bound value as the import record keeps it ("N47.50000000"); empty when
// the value is not a usable number.
std::string FormatBoundText(double degrees, bool latitude);

// The four bound texts, as the import record and a map image's corners keep
// them.
struct BoundTextSet {
  std::string north;
  std::string west;
  std::string south;
  std::string east;
};

// The record's bounds as bound texts; none when the record has no bounds.
std::optional<BoundTextSet> FormatBoundTexts(const CalibrationRecord& record);

// The import as the current calibration record: kind, datum, points,
// offsets, scales and projection parameters, the bounds read from the bound
// texts, and the image size given.
CalibrationRecord CalibrationRecordFromImport(const CalibrationImport& import,
                                              std::string_view negative_letters, std::int32_t width,
                                              std::int32_t height);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_IMPORT_H_
