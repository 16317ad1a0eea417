#include "cli/conversion_flags.h"

#include "calibration/import_datum.h"
#include "cli/coord_text.h"
#include "document/world_file_system_model.h"
#include "geo/coordinate_systems.h"

namespace kv::cli {

namespace {

// Why a zone or datum cannot be taken, in the words of the option at fault.
void RefuseProblem(WorldFileSetupProblem problem, const WorldSystemFlags& flags) {
  switch (problem) {
    case WorldFileSetupProblem::kZoneWithoutBand:
      throw CLI::ValidationError(
          "--zone", "the zone " + flags.zone +
                        " has no latitude band letter, so it is not known whether it lies north "
                        "or south of the equator: add the band (C to M south, N to X north, "
                        "e.g. 18T)");
    case WorldFileSetupProblem::kZoneUnknown:
      throw CLI::ValidationError("--zone", flags.zone + " is not a zone of " + flags.system +
                                               " (a UTM zone is 1 to 60 with its band letter, "
                                               "e.g. 32U)");
    case WorldFileSetupProblem::kDatumUnknown:
      throw CLI::ValidationError("--datum", "unknown datum: " + flags.datum);
    case WorldFileSetupProblem::kDatumOfTheGrid:
      throw CLI::ValidationError("--datum", flags.system +
                                                " has its own datum; --datum is for degrees, "
                                                "UTM and MGA");
    default:
      // Other set-ups (a zoned grid without a zone) are refused by the
      // import, naming the file.
      return;
  }
}

}  // namespace

void AddWorldSystemFlags(CLI::App* command, WorldSystemFlags* flags, CLI::Option* needs) {
  CLI::Option* options[] = {
      command->add_option("--world-system", flags->system,
                          "Coordinate system of a world file: index, name or grid code"),
      command->add_option("--zone", flags->zone,
                          "UTM or MTM zone of a world file, with the UTM band letter, e.g. 32U"),
      command->add_option("--datum", flags->datum,
                          "Datum of a world file in degrees, UTM or MGA, e.g. NAD27 or "
                          "European 1950 (default WGS84)")};
  if (needs == nullptr) return;
  for (CLI::Option* option : options) option->needs(needs);
}

std::optional<WorldFileSystem> WorldSystemFrom(const WorldSystemFlags& flags) {
  if (flags.system.empty() && flags.datum.empty()) return std::nullopt;
  WorldFileSystem system{kSystemDecimalDegrees, flags.zone, std::string()};
  if (!flags.system.empty()) {
    system.system = ResolveCoordinateSystem(flags.system);
    if (system.system < 0) {
      throw CLI::ValidationError("--world-system", "unknown coordinate system: " + flags.system);
    }
  }
  if (!flags.datum.empty() && !KnownDatumCode(flags.datum, &system.datum)) {
    throw CLI::ValidationError("--datum", "unknown datum: " + flags.datum);
  }
  RefuseProblem(CheckWorldFileSetup(system), flags);
  return system;
}

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
