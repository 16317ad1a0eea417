#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/pdb_listing.h"

namespace kv::cli {

void AddPdbCommand(CLI::App& app, CliContext& context, int* exit_code) {
  struct Options {
    std::string path;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command =
      app.add_subcommand("pdb", "Validate any Palm database and list its header and entries");
  command->add_option("FILE", options->path, "Palm database (.prc or .pdb)")->required();
  command->add_flag("--json", options->json, "Print JSON instead of text");
  command->callback([&context, exit_code, options]() {
    *exit_code = RunReported(context, kContextOpen, [&]() {
      PdbListing listing;
      PdbRefusal refusal;
      if (!ListPdbFile(options->path, &listing, &refusal)) {
        // A program reading the JSON learns why as well as the person.
        if (options->json) std::cout << PdbRefusalJson(options->path, refusal);
        ThrowRefusal(options->path, refusal);
      }
      std::cout << (options->json ? PdbListingJson(listing) : PdbListingText(listing));
    });
  });
}

}  // namespace kv::cli
