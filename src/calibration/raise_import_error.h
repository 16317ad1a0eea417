#ifndef KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
#define KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_

#include <string>

namespace kv {

// The one place where calibration import statuses become exceptions, each
// naming the calibration file `path`: a file that does not open is
// ErrFileOpen, one of no calibration type ErrUnknownImageKind, and one that
// cannot be read or whose contents give no usable calibration ErrFileRead.
// A calibration off the Earth or across the 180° meridian is
// ErrOffTheEarth, with `refusal` (ReadImportedCalibration) as its reason.
// REQUIRES: status != kImportOk.
[[noreturn]] void RaiseImportError(int status, const std::string& path,
                                   const std::string& refusal = {});

}  // namespace kv

#endif  // KORVALE_CALIBRATION_RAISE_IMPORT_ERROR_H_
