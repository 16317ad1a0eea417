#ifndef KORVALE_CLI_DRY_RUN_REPORT_H_
#define KORVALE_CLI_DRY_RUN_REPORT_H_

// `kvmap convert --dry-run`: the map a conversion would write, estimated
// and printed, and nothing written.

#include <string>

#include "bitmap/conversion_context.h"
#include "cli/cli_context.h"

namespace kv::cli {

// Prints the tiles, images and size of the map `source` would make with
// `settings`. Exit code 0; 1 when the source fails or the map would hold
// more images than a map may (the conversion would then fail too).
int PrintDryRun(CliContext& context, const std::string& source, const ConversionSettings& settings);

}  // namespace kv::cli

#endif  // KORVALE_CLI_DRY_RUN_REPORT_H_
