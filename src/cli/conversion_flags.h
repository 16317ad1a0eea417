#ifndef KORVALE_CLI_CONVERSION_FLAGS_H_
#define KORVALE_CLI_CONVERSION_FLAGS_H_

// The conversion options kvmap commands share: colour depth, scale and
// compression.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "bitmap/conversion_context.h"
#include "calibration/calibration_import.h"

namespace kv::cli {

struct ConversionFlags {
  int depth = 16;
  std::string scale = "1/1";
  std::optional<bool> compress;  // unset: keep what the settings say
};

// What a world file's numbers are in: --world-system, --zone and --datum as
// typed.
struct WorldSystemFlags {
  std::string system;
  std::string zone;
  std::string datum;
};

// Adds the three options; each needs `needs` when one is given.
void AddWorldSystemFlags(CLI::App* command, WorldSystemFlags* flags, CLI::Option* needs = nullptr);

// The world file system the flags name: none without --world-system and
// --datum, degrees with --datum alone. Throws CLI::ValidationError naming the
// option for an unknown system or datum, a zone the system cannot read (a
// UTM zone without its band letter among them) and a datum given for a grid
// that has its own.
std::optional<WorldFileSystem> WorldSystemFrom(const WorldSystemFlags& flags);

// --depth, --compress/--no-compress and, with `with_scale`, --scale.
void AddConversionFlags(CLI::App* command, ConversionFlags* flags, bool with_scale);

// "1/1", "1/2" or "1/4".
ScaleRatio ParseScale(const std::string& text);

// The flags applied over `settings`.
ConversionSettings SettingsFrom(const ConversionFlags& flags, ConversionSettings settings = {});

}  // namespace kv::cli

#endif  // KORVALE_CLI_CONVERSION_FLAGS_H_
