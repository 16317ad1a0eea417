#ifndef KORVALE_CLI_CALIBRATION_SOURCE_H_
#define KORVALE_CLI_CALIBRATION_SOURCE_H_

// What `kvmap calibration` reads: any calibration source the program knows,
// turned into a calibration record the way the desktop program's import
// does it.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calibration/calibration_import.h"
#include "calibration/calibration_record.h"

namespace kv::cli {

// A source that cannot give a calibration for a reason the user can fix
// (no image size, no georeferencing, an unknown kind of file).
class CalibrationSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CalibrationRequest {
  std::string path;
  std::int32_t width = 0;  // 0 when not given
  std::int32_t height = 0;
  std::optional<WorldFileSystem> world_system;
  std::string negative_letters;
};

struct CalibrationResult {
  CalibrationRecord record;
  // "N47.50000000"; empty when the source gave none.
  BoundTextSet bound_texts;
  // What the source gave that the user must hear about (an unknown datum,
  // points that could not be taken).
  std::vector<ImportWarning> warnings;
  // What the source was, for people: the fit of a GeoTIFF's ground control
  // points.
  std::vector<std::string> notes;
};

// Reads the source named by the request's path: ".kvm", ".cal", ".jpr",
// ".pca", ".geo", ".map", world files, GeoTIFFs (".tif", ".tiff"), charts
// (".kap", ".cap") and map databases (".prc"). Diagnostics go to
// `diagnostics`. Throws CalibrationSourceError, or the LException of a file
// that cannot be read.
CalibrationResult ReadCalibrationSource(const CalibrationRequest& request,
                                        std::ostream& diagnostics);

// Width and height from an image's header.
void ReadImageSize(const std::string& path, std::int32_t* width, std::int32_t* height);

// "WxH", both above 0.
bool ParseImageSize(const std::string& text, std::int32_t* width, std::int32_t* height);

// The record as JSON: kind, datum, bounds, bound texts and the points in
// use.
std::string CalibrationJson(const CalibrationResult& result);

}  // namespace kv::cli

#endif  // KORVALE_CLI_CALIBRATION_SOURCE_H_
