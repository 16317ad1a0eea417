#include "cli/coord_text.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "geo/coordinate_systems.h"
#include "geo/datum_names.h"
#include "geo/datum_table.h"
#include "geo/grid_system_table.h"
#include "geo/text_match.h"

namespace kv::cli {
namespace {

bool IsDigits(std::string_view text) {
  if (text.empty() || text.size() > 4) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Columns are padded by characters, not bytes, so that "º" lines up.
std::string Padded(std::string_view text, std::size_t width) {
  std::size_t characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  std::string result(text);
  if (characters < width) result.append(width - characters, ' ');
  return result;
}

std::string Fixed(double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

struct SystemColumns {
  std::string_view code;
  std::string_view datum;
};

SystemColumns ColumnsOf(int system) {
  if (system == kSystemUtm) return {"UTM", "-"};
  if (system == kSystemOsgb) return {"OSGB", "-"};
  if (system < kFirstNationalGridSystem) return {"-", "-"};
  const GridSystemRow& row = GridSystemRows()[static_cast<std::size_t>(system - 5)];
  return {row.code, row.datum};
}

}  // namespace

PositionTexts PositionTextsFromStrings(const StringTable& strings) {
  PositionTexts texts;
  texts.latitude_letters = strings.Get(kLatitudeLettersId);
  texts.longitude_letters = strings.Get(kLongitudeLettersId);
  texts.fraction_separator = strings.Get(kFractionSeparatorId);
  texts.negative_letters = strings.Get(kNegativeLettersId);
  if (texts.negative_letters.empty()) texts.negative_letters = kDefaultNegativeLetters;
  return texts;
}

int ResolveCoordinateSystem(std::string_view text) {
  if (IsDigits(text)) {
    const int index = std::stoi(std::string(text));
    return index < kCoordinateSystemCount ? index : -1;
  }
  for (int system = 0; system < kCoordinateSystemCount; ++system) {
    if (EqualsIgnoreCase(CoordinateSystemName(system), text)) return system;
  }
  return FindGridSystem(text);
}

int ResolveDatum(std::string_view text) {
  int row = -1;
  return FindDatumByName(text, &row) == DatumNameStatus::kFound ? row : -1;
}

bool ReadPosition(std::string_view text, std::string_view negative_letters, double* degrees) {
  return ReadPositionText(text, negative_letters, degrees) == PositionTextStatus::kRead;
}

std::string CoordinateSystemListing() {
  std::string listing;
  for (int system = 0; system < kCoordinateSystemCount; ++system) {
    const SystemColumns columns = ColumnsOf(system);
    listing += Padded(std::to_string(system), 4) + Padded(CoordinateSystemName(system), 38) +
               Padded(columns.code, 10) + std::string(columns.datum) + "\n";
  }
  return listing;
}

std::string DatumListing() {
  std::string listing;
  const auto& rows = DatumTable();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    listing += Padded(std::to_string(i), 4) + Padded(rows[i].code, 17) +
               Padded(rows[i].second, 30) + Padded(rows[i].third, 16) +
               std::string(rows[i].display_name) + "\n";
  }
  return listing;
}

std::string GridLine(const GridReference& grid, GridStatus status) {
  const int decimals = status == GridStatus::kConverted ? 3 : 9;
  return (grid.zone.empty() ? std::string("-") : grid.zone) + " " + Fixed(grid.easting, decimals) +
         " " + Fixed(grid.northing, decimals) + "\n";
}

std::string LatLonLine(LatLon position) {
  return Fixed(position.latitude, 9) + " " + Fixed(position.longitude, 9) + "\n";
}

std::string DegreesLine(double degrees) { return Fixed(degrees, 9) + "\n"; }

}  // namespace kv::cli
