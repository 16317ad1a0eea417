#ifndef KORVALE_CALIBRATION_CALIBRATION_FILE_FINDER_H_
#define KORVALE_CALIBRATION_CALIBRATION_FILE_FINDER_H_

// Finding the calibration file another program left beside an image.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// A "png.cal" file name pads the image's name with "_" to this length.
inline constexpr std::size_t kPngCalNameLength = 29;

struct CalibrationCandidate {
  std::string path;
  int type = 0;
};

// The files tried for `image_path`, in order: "area_jpg.kvm"; "area.cal",
// "area.kvm", "area.jpr", "area.map", "area.geo", "area.pca"; "area" padded
// with "_" to 29 characters + "png.cal". Does not include the second round
// on the path with its last dot replaced by "_".
std::vector<CalibrationCandidate> CalibrationCandidates(std::string_view image_path);

// Every file FindCalibrationFile tries, in its order: the candidates of
// `image_path`, then those of the path with its last dot replaced by "_".
std::vector<CalibrationCandidate> CalibrationSearchOrder(std::string_view image_path);

struct FoundCalibrationFile {
  std::string path;
  int type = 0;
  ImportStatus read_status = ImportStatus::kOk;  // of reading the file found
};

// Clears `*import` and reads the first candidate file that opens (after all
// candidates, those of the path with its last dot replaced by "_"). Returns
// its type, or kCalibrationFileNone when there is none. `found` may be null.
int FindCalibrationFile(const std::string& image_path, const ImportEnvironment& environment,
                        CalibrationImport* import, std::int32_t width, std::int32_t height,
                        FoundCalibrationFile* found);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_CALIBRATION_FILE_FINDER_H_
