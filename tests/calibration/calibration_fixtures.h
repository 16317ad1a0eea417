#ifndef KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_
#define KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_

// A fresh temporary folder for calibration files, and the environment an
// import needs, with the diagnostics collected in a string.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "calibration/calibration_import.h"

namespace kv::testing {

class CalibrationDir {
 public:
  CalibrationDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kv-calibration-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~CalibrationDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  CalibrationDir(const CalibrationDir&) = delete;
  CalibrationDir& operator=(const CalibrationDir&) = delete;

  bool ok() const { return !path_.empty(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary);
    out << text;
    return file;
  }

 private:
  std::filesystem::path path_;
};

struct ImportFixture {
  CoordinateContext coordinates;
  CalibrationImportState state;
  std::ostringstream diagnostics;
  ImportEnvironment environment{coordinates, state, diagnostics};
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_
