#include "calibration/raise_import_error.h"

#include "base/exceptions.h"
#include "calibration/calibration_import.h"
#include "calibration/imported_calibration.h"

namespace kv {

void RaiseImportError(ImportStatus status, const std::string& path, std::string_view detail) {
  switch (status) {
    case ImportStatus::kMalformedFile: {
      const std::string named = detail.empty() ? path : path + ", " + std::string(detail);
      throw ErrCalibrationMalformed(named.c_str());
    }
    case ImportStatus::kOpenFailed:
      throw ErrFileOpen(path.c_str());
    case ImportStatus::kNotFound:
      throw ErrUnknownImageKind(path.c_str());
    case ImportStatus::kOffTheEarth: {
      ErrOffTheEarth error(path.c_str());
      if (!detail.empty()) error.set_reason(std::string(detail).c_str());
      throw error;
    }
    default:
      // ImportStatus::kReadFailed, ImportStatus::kNotOziExplorer, ImportStatus::kBadWorldSystem:
      // the file is there but gives no calibration.
      throw ErrFileRead(path.c_str());
  }
}

std::string_view ImportErrorDetail(const ImportedCalibrationFile& file) {
  return file.refusal.empty() ? std::string_view(file.import.malformed_detail)
                              : std::string_view(file.refusal);
}

}  // namespace kv
