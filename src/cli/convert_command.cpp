#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "calibration/calibration_file_import.h"
#include "cli/commands.h"
#include "cli/conversion_flags.h"
#include "cli/convert_batch.h"
#include "cli/coord_text.h"
#include "cli/document_session.h"
#include "cli/dry_run_report.h"
#include "cli/interrupt_watcher.h"
#include "document/image_kind.h"
#include "document/input_overwrite.h"
#include "map/map_layout.h"
#include "map/map_text.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

struct ConvertOptions {
  // One source converts as a single map; several, or a folder, as a batch.
  std::vector<std::string> sources;
  std::string output;
  std::string name;
  std::string calibration;
  WorldSystemFlags world;
  bool no_calibration = false;
  bool require_calibration = false;
  bool dry_run = false;
  ConversionFlags flags;
};

// The output beside the image the import opened (a calibration file names
// its image), with the extension ".prc".
std::string DefaultOutput(const std::string& image_path) {
  return fs::path(image_path).replace_extension(".prc").string();
}

// The world file's coordinate system, or none when the file is not a world
// file. Throws CLI errors the user can fix.
std::optional<WorldFileSystem> WorldSystemFor(const ConvertOptions& options) {
  if (CalibrationFileType(options.calibration) != kCalibrationFileWorld) return std::nullopt;
  if (options.world.system.empty()) {
    throw CLI::ValidationError("--calibration", "a world file needs --world-system SYS");
  }
  return WorldSystemFrom(options.world);
}

// The files named on the command line; the document itself refuses the
// ones it finds while importing (the image a calibration file names, the
// calibration file beside the image), but only after converting.
void RefuseToOverwriteNamedInputs(const ConvertOptions& options) {
  if (options.output.empty()) return;
  const std::string& source = options.sources.front();
  const bool calibration_source = IsCalibrationKind(ImageKind(source));
  std::vector<InputFile> inputs{
      {source, calibration_source ? kCalibrationFileRole : kSourceImageRole}};
  if (!options.calibration.empty()) inputs.push_back({options.calibration, kCalibrationFileRole});
  RefuseToOverwriteInput(options.output, inputs);
}

// What a shell reports for a program ended by Ctrl-C (128 + SIGINT).
constexpr int kInterruptedExitCode = 130;

// Ctrl-C during the conversion cancels it; nothing is written then.
bool Import(CDocument& document, CliDocumentUi& ui, const std::string& source) {
  InterruptWatcher interrupts(ui.cancel_requested);
  const bool imported = document.ImportSourceImage(source, true, true) == 0;
  if (!ui.cancel_requested) return imported;
  std::cerr << "kvmap: cancelled\n";
  return false;
}

// The document's own import and save, as the desktop program runs them:
// Import (kCmdImportImage) with the options from the command line, optionally a
// calibration file, then Save As.
int Convert(CliContext& context, const ConvertOptions& options) {
  const std::optional<WorldFileSystem> world_system = WorldSystemFor(options);
  if (RunReported(context, kContextSave, [&]() { RefuseToOverwriteNamedInputs(options); }) != 0) {
    return 1;
  }
  DocumentSession session(context);
  CliDocumentUi& ui = session.ui();
  ui.hold_notices = true;
  ui.settings = SettingsFrom(options.flags);
  if (!options.name.empty()) ui.map_name = CutToStoredLength(options.name, kMaxImageNameLength);

  CDocument& document = session.StartEmpty();
  if (!Import(document, ui, options.sources.front()))
    return ui.cancel_requested ? kInterruptedExitCode : 1;
  if (options.no_calibration) session.DropCalibration();
  if (!options.calibration.empty()) {
    // The file given replaces whatever the import found.
    ui.DropHeldCalibrationNotices();
    if (document.ImportCalibrationFile(options.calibration, world_system) != 0) return 1;
    document.ApplyCalibration();
  }
  const std::string output =
      options.output.empty() ? DefaultOutput(document.source_path()) : options.output;
  // Relative to the working folder, not to the document's.
  if (document.SaveAs(fs::absolute(output).string()) != 0) return 1;
  ui.PrintHeldNotices();
  return RunReported(context, kContextSave, [&]() {
    std::cout << ConvertedMapLine(DescribeConvertedMap(document), output);
  });
}

// Several maps with the same options; what names or calibrates one map
// alone is refused.
int ConvertSeveral(CliContext& context, const ConvertOptions& options, const BatchRequest& batch) {
  if (!options.name.empty()) {
    throw CLI::ValidationError("--name", "several maps are each named after their source");
  }
  if (!options.calibration.empty()) {
    throw CLI::ValidationError("--calibration", "a calibration file is for one map only");
  }
  const BatchOptions batch_options{SettingsFrom(options.flags), options.no_calibration,
                                   options.require_calibration};
  return RunConvertBatch(context, batch, batch_options);
}

// Every map the command would write, estimated; the same sources as the
// conversion, folders and skipped images included.
int DryRun(CliContext& context, const ConvertOptions& options, const BatchRequest& batch) {
  const ConversionSettings settings = SettingsFrom(options.flags);
  if (!IsBatchRequest(batch)) return PrintDryRun(context, batch.sources.front(), settings);
  int exit_code = 0;
  for (const PlannedMap& map : PlanBatch(batch).maps) {
    exit_code = std::max(exit_code, PrintDryRun(context, map.source, settings));
  }
  return exit_code;
}

}  // namespace

void AddConvertCommand(CLI::App& app, CliContext& context, int* exit_code) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* command = app.add_subcommand(
      "convert", "Convert an image into a map database: an overview and 160 x 131 tiles");
  command
      ->add_option("SOURCE", options->sources,
                   "Image (BMP, JPEG, PNG, GIF, TIFF, KAP, CAP) or a .kvm, .cal or .jpr file "
                   "naming its image; several, or folders of calibrated images, make one map "
                   "each")
      ->required();
  command->add_option("-o,--output", options->output,
                      "Map database to write (default: the image's name with .prc); for several "
                      "maps the folder they go into, created when missing");
  command->add_option("--name", options->name, "Map name (default: the image's file name)");
  CLI::Option* calibration =
      command->add_option("--calibration", options->calibration,
                          "Calibration file (or world file) to use after the image");
  AddWorldSystemFlags(command, &options->world, calibration);
  CLI::Option* no_calibration = command
                                    ->add_flag("--no-calibration", options->no_calibration,
                                               "Ignore any calibration found with the image")
                                    ->excludes(calibration);
  command
      ->add_flag("--require-calibration", options->require_calibration,
                 "Skip the sources without a calibration instead of converting them")
      ->excludes(no_calibration);
  AddConversionFlags(command, &options->flags, true);
  command->add_flag("--dry-run", options->dry_run,
                    "Print the tiles, images and estimated size of each map; write nothing");
  command->callback([&context, exit_code, options]() {
    const BatchRequest batch{options->sources, options->output, options->require_calibration};
    if (options->dry_run) {
      *exit_code = DryRun(context, *options, batch);
    } else if (IsBatchRequest(batch)) {
      *exit_code = ConvertSeveral(context, *options, batch);
    } else {
      *exit_code = Convert(context, *options);
    }
  });
}

}  // namespace kv::cli
