#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/conversion_flags.h"
#include "map/map_file.h"

namespace kv::cli {

namespace {

struct RecodeOptions {
  std::string map;
  std::string output;
  ConversionFlags flags;
};

int Recode(CliContext& context, const RecodeOptions& options) {
  ConversionSettings settings;
  CImageContainer container("Map", nullptr);
  int result = RunReported(context, kContextOpen, [&]() {
    LoadMapFile(options.map, container, settings, nullptr);
  });
  if (result != 0) return result;
  // Reading made the compression setting follow the map; the flag decides.
  settings = SettingsFrom(options.flags, settings);
  result = RunReported(context, kContextColourDepth, [&]() {
    container.ReencodeImages(settings, options.flags.depth);
  });
  if (result != 0) return result;
  const std::string output = options.output.empty() ? options.map : options.output;
  return RunReported(context, kContextSave, [&]() {
    SaveMapFile(container, output, DatabaseNameFor(output), MapWriteTime());
    std::cout << output << ": " << container.image_count() << " images, " << options.flags.depth
              << " bits\n";
  });
}

}  // namespace

void AddRecodeCommand(CLI::App& app, CliContext& context, int* exit_code) {
  auto options = std::make_shared<RecodeOptions>();
  CLI::App* command = app.add_subcommand(
      "recode", "Encode every image of a map again at another colour depth or compression");
  command->add_option("MAP", options->map, "Map database (.prc)")->required();
  command->add_option("-o,--output", options->output, "Where to write (default: in place)");
  AddConversionFlags(command, &options->flags, false);
  command->get_option("--depth")->required();
  command->callback([&context, exit_code, options]() { *exit_code = Recode(context, *options); });
}

}  // namespace kv::cli
