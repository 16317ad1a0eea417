#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "base/file_extension.h"
#include "calibration/calibration_export.h"
#include "calibration/calibration_file_finder.h"
#include "calibration/calibration_residuals.h"
#include "calibration/calibration_text_writer.h"
#include "calibration/ozi_map_reader.h"
#include "calibration/world_file_writer.h"
#include "cli/calibration_source.h"
#include "cli/commands.h"
#include "cli/conversion_flags.h"
#include "cli/coord_text.h"
#include "document/input_overwrite.h"

namespace kv::cli {
namespace {

struct CalibrationOptions {
  std::string path;
  std::string image;
  std::string size;
  WorldSystemFlags world;
  std::string output;
  bool json = false;
  bool verbose = false;
};

// Diagnostics nobody asked for are dropped: a stream without a buffer
// swallows what is written to it.
std::ostream& DiagnosticStream(bool verbose, std::ostream& quiet) {
  return verbose ? std::cerr : quiet;
}

CalibrationRequest RequestOf(const CalibrationOptions& options, const CliContext& context) {
  CalibrationRequest request;
  request.path = options.path;
  request.negative_letters = PositionTextsFromStrings(context.strings).negative_letters;
  if (!options.size.empty() && !ParseImageSize(options.size, &request.width, &request.height)) {
    throw CalibrationSourceError("--size wants WIDTHxHEIGHT, e.g. 1000x800: " + options.size);
  }
  if (!options.image.empty()) ReadImageSize(options.image, &request.width, &request.height);
  request.world_system = WorldSystemFrom(options.world);
  return request;
}

// The residuals join the record's JSON once three points are set, as the
// calibration dialog shows them; point numbers are the user's, from 1.
std::string JsonWithResiduals(const CalibrationResult& result) {
  nlohmann::ordered_json json = nlohmann::ordered_json::parse(CalibrationJson(result));
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(result.record);
  if (residuals.status != ResidualStatus::kTooFewPoints) {
    json["residuals_status"] = ResidualStatusName(residuals.status);
    json["residuals"] = nlohmann::ordered_json::array();
    for (const PointResidual& row : residuals.points) {
      json["residuals"].push_back({{"point", row.index + 1},
                                   {"pixels", row.pixels},
                                   {"metres", row.metres},
                                   {"outlier", row.outlier},
                                   {"from_source", row.from_source}});
    }
    json["rms_pixels"] = residuals.status == ResidualStatus::kOk
                             ? nlohmann::ordered_json(residuals.rms_pixels)
                             : nlohmann::ordered_json();
    if (residuals.has_model_error) {
      json["model_error"] = {{"pixels", residuals.model_error_pixels},
                             {"metres", residuals.model_error_metres}};
    }
  }
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string ResidualLine(const PointResidual& row) {
  char line[80];
  std::snprintf(line, sizeof line, "%6d %10.2f %12.1f%s\n", row.index + 1, row.pixels, row.metres,
                row.outlier ? "  suspect" : "");
  return line;
}

// A table for people; it goes to the error stream so that the standard
// output stays a .kvm text that can be redirected into a file.
void PrintResidualTable(const CalibrationRecord& record, std::ostream& out) {
  const CalibrationResiduals residuals = ComputeCalibrationResiduals(record);
  if (residuals.status == ResidualStatus::kTooFewPoints) return;
  if (residuals.status != ResidualStatus::kOk) {
    out << "Residuals: no affine fit (" << ResidualStatusName(residuals.status) << ")\n";
    return;
  }
  out << "Residuals of the affine fit:\n point     pixels       metres\n";
  for (const PointResidual& row : residuals.points) out << ResidualLine(row);
  char rms[64];
  std::snprintf(rms, sizeof rms, "RMS %.2f pixels\n", residuals.rms_pixels);
  out << rms;
  if (!residuals.has_model_error) return;
  // The source's points are exact; what the fit misses is the projection.
  char model[160];
  std::snprintf(model, sizeof model,
                "Model error %.2f pixels (%.1f m): how far an affine fit is from the map's "
                "projection\n",
                residuals.model_error_pixels, residuals.model_error_metres);
  out << model;
}

// The image a ".map" file names: the one given, the source itself when it
// is an image that carries its calibration, or the image a ".map" source
// names.
std::string ImageNameOf(const CalibrationOptions& options) {
  if (!options.image.empty()) return std::filesystem::path(options.image).filename().string();
  const std::string extension = LowerFileExtension(options.path);
  if (extension == "map") {
    return std::filesystem::path(OziMapImagePath(options.path)).filename().string();
  }
  for (const char* image : {"tif", "tiff", "kap", "cap"}) {
    if (extension == image) return std::filesystem::path(options.path).filename().string();
  }
  return std::string();
}

// The format follows the output's extension; a world file is written in the
// system --world-system names (the one a world file source is read in), in
// degrees on the calibration's datum without it.
void ExportCalibration(const CalibrationOptions& options, const CalibrationResult& result) {
  const std::string path = ExportedCalibrationPath(options.output);
  const std::array inputs{InputFile{options.path, "calibration source"},
                          InputFile{options.image, kSourceImageRole}};
  RefuseToOverwriteInput(path, inputs);
  if (ExportFormatOf(path) == CalibrationExportFormat::kWorldFile) {
    RefuseToOverwriteInput(PrjPathOf(path), inputs);
  }
  const ExportOutcome outcome = ExportCalibrationFile(
      result.record, path, WorldSystemFrom(options.world), ImageNameOf(options));
  if (outcome.status != ExportStatus::kOk) RaiseExportError(outcome, path);
  if (!options.json) std::cout << CalibrationExportedMessage(path) << "\n";
}

void PrintCalibration(const CalibrationOptions& options, const CalibrationResult& result) {
  const std::optional<std::string> text =
      WriteCalibrationText(result.record, result.record.pending_text);
  if (!options.output.empty()) ExportCalibration(options, result);
  if (options.json) {
    std::cout << JsonWithResiduals(result);
    return;
  }
  if (options.output.empty() && text) std::cout << *text;
  for (const std::string& note : result.notes) std::cerr << note << "\n";
  PrintResidualTable(result.record, std::cerr);
}

// Runs `body`; a CalibrationSourceError is the user's to fix and is told
// plainly, anything else goes through the program's error reporting.
int RunCalibrationBody(CliContext& context, const std::function<void()>& body) {
  int result = 0;
  const int reported = RunReported(context, kContextImport, [&]() {
    try {
      body();
    } catch (const CalibrationSourceError& error) {
      std::cerr << "kvmap: error: " << error.what() << "\n";
      result = 1;
    }
  });
  return reported != 0 ? reported : result;
}

void AddFindCommand(CLI::App* calibration, CliContext& context, int* exit_code) {
  auto image = std::make_shared<std::string>();
  auto verbose = std::make_shared<bool>(false);
  CLI::App* find = calibration->add_subcommand(
      "find", "Find the calibration file beside an image; print its path and type number");
  find->add_option("IMAGE", *image, "Image file")->required();
  find->add_flag("--verbose", *verbose, "Show diagnostics on standard error");
  find->callback([&context, exit_code, image, verbose]() {
    *exit_code = RunCalibrationBody(context, [&]() {
      std::ostream quiet(nullptr);
      CoordinateContext coordinates;
      CalibrationImportState state;
      ImportEnvironment environment{coordinates, state, DiagnosticStream(*verbose, quiet),
                                    PositionTextsFromStrings(context.strings).negative_letters};
      CalibrationImport import;
      FoundCalibrationFile found;
      if (FindCalibrationFile(*image, environment, &import, 0, 0, &found) == kCalibrationFileNone) {
        throw CalibrationSourceError("no calibration file found beside " + *image);
      }
      std::cout << found.path << " " << found.type << "\n";
    });
  });
}

}  // namespace

void AddCalibrationCommand(CLI::App& app, CliContext& context, int* exit_code) {
  auto options = std::make_shared<CalibrationOptions>();
  CLI::App* command = app.add_subcommand(
      "calibration",
      "Read a calibration (.kvm .cal .jpr .pca .geo .map, world file, GeoTIFF, chart, map "
      "database) and print it as .kvm text");
  command->add_option("FILE", options->path, "Calibration source");
  CLI::Option* image =
      command->add_option("--image", options->image, "Image whose size the calibration needs");
  command->add_option("--size", options->size, "Image size WIDTHxHEIGHT")->excludes(image);
  AddWorldSystemFlags(command, &options->world);
  command->add_flag("--json", options->json,
                    "Print the record as JSON, with the residuals once three points are set");
  command->add_option("-o,--output", options->output,
                      "Export to this file: .map writes an OziExplorer map file, a world file "
                      "name (.tfw .jgw .pgw .wld ...) a world file with its .prj, anything else "
                      "the .kvm text");
  command->add_flag("--verbose", options->verbose, "Show diagnostics on standard error");
  command->require_subcommand(0, 1);
  AddFindCommand(command, context, exit_code);
  command->callback([&context, exit_code, options, command]() {
    if (command->get_subcommand("find")->parsed()) return;
    if (options->path.empty()) throw CLI::RequiredError("FILE");
    // Mistyped options are told as the parser tells them, before any file is read.
    WorldSystemFrom(options->world);
    *exit_code = RunCalibrationBody(context, [&]() {
      std::ostream quiet(nullptr);
      const CalibrationRequest request = RequestOf(*options, context);
      PrintCalibration(*options,
                       ReadCalibrationSource(request, DiagnosticStream(options->verbose, quiet)));
    });
  });
}

}  // namespace kv::cli
