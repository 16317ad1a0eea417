#include <iostream>
#include <memory>
#include <string>

#include "base/string_ids.h"
#include "cli/commands.h"
#include "cli/coord_text.h"
#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/grid_conversion.h"
#include "geo/position_text.h"
#include "geo/utm.h"

namespace kv::cli {
namespace {

// Coordinates raise no error of their own, so failures (only running out of
// memory) are reported in the general "opening the map" context, the
// nearest the language strings have.
constexpr std::uint32_t kCoordContext = kContextOpen;

// A text or zone that names no position: the work failed, as any refused
// input does, rather than a usage mistake.
constexpr int kPositionRefused = 1;

CLI::Validator SystemValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return ResolveCoordinateSystem(text) < 0 ? "unknown coordinate system: " + text
                                                 : std::string();
      },
      "SYS");
}

CLI::Validator DatumValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return ResolveDatum(text) < 0 ? "unknown datum: " + text : std::string();
      },
      "CODE");
}

CLI::Validator PositionValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        double degrees = 0.0;
        return ReadPosition(text, kDefaultNegativeLetters, &degrees)
                   ? std::string()
                   : "not a position in degrees: " + text;
      },
      "DEGREES");
}

struct GridOptions {
  std::string system;
  std::string datum = "WGS84";
  std::string zone;
  std::string first;   // LAT or EASTING
  std::string second;  // LON or NORTHING
  double easting = 0.0;
  double northing = 0.0;
};

void AddSystemAndDatum(CLI::App* command, GridOptions* options) {
  command
      ->add_option("--system", options->system,
                   "Coordinate system: index 0-28, list name or grid code (UTM, OSGB, IRE, ...)")
      ->required()
      ->check(SystemValidator());
  command
      ->add_option("--datum", options->datum,
                   "Datum whose ellipsoid UTM and MGA use (default WGS84)")
      ->check(DatumValidator());
}

void AddListCommands(CLI::App* coord, CliContext& context, int* exit_code) {
  coord->add_subcommand("systems", "List the 29 coordinate systems: index, name, code, datum")
      ->callback([&context, exit_code]() {
        *exit_code =
            RunReported(context, kCoordContext, [] { std::cout << CoordinateSystemListing(); });
      });
  coord->add_subcommand("datums", "List the 92 rows of the datum and ellipsoid table")
      ->callback([&context, exit_code]() {
        *exit_code = RunReported(context, kCoordContext, [] { std::cout << DatumListing(); });
      });
}

void AddToGridCommand(CLI::App* coord, CliContext& context, int* exit_code) {
  auto options = std::make_shared<GridOptions>();
  CLI::App* command =
      coord->add_subcommand("to-grid", "Print ZONE EASTING NORTHING of a latitude and longitude");
  AddSystemAndDatum(command, options.get());
  command->add_option("LAT", options->first, "Latitude: -33.9 or S33 54")
      ->required()
      ->check(PositionValidator());
  command->add_option("LON", options->second, "Longitude: 18.4 or E18 24")
      ->required()
      ->check(PositionValidator());
  command->callback([&context, exit_code, options]() {
    *exit_code = RunReported(context, kCoordContext, [&]() {
      const PositionTexts texts = PositionTextsFromStrings(context.strings);
      LatLon position;
      ReadPosition(options->first, texts.negative_letters, &position.latitude);
      ReadPosition(options->second, texts.negative_letters, &position.longitude);
      CoordinateContext coordinates;
      GridReference grid;
      const GridStatus status =
          LatLonToGrid(coordinates, ResolveDatum(options->datum), position,
                       ResolveCoordinateSystem(options->system), false, &grid);
      std::cout << GridLine(grid, status);
    });
  });
}

// A UTM or MGA zone must carry its band letter: without one the zone would
// be read as southern, silently thousands of kilometres from a northern map.
bool AcceptsZone(CliContext& context, int system, std::string_view zone) {
  if (system != kSystemUtm && system != kSystemMga) return true;
  if (CheckUtmZoneText(zone) == UtmZoneStatus::kValid) return true;
  std::cerr << "kvmap: the zone \"" << zone << "\" is not a UTM zone. "
            << context.strings.Get(kUtmZoneHelpString) << "\n";
  return false;
}

