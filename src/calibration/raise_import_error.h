#ifndef KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
#define KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_

#include <string>
#include <string_view>

#include "calibration/calibration_import.h"

namespace kv {

struct ImportedCalibrationFile;

// The one place where calibration import statuses become exceptions, each
// naming the calibration file `path`: a file that does not open is
// ErrFileOpen, one of no calibration type ErrUnknownImageKind, and one that
// cannot be read or whose contents give no usable calibration ErrFileRead;
// one that is not what its kind of file must be ErrCalibrationMalformed,
// with `detail` (CalibrationImport::malformed_detail) after the path; a
// calibration off the Earth or across the 180° meridian ErrOffTheEarth, with
// `detail` (the refusal of ReadImportedCalibration) as its reason.
// REQUIRES: status != ImportStatus::kOk.
[[noreturn]] void RaiseImportError(ImportStatus status, const std::string& path,
                                   std::string_view detail = {});

// The detail RaiseImportError takes for a failed ImportCalibrationRecord.
std::string_view ImportErrorDetail(const ImportedCalibrationFile& file);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
