#ifndef KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
#define KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_

#include <string>
#include <string_view>

namespace kv {

// The one place where calibration import statuses become exceptions, each
// naming the calibration file `path`: a file that does not open is
// ErrFileOpen, one of no calibration type ErrUnknownImageKind, and one that
// cannot be read or whose contents give no usable calibration ErrFileRead;
// one that is not what its kind of file must be ErrCalibrationMalformed,
// with `detail` (CalibrationImport::malformed_detail) after the path.
// REQUIRES: status != kImportOk.
[[noreturn]] void RaiseImportError(int status, const std::string& path,
                                   std::string_view detail = {});

}  // namespace kv

#endif  // KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
