#include "calibration/raise_import_error.h"

#include "base/exceptions.h"
#include "calibration/calibration_import.h"

namespace kv {

void RaiseImportError(int status, const std::string& path, std::string_view detail) {
  switch (status) {
    case kImportMalformedFile: {
      const std::string named = detail.empty() ? path : path + ", " + std::string(detail);
      throw ErrCalibrationMalformed(named.c_str());
    }
    case kImportOpenFailed:
      throw ErrFileOpen(path.c_str());
    case kImportNotFound:
      throw ErrUnknownImageKind(path.c_str());
    default:
      // kImportReadFailed, kImportNotOziExplorer, kImportBadWorldSystem,
      // kImportOffTheEarth: the file is there but gives no calibration.
      throw ErrFileRead(path.c_str());
  }
}

}  // namespace kv
