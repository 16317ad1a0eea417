#ifndef KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_
#define KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_

// A fresh temporary folder for calibration files, and the environment an
// import needs, with the diagnostics collected in a string.

#include <sstream>
#include <string>

#include "calibration/calibration_import.h"
#include "temp_folder.h"

namespace kv::testing {

using CalibrationDir = TempFolder;

struct ImportFixture {
  CoordinateContext coordinates;
  CalibrationImportState state;
  std::ostringstream diagnostics;
  ImportEnvironment environment{coordinates, state, diagnostics};
};

}  // namespace kv::testing

#endif  // KORVALE_TESTS_CALIBRATION_CALIBRATION_FIXTURES_H_
