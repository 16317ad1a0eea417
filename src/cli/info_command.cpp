#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/map_listing.h"

namespace kv::cli {

void AddInfoCommand(CLI::App& app, CliContext& context, int* exit_code) {
  struct Options {
    std::string path;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command =
      app.add_subcommand("info", "List a map database: header, resources, images, map metadata");
  command->add_option("MAP", options->path, "Map database (.prc)")->required();
  command->add_flag("--json", options->json, "Print JSON instead of text");
  command->callback([&context, exit_code, options]() {
    *exit_code = RunReported(context, kContextOpen, [&]() {
      MapListing listing;
      ReadMapListing(options->path, &listing);
      std::cout << (options->json ? MapListingJson(listing) : MapListingText(listing));
    });
  });
}

}  // namespace kv::cli
