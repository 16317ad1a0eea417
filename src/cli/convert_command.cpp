#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/conversion_flags.h"
#include "cli/progress_printer.h"
#include "cli/source_import.h"
#include "map/map_file.h"

namespace kv::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxMapNameLength = 31;
constexpr std::uint32_t kDefaultDocumentNameId = 1028;

struct ConvertOptions {
  std::string source;
  std::string output;
  std::string name;
  ConversionFlags flags;
};

std::string DefaultOutput(const std::string& source) {
  return fs::path(source).replace_extension(".prc").string();
}

// Import, then save: each step reports its failures with its own context.
int Convert(CliContext& context, const ConvertOptions& options) {
  ConversionSettings settings = SettingsFrom(options.flags);
  const std::string output = options.output.empty() ? DefaultOutput(options.source) : options.output;
  const std::string name = options.name.empty() ? fs::path(options.source).stem().string()
                                                : options.name;
  const std::string& base_name = context.strings.Get(kDefaultDocumentNameId);
  ProgressPrinter progress;
  CImageContainer container(base_name.empty() ? "Map" : base_name, &progress);
  int result = RunReported(context, kContextImport, [&]() {
    ImportSourceImage(container, options.source, name.substr(0, kMaxMapNameLength), settings);
  });
  if (result != 0) return result;
  return RunReported(context, kContextSave, [&]() {
    SaveMapFile(container, output, DatabaseNameFor(output), MapWriteTime());
    const CImage& overview = *container.ImageAt(0);
    std::cout << output << ": " << container.image_count() << " images, "
              << overview.bitmap().depth << " bits, " << overview.map_width() << " x "
              << overview.map_height() << " pixels, " << fs::file_size(output) << " bytes\n";
  });
}

}  // namespace

void AddConvertCommand(CLI::App& app, CliContext& context, int* exit_code) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* command = app.add_subcommand(
      "convert", "Convert an image into a map database: an overview and 160 x 131 tiles");
  command->add_option("SOURCE", options->source, "Image: BMP, JPEG, PNG, GIF, TIFF, KAP or CAP")
      ->required()
      ->check(CLI::ExistingFile);
  command->add_option("-o,--output", options->output, "Map database to write (default: SOURCE.prc)");
  command->add_option("--name", options->name, "Map name (default: SOURCE's file name)");
  AddConversionFlags(command, &options->flags, true);
  command->callback([&context, exit_code, options]() {
    *exit_code = Convert(context, *options);
  });
}

}  // namespace kv::cli
