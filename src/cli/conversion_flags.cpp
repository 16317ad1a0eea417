#include "cli/conversion_flags.h"

namespace kv::cli {

void AddConversionFlags(CLI::App* command, ConversionFlags* flags, bool with_scale) {
  command->add_option("--depth", flags->depth, "Colour depth of the bitmaps in bits")
      ->check(CLI::IsMember({16, 8, 4, 2, 1}))
      ->capture_default_str();
  if (with_scale) {
    command->add_option("--scale", flags->scale, "Output pixels per source pixel")
        ->check(CLI::IsMember({"1/1", "1/2", "1/4"}))
        ->capture_default_str();
  }
  auto* on = command->add_flag_callback(
      "--compress", [flags]() { flags->compress = true; },
      "Compress each bitmap when that makes it smaller (the default)");
  auto* off = command->add_flag_callback(
      "--no-compress", [flags]() { flags->compress = false; }, "Store bitmaps uncompressed");
  on->excludes(off);
}

ScaleRatio ParseScale(const std::string& text) {
  if (text == "1/2") return ScaleRatio{1, 2};
  if (text == "1/4") return ScaleRatio{1, 4};
  return ScaleRatio{1, 1};
}

ConversionSettings SettingsFrom(const ConversionFlags& flags, ConversionSettings settings) {
  settings.colourDepth = flags.depth;
  settings.scale = ParseScale(flags.scale);
  if (flags.compress) settings.compressBitmaps = *flags.compress;
  return settings;
}

}  // namespace kv::cli
