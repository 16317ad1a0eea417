// Reads arbitrary bytes as a calibration file of another program. The first
// byte chooses the file type (".kvm", ".cal", ".jpr", ".pca", ".geo",
// ".map", world file), the second the world file's coordinate system, the
// third and fourth the image size. A record the import accepts lies on the
// Earth, and its text never holds "nan" or "inf".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "calibration/calibration_file_import.h"
#include "calibration/calibration_import.h"
#include "calibration/calibration_text_writer.h"
#include "calibration/imported_calibration.h"

namespace {

constexpr std::size_t kHeaderSize = 4;

// Lines whose value the writer formatted as a number; the datum and
// projection lines carry the file's own text.
bool HasNonFiniteNumber(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("datum1=") || line.starts_with("projparams=")) continue;
    if (line.find("nan") != std::string::npos || line.find("inf") != std::string::npos) {
      return true;
    }
  }
  return false;
}

// The datum stays the system's own (empty).
const kv::WorldFileSystem kSystems[] = {
    {0, "", ""}, {2, "", ""},     {3, "32U", ""},  {3, "", ""},  {4, "", ""},  {4, "TQ", ""},
    {9, "", ""}, {16, "55H", ""}, {20, "QU8", ""}, {20, "", ""}, {25, "", ""}, {13, "", ""},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return 0;
  const int type = 1 + data[0] % 7;
  kv::CoordinateContext coordinates;
  kv::CalibrationImportState state;
  state.world_file_system = kSystems[data[1] % (sizeof kSystems / sizeof kSystems[0])];
  std::ostringstream diagnostics;
  kv::ImportEnvironment environment{coordinates, state, diagnostics};
  const std::int32_t width = data[2] * 37;
  const std::int32_t height = data[3] * 29;
  const std::string_view bytes(reinterpret_cast<const char*>(data + kHeaderSize),
                               size - kHeaderSize);
  kv::CalibrationImport import;
  // A file that reads only in part still gives a record to check.
  static_cast<void>(kv::ReadCalibrationData(bytes, type, environment, &import, width, height));
  kv::CalibrationRecord record;
  if (kv::ReadImportedCalibration(import, type, environment.negative_letters, width, height,
                                  &record) != kv::ImportStatus::kOk) {
    return 0;
  }
  if (!kv::HasEarthPositions(record)) std::abort();
  if (HasNonFiniteNumber(kv::WriteCalibrationText(record, std::nullopt).value_or(""))) {
    std::abort();
  }
  return 0;
}
