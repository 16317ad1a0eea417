#ifndef KORVALE_CLI_CONVERSION_FLAGS_H_
#define KORVALE_CLI_CONVERSION_FLAGS_H_

// The conversion options kvmap commands share: colour depth, scale and
// compression.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "bitmap/conversion_context.h"

namespace kv::cli {

struct ConversionFlags {
  int depth = 16;
  std::string scale = "1/1";
  std::optional<bool> compress;  // unset: keep what the settings say
};

// --depth, --compress/--no-compress and, with `with_scale`, --scale.
void AddConversionFlags(CLI::App* command, ConversionFlags* flags, bool with_scale);

// "1/1", "1/2" or "1/4".
ScaleRatio ParseScale(const std::string& text);

// The flags applied over `settings`.
ConversionSettings SettingsFrom(const ConversionFlags& flags, ConversionSettings settings = {});

}  // namespace kv::cli

#endif  // KORVALE_CLI_CONVERSION_FLAGS_H_
