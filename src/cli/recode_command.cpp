#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/conversion_flags.h"
#include "cli/document_session.h"

namespace kv::cli {

namespace {

struct RecodeOptions {
  std::string map;
  std::string output;
  ConversionFlags flags;
};

// Re-opens the map as a document, runs its colour depth command over every
// entry with the compression the flags ask for, and saves in place or as
// the output.
int Recode(CliContext& context, const RecodeOptions& options) {
  DocumentSession session(context);
  CDocument* document = session.OpenMap(options.map);
  if (document == nullptr) return 1;
  // Compression is on unless --no-compress says otherwise, whatever the map
  // was stored with.
  const bool compress = options.flags.compress.value_or(true);
  if (compress != session.app().settings.compressBitmaps) {
    if (document->SetCompression(compress) != 0) return 1;
  }
  if (document->SetColourDepth(options.flags.depth) != 0) return 1;
  // Relative to the working folder, not to the map's.
  const int result = options.output.empty()
                         ? document->Save()
                         : document->SaveAs(std::filesystem::absolute(options.output).string());
  if (result != 0) return 1;
  const std::string& written = options.output.empty() ? options.map : options.output;
  std::cout << written << ": " << document->container().image_count() << " images, "
            << options.flags.depth << " bits\n";
  return 0;
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
