#ifndef KORVALE_CALIBRATION_CALIBRATION_EXPORT_H_
#define KORVALE_CALIBRATION_CALIBRATION_EXPORT_H_

// Writing a calibration for other programs: the format an output name asks
// for, and what writing it can come to.

#include <optional>
#include <string>
#include <string_view>

#include "calibration/calibration_import.h"
#include "calibration/calibration_record.h"

namespace kv {

enum class CalibrationExportFormat {
  kKvm,        // our own text; any name that asks for no other format
  kOziMap,     // ".map"
  kWorldFile,  // ".wld" and the ".??w" names the importer reads, with a ".prj"
  // ".cal", ".geo", ".pca", ".jpr": formats we read but do not write.
  kUnwritable,
};

// The format by the name's extension, as the importer tells the types apart.
CalibrationExportFormat ExportFormatOf(std::string_view path);

enum class [[nodiscard]] ExportStatus{
    kOk,
    // Neither three points with positions nor bounds: nothing places the map.
    kNoPlacement,
    // A world file only holds an affine transform; the calibration departs
    // from the best one by more than kWorldFileTolerancePixels.
    kNotAffine,
    // A world file in a coordinate system we cannot name in a ".prj" file.
    kUnsupportedSystem,
    // The record names a datum the table does not hold, so neither a
    // ".prj" nor an OziExplorer name can say which it is.
    kUnknownDatum,
    // GDAL could not build the coordinate system of the record's datum.
    kNoCoordinateSystem,
    // A name asking for a format we read but do not write.
    kUnwritableFormat,
    kWriteFailed,  // ExportOutcome::system_error says why
};

struct ExportOutcome {
  ExportStatus status = ExportStatus::kOk;
  int system_error = 0;
  // kNotAffine: the fit's largest distance from a point, in pixels.
  double worst_pixels = 0.0;
  // kUnsupportedSystem: the system's name; kUnknownDatum: the datum's.
  std::string detail;
  // kWriteFailed: the file that could not be written, when it is not the
  // one asked for (the ".prj" beside a world file).
  std::string failed_path;
};

inline ExportOutcome ExportFailure(ExportStatus status) {
  ExportOutcome outcome;
  outcome.status = status;
  return outcome;
}

// kUnknownDatum for a record whose datum the table does not hold (see
// NamedDatumRow), else kOk.
ExportOutcome CheckNamedDatum(const CalibrationRecord& record);

// Writes `record` to `path` in the format its name asks for; a ".kvm" goes
// to CalibrationExportPath(path). A world file is written in `world_system`
// (degrees on the record's datum when none), with its ".prj" beside it.
// `image_name` is the image a ".map" file names. Nothing is left behind
// when writing fails.
ExportOutcome ExportCalibrationFile(const CalibrationRecord& record, const std::string& path,
                                    const std::optional<WorldFileSystem>& world_system,
                                    std::string_view image_name);

// The file ExportCalibrationFile writes for `path` (a ".kvm" name for our
// own text, `path` itself otherwise).
std::string ExportedCalibrationPath(const std::string& path);

// The one place where export statuses become exceptions: ErrFileWrite
// naming `path`, with the reason in words (the residual, the system, the
// extension) or the system's error number.
// REQUIRES: outcome.status != ExportStatus::kOk.
[[noreturn]] void RaiseExportError(const ExportOutcome& outcome, const std::string& path);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_EXPORT_H_