void AddToLatLonCommand(CLI::App* coord, CliContext& context, int* exit_code) {
  auto options = std::make_shared<GridOptions>();
  CLI::App* command = coord->add_subcommand("to-latlon", "Print LAT LON of a grid reference");
  AddSystemAndDatum(command, options.get());
  command->add_option("--zone", options->zone,
                      "UTM zone (32U), OSGB squares (TG) or MTM zone (QU8); - for none");
  command->add_option("EASTING", options->easting, "Easting in metres")->required();
  command->add_option("NORTHING", options->northing, "Northing in metres")->required();
  command->callback([&context, exit_code, options]() {
    // "-" is how to-grid prints an empty zone; accept it back.
    const std::string zone = options->zone == "-" ? std::string() : options->zone;
    if (!AcceptsZone(context, ResolveCoordinateSystem(options->system), zone)) {
      *exit_code = kPositionRefused;
      return;
    }
    *exit_code = RunReported(context, kCoordContext, [&]() {
      CoordinateContext coordinates;
      GridReference grid{zone, options->easting, options->northing};
      LatLon position;
      const int system = ResolveCoordinateSystem(options->system);
      const GridStatus status =
          GridToLatLon(coordinates, ResolveDatum(options->datum), grid, system, false, &position);
      if (status == GridStatus::kKeptInDegrees && system > 2) {
        std::cerr << "kvmap: the zone \"" << options->zone
                  << "\" or the values are not the system's; the values are read as degrees\n";
      }
      std::cout << LatLonLine(position);
    });
  });
}

void AddFormatCommand(CLI::App* coord, CliContext& context, int* exit_code) {
  struct Options {
    int system = 0;
    bool latitude = false;
    bool longitude = false;
    double value = 0.0;
    int precision = kFullPrecision;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = coord->add_subcommand("format", "Print a latitude or longitude as text");
  command->add_option("--system", options->system, "0 DD MM.mmmm, 1 DD MM SS, 2 DD.dddd")
      ->required()
      ->check(CLI::Range(0, 2));
  CLI::Option* lat = command->add_flag("--lat", options->latitude, "The value is a latitude");
  CLI::Option* lon = command->add_flag("--lon", options->longitude, "The value is a longitude");
  lat->excludes(lon);
  command->add_option("VALUE", options->value, "Decimal degrees")->required();
  command
      ->add_option("--precision", options->precision,
                   "Digits to keep (default: all; 32768 and above: all)")
      ->check(CLI::Range(0, 0xFFFF));
  command->callback([&context, exit_code, options]() {
    if (!options->latitude && !options->longitude) {
      throw CLI::RequiredError("--lat or --lon");
    }
    *exit_code = RunReported(context, kCoordContext, [&]() {
      const PositionAxis axis =
          options->latitude ? PositionAxis::kLatitude : PositionAxis::kLongitude;
      std::cout << FormatPosition(PositionTextsFromStrings(context.strings), options->value, axis,
                                  options->system, options->precision)
                << "\n";
    });
  });
}

void AddParseCommand(CLI::App* coord, CliContext& context, int* exit_code) {
  struct Options {
    std::string text;
    std::string letters;
    bool letters_given = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command =
      coord->add_subcommand("parse", "Print the decimal degrees of a position text");
  command->add_option("TEXT", options->text, "Position such as \"N47 30.5\" or -8.25")->required();
  CLI::Option* letters = command->add_option(
      "--letters", options->letters, "Letters that make the position negative (default SWsw)");
  command->callback([&context, exit_code, options, letters]() {
    const std::string set = letters->count() > 0
                                ? options->letters
                                : PositionTextsFromStrings(context.strings).negative_letters;
    double degrees = 0.0;
    if (!ReadPosition(options->text, set, &degrees)) {
      std::cerr << "kvmap: not a position in degrees: \"" << options->text << "\"\n";
      *exit_code = kPositionRefused;
      return;
    }
    *exit_code = RunReported(context, kCoordContext, [&]() { std::cout << DegreesLine(degrees); });
  });
}

}  // namespace

void AddCoordCommand(CLI::App& app, CliContext& context, int* exit_code) {
  CLI::App* coord = app.add_subcommand(
      "coord", "Coordinate systems: list them, convert positions, format and parse texts");
  coord->require_subcommand(1);
  AddListCommands(coord, context, exit_code);
  AddToGridCommand(coord, context, exit_code);
  AddToLatLonCommand(coord, context, exit_code);
  AddFormatCommand(coord, context, exit_code);
  AddParseCommand(coord, context, exit_code);
}

}  // namespace kv::cli
