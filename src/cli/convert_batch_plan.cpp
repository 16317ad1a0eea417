#include "cli/convert_batch_plan.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "base/file_extension.h"
#include "calibration/calibration_file_finder.h"
#include "calibration/source_calibration.h"
#include "document/image_kind.h"
#include "geo/position_text.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

// The images an import converts; calibration files are left to be found
// beside them.
bool IsImageFile(const fs::path& path) {
  const std::string name = path.string();
  switch (ImageKind(name)) {
    case kImageKindBmp:
    case kImageKindJpg:
    case kImageKindPng:
    case kImageKindGif:
    case kImageKindTiff:
    case kImageKindChart:
      return true;
    default:
      return HasFileExtension(name, "jpeg");
  }
}

// A calibration file the import would find beside the image, under either
// of the names it tries.
bool HasCalibrationFileBeside(const std::string& image) {
  for (const CalibrationCandidate& candidate : CalibrationSearchOrder(image)) {
    std::error_code ignored;
    if (fs::is_regular_file(candidate.path, ignored)) return true;
  }
  return false;
}

// Whether the import will find a calibration for the image: a file beside
// it, a chart's own reference points, or a GeoTIFF's georeferencing (one
// the program cannot use still counts, so that its conversion says why).
bool HasCalibration(const std::string& image) {
  if (HasCalibrationFileBeside(image)) return true;
  const int kind = ImageKind(image);
  if (kind == kImageKindChart) return true;
  if (kind != kImageKindTiff) return false;
  GeoTiffSourceCalibration geotiff;
  return ReadGeoTiffSourceCalibration(image, kDefaultNegativeLetters, &geotiff) !=
         ImportStatus::kGeoTiffNotGeoreferenced;
}

// The folder's images by name: those with a calibration to convert, the
// others to skip.
void AddFolder(const std::string& folder, std::vector<std::string>* sources,
               std::vector<std::string>* skipped) {
  std::vector<fs::path> images;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::error_code ignored;
    if (entry.is_regular_file(ignored) && IsImageFile(entry.path())) images.push_back(entry.path());
  }
  if (error) throw CLI::ValidationError("SOURCE", folder + ": " + error.message());
  std::sort(images.begin(), images.end());
  for (const fs::path& image : images) {
    (HasCalibration(image.string()) ? sources : skipped)->push_back(image.string());
  }
}

// Refuses an output folder that is a file, or that looks like the name of
// one map.
void CheckOutputFolder(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code ignored;
  if (fs::exists(folder, ignored) && !IsFolder(folder)) {
    throw CLI::ValidationError("--output", folder + " is a file; several maps need a folder");
  }
  if (!IsFolder(folder) && HasFileExtension(folder, "prc")) {
    throw CLI::ValidationError("--output",
                               folder + " names one map; several maps need a folder to go into");
  }
}

std::string OutputFor(const std::string& source, const std::string& folder) {
  const fs::path path(source);
  const fs::path map = fs::path(path.stem().string() + ".prc");
  return ((folder.empty() ? path.parent_path() : fs::path(folder)) / map).string();
}

// The same file named twice (or also found in a folder) is one map.
bool SeenBefore(const std::string& source, std::set<fs::path>* seen) {
  std::error_code ignored;
  return !seen->insert(fs::weakly_canonical(source, ignored)).second;
}

}  // namespace

bool IsBatchRequest(const BatchRequest& request) {
  const std::string& output = request.output_folder;
  if (request.sources.size() > 1 || request.require_calibration) return true;
  if (!output.empty() && IsFolder(output)) return true;
  // "-o MAP.prc" asks for one map, so a folder given with it is refused as
  // a source that is no image, as it always was.
  return !HasFileExtension(output, "prc") &&
         std::any_of(request.sources.begin(), request.sources.end(), IsFolder);
}

BatchPlan PlanBatch(const BatchRequest& request) {
  CheckOutputFolder(request.output_folder);
  BatchPlan plan;
  std::vector<std::string> sources;
  for (const std::string& source : request.sources) {
    if (IsFolder(source)) {
      AddFolder(source, &sources, &plan.skipped);
    } else if (request.require_calibration && IsImageFile(source) && !HasCalibration(source)) {
      plan.skipped.push_back(source);
    } else {
      sources.push_back(source);
    }
  }
  std::set<fs::path> seen;
  std::map<fs::path, std::string> writers;  // output -> the source writing it
  for (const std::string& source : sources) {
    if (SeenBefore(source, &seen)) continue;
    const std::string output = OutputFor(source, request.output_folder);
    const auto [at, added] = writers.emplace(fs::absolute(output).lexically_normal(), source);
    if (!added) {
      throw CLI::ValidationError("SOURCE", at->second + " and " + source +
                                               " would both be written as " + output +
                                               "; convert one of them on its own with -o");
    }
    plan.maps.push_back({source, output});
  }
  if (plan.maps.empty() && plan.skipped.empty()) {
    std::string named;
    for (const std::string& source : request.sources) named += (named.empty() ? "" : ", ") + source;
    throw CLI::ValidationError("SOURCE", "no images to convert in " + named);
  }
  return plan;
}

}  // namespace kv::cli
