// Reads arbitrary bytes as a calibration file of another program. The first
// byte chooses the file type (".kvm", ".cal", ".jpr", ".pca", ".geo",
// ".map", world file), the second the world file's coordinate system, the
// third and fourth the image size.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "calibration/calibration_file_import.h"
#include "calibration/calibration_import.h"
#include "calibration/calibration_text_writer.h"

namespace {

constexpr std::size_t kHeaderSize = 4;

const kv::WorldFileSystem kSystems[] = {
    {0, ""}, {2, ""},     {3, "32U"},  {3, ""},  {4, ""},  {4, "TQ"},
    {9, ""}, {16, "55H"}, {20, "QU8"}, {20, ""}, {25, ""}, {13, ""},
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
  kv::ReadCalibrationData(bytes, type, environment, &import, width, height);
  kv::CalibrationRecord record =
      kv::CalibrationRecordFromImport(import, environment.negative_letters, width, height);
  kv::WriteCalibrationText(record, std::nullopt);
  return 0;
}
