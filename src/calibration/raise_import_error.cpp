#include "calibration/raise_import_error.h"

#include "base/exceptions.h"
#include "calibration/calibration_import.h"

namespace kv {

void RaiseImportError(int status, const std::string& path, const std::string& refusal) {
  switch (status) {
    case kImportOpenFailed:
      throw ErrFileOpen(path.c_str());
    case kImportNotFound:
      throw ErrUnknownImageKind(path.c_str());
    case kImportOffTheEarth: {
      ErrOffTheEarth error(path.c_str());
      if (!refusal.empty()) error.set_reason(refusal.c_str());
      throw error;
    }
    default:
      // kImportReadFailed, kImportNotOziExplorer, kImportBadWorldSystem: the
      // file is there but gives no calibration.
      throw ErrFileRead(path.c_str());
  }
}

}  // namespace kv
