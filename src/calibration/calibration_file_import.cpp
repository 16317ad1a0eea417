#include "calibration/calibration_file_import.h"

#include <memory>
#include <ostream>
#include <vector>

#include "base/file_extension.h"
#include "calibration/import_line_reader.h"
#include "calibration/key_value_readers.h"
#include "calibration/ozi_map_reader.h"
#include "calibration/world_file_reader.h"
#include "geo/coordinate_systems.h"
#include "geo/grid_system_table.h"
#include "geo/text_match.h"

namespace kv {
namespace {

constexpr std::size_t kWorldExtensionLength = 3;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

bool HasAllThreePoints(const CalibrationImport& import) {
  for (std::size_t i = 0; i < 3; ++i) {
    if (import.points[i].latitude == 0.0 || import.points[i].longitude == 0.0) return false;
  }
  return true;
}

ImportStatus ReadJpr(const std::vector<std::string>& lines, const ImportEnvironment& environment,
                     CalibrationImport* import, std::int32_t width, std::int32_t height) {
  if (!ReadJprLines(lines, environment, import)) return ImportStatus::kOk;
  if (width <= 0 || height <= 0) {
    environment.state.needs_image_size = true;
    return ImportStatus::kOk;
  }
  environment.state.needs_image_size = false;
  return ReadWorldFileLines(lines, environment, import, width, height);
}

// The OSGB grid's positions are on OSGB36, which the datum table knows by
// the name OziExplorer gives it.
constexpr std::string_view kOsgb36DatumCode = "OrdSrvyGrtBritn";

// The record is labelled with the datum its positions are in: the grid's
// own, or the one the user named for the numbers.
void SetWorldFileSystem(const std::optional<WorldFileSystem>& world_system,
                        const ImportEnvironment& environment, CalibrationImport* import) {
  environment.state.world_file_system = world_system.value_or(WorldFileSystem{});
  if (!world_system) return;
  if (world_system->system == kSystemOsgb) import->datum_name = std::string(kOsgb36DatumCode);
  GridSystemRow row;
  if (IsNationalGrid(world_system->system) &&
      environment.coordinates.grid_systems.RowOf(world_system->system, &row) == 0) {
    import->world_system_code = std::string(row.code.substr(0, kWorldSystemCodeLength));
    import->datum_name = std::string(row.datum);
  }
  if (!world_system->datum.empty()) import->datum_name = world_system->datum;
}

}  // namespace

int CalibrationFileType(std::string_view path) {
  if (FileExtensionDot(path) == std::string_view::npos) return kCalibrationFileNoExtension;
  const std::string_view extension = FileExtension(path);
  static constexpr struct {
    std::string_view extension;
    int type;
  } kTypes[] = {{"kvm", kCalibrationFileKvm},
                {"cal", kCalibrationFileCal},
                {"jpr", kCalibrationFileJpr},
                {"pca", kCalibrationFilePca},
                {"geo", kCalibrationFileGeo},
                {"map", kCalibrationFileMap},
                // The usual world file extension after the ".??w" ones.
                {"wld", kCalibrationFileWorld}};
  for (const auto& known : kTypes) {
    if (EqualsIgnoreCase(extension, known.extension)) return known.type;
  }
  if (extension.size() == kWorldExtensionLength && (extension[2] == 'w' || extension[2] == 'W')) {
    return kCalibrationFileWorld;
  }
  return kCalibrationFileNone;
}

ImportStatus ReadCalibrationData(std::string_view data, int type,
                                 const ImportEnvironment& environment, CalibrationImport* import,
                                 std::int32_t width, std::int32_t height) {
  const std::vector<std::string> lines = SplitImportLines(data);
  ImportStatus status = ImportStatus::kOk;
  switch (type) {
    case kCalibrationFileKvm:
    case kCalibrationFileCal:
      import->raw_text = std::string(data);
      ReadCalLines(lines, environment, import);
      break;
    case kCalibrationFileJpr:
      status = ReadJpr(lines, environment, import, width, height);
      break;
    case kCalibrationFilePca:
      ReadPcaLines(lines, environment, import);
      break;
    case kCalibrationFileGeo:
      ReadGeoLines(lines, environment, import);
      break;
    case kCalibrationFileMap:
      status = ReadOziMapLines(lines, environment, import);
      break;
    case kCalibrationFileWorld:
      status = ReadWorldFileLines(lines, environment, import, width, height);
      break;
    default:
      return ImportStatus::kNotFound;
  }
  if (status != ImportStatus::kOk) return status;
  const bool counted_type =
      type == kCalibrationFileJpr || type == kCalibrationFileGeo || type == kCalibrationFileMap;
  if (counted_type && HasAllThreePoints(*import) &&
      (type == kCalibrationFileJpr || import->proj_mode == kCalibrationGeographic)) {
    import->proj_mode = kCalibrationKnownPoints;
  }
  return ImportStatus::kOk;
}

ImportStatus ReadCalibrationFile(std::FILE* file, int type, const ImportEnvironment& environment,
                                 CalibrationImport* import, std::int32_t width,
                                 std::int32_t height) {
  std::string data;
  char chunk[8192];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (data.size() + count > kMaxCalibrationFileSize) return ImportStatus::kReadFailed;
    data.append(chunk, count);
  }
  if (std::ferror(file)) return ImportStatus::kReadFailed;
  return ReadCalibrationData(data, type, environment, import, width, height);
}

ImportStatus ImportCalibrationFile(const std::string& path,
                                   const std::optional<WorldFileSystem>& world_system,
                                   const ImportEnvironment& environment, CalibrationImport* import,
                                   std::int32_t width, std::int32_t height, int* type) {
  *type = CalibrationFileType(path);
  if (*type == kCalibrationFileNoExtension) return ImportStatus::kReadFailed;
  if (*type < 0) return ImportStatus::kNotFound;
  *import = CalibrationImport{};
  SetWorldFileSystem(world_system, environment, import);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    environment.diagnostics << "Could not file calibration file: " << path << "\n";
    return ImportStatus::kOpenFailed;
  }
  return ReadCalibrationFile(file.get(), *type, environment, import, width, height);
}

}  // namespace kv
