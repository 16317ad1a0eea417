#ifndef KORVALE_DOCUMENT_IMPORT_NOTICE_H_
#define KORVALE_DOCUMENT_IMPORT_NOTICE_H_

// What an import tells the user in passing, without asking anything: which
// calibration it took, that it found none, what a calibration file could
// not give, and characters of a name that the handheld cannot show.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/string_ids.h"
#include "base/string_table.h"
#include "calibration/calibration_import.h"

namespace kv {

enum class NoticeKind {
  kCalibrationTaken,
  kNoCalibration,
  kImportWarning,
  kUnshownCharacters,
};

// Where a calibration came from.
enum class CalibrationSourceFormat {
  kKvm,
  kCal,
  kJpr,
  kPca,
  kGeo,
  kOziMap,
  kWorldFile,
  kGeoTiff,
  kChart,
};

struct Notice {
  NoticeKind kind = NoticeKind::kCalibrationTaken;
  // The calibration file; for kNoCalibration the image.
  std::string path;
  CalibrationSourceFormat format = CalibrationSourceFormat::kKvm;
  int points = 0;
  std::string datum;
  // kImportWarning.
  std::optional<ImportWarning> warning;
  // kUnshownCharacters: the name, and the characters stored as "?".
  std::string name;
  std::string unshown;
};

// Where an import's calibration came from, and what its reader could not
// take.
struct TakenCalibration {
  std::string path;
  CalibrationSourceFormat format = CalibrationSourceFormat::kKvm;
  std::vector<ImportWarning> warnings;
};

// What the user hears about the calibration of an import of `image_path`
// that ended with `record`: with `tell`, which calibration was taken (or
// that none was, when `taken` is none); and always every warning, as the
// map would otherwise be less exact without a word.
std::vector<Notice> CalibrationNotices(const std::optional<TakenCalibration>& taken,
                                       const CalibrationRecord& record,
                                       const std::string& image_path, bool tell);

// Characters of `name` that the handheld cannot show: none, or one notice.
std::vector<Notice> StoredNameNotices(const std::string& name);

// The format of a calibration file type (kCalibrationFileKvm ...).
CalibrationSourceFormat FormatOfCalibrationFile(int type);

// Warnings want the user's attention; the others only say what happened.
bool IsWarning(const Notice& notice);

// The text shown, in the language of `strings` (English where they lack
// it).
std::string NoticeText(const StringTable& strings, const Notice& notice);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMPORT_NOTICE_H_
