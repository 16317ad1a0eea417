#include "calibration/calibration_file_finder.h"

#include <cstdio>
#include <memory>

#include "base/file_extension.h"
#include "calibration/calibration_file_import.h"

namespace kv {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

struct SplitPath {
  std::string_view stem;  // the path without the extension's dot
  std::string_view extension;
  std::size_t name_start = 0;
  bool has_extension = false;
};

SplitPath Split(std::string_view path) {
  SplitPath split;
  const std::size_t slash = path.find_last_of("/\\");
  split.name_start = slash == std::string_view::npos ? 0 : slash + 1;
  split.has_extension = FileExtensionDot(path) != std::string_view::npos;
  split.stem = PathWithoutExtension(path);
  split.extension = FileExtension(path);
  return split;
}

std::string PngCalPath(const SplitPath& split) {
  std::string path(split.stem);
  const std::size_t name_length = path.size() - split.name_start;
  if (name_length < kPngCalNameLength) path.append(kPngCalNameLength - name_length, '_');
  return path + "png.cal";
}

int TryCandidates(std::string_view image_path, const ImportEnvironment& environment,
                  CalibrationImport* import, std::int32_t width, std::int32_t height,
                  FoundCalibrationFile* found) {
  for (const CalibrationCandidate& candidate : CalibrationSearchOrder(image_path)) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(candidate.path.c_str(), "rb"));
    if (!file) continue;
    *import = CalibrationImport{};
    const ImportStatus status =
        ReadCalibrationFile(file.get(), candidate.type, environment, import, width, height);
    if (found) *found = {candidate.path, candidate.type, status};
    return candidate.type;
  }
  return kCalibrationFileNone;
}

}  // namespace

std::vector<CalibrationCandidate> CalibrationCandidates(std::string_view image_path) {
  const SplitPath split = Split(image_path);
  std::vector<CalibrationCandidate> candidates;
  if (split.has_extension) {
    candidates.push_back({std::string(split.stem) + "_" + std::string(split.extension) + ".kvm",
                          kCalibrationFileKvm});
  }
  static constexpr struct {
    std::string_view extension;
    int type;
  } kOrder[] = {{".cal", kCalibrationFileCal}, {".kvm", kCalibrationFileKvm},
                {".jpr", kCalibrationFileJpr}, {".map", kCalibrationFileMap},
                {".geo", kCalibrationFileGeo}, {".pca", kCalibrationFilePca}};
  for (const auto& next : kOrder) {
    candidates.push_back({std::string(split.stem) + std::string(next.extension), next.type});
  }
  candidates.push_back({PngCalPath(split), kCalibrationFileCal});
  return candidates;
}

std::vector<CalibrationCandidate> CalibrationSearchOrder(std::string_view image_path) {
  std::vector<CalibrationCandidate> order = CalibrationCandidates(image_path);
  const std::size_t dot = FileExtensionDot(image_path);
  if (dot == std::string_view::npos) return order;
  std::string underscored(image_path);
  underscored[dot] = '_';
  for (CalibrationCandidate& candidate : CalibrationCandidates(underscored)) {
    order.push_back(std::move(candidate));
  }
  return order;
}

int FindCalibrationFile(const std::string& image_path, const ImportEnvironment& environment,
                        CalibrationImport* import, std::int32_t width, std::int32_t height,
                        FoundCalibrationFile* found) {
  *import = CalibrationImport{};
  return TryCandidates(image_path, environment, import, width, height, found);
}

}  // namespace kv
