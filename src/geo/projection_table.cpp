#include "geo/projection_table.h"

#include "geo/text_match.h"

namespace kv {
namespace {

constexpr std::array<ProjectionRow, kProjectionCount> kProjections = {{
    {"none", "None"},
    {"aea", "Albers Equal Area"},
    {"lcc", "Lambert Conformal Conic"},
    {"LatLong", "Lat/Long (Geodetic)"},
    {"tmerc", "Transverse Mercator"},
    {"mill", "Miller Cylindrical"},
    {"utm", "Universal Transverse Mercator (UTM)"},
    {"merc", "Mercator"},
    {"nzmg", "New Zealand Map Grid (NZMG)"},
}};

// "Mercator" maps to "LatLong", not to "merc": files read so far rely on
// that, so it stays.
constexpr std::array<ProjectionAlias, kProjectionAliasCount> kAliases = {{
    {"aea", "Albers Equal Area"},
    {"lcc", "Lambert Conformal Conic"},
    {"tmerc", "Transverse Mercator"},
    {"utm", "Universal Transverse Mercator"},
    {"LatLong", "Mercator"},
}};

constexpr std::array<CalibrationKindName, kCalibrationKindNameCount> kKindNames = {{
    {0, "Lat/Long (Rectangular)"},
    {8, "Projection"},
    {14, "Known Points (Skewed)"},
    {9, "3x3 (TTQV)"},
}};

bool IsProjectionIndex(int index) { return index >= 0 && index < kProjectionCount; }

}  // namespace

const std::array<ProjectionRow, kProjectionCount>& ProjectionTable() { return kProjections; }
const std::array<ProjectionAlias, kProjectionAliasCount>& ProjectionAliases() { return kAliases; }
const std::array<CalibrationKindName, kCalibrationKindNameCount>& CalibrationKindNames() {
  return kKindNames;
}

int ProjectionRowCount() { return kProjectionCount; }

int FindProjection(std::string_view code) {
  for (int i = 0; i < kProjectionCount; ++i) {
    if (EqualsIgnoreCase(kProjections[static_cast<std::size_t>(i)].code, code)) return i;
  }
  return -1;
}

std::string_view ProjectionCode(int index) {
  return IsProjectionIndex(index) ? kProjections[static_cast<std::size_t>(index)].code
                                  : std::string_view();
}

std::string_view ProjectionDisplayName(int index) {
  return IsProjectionIndex(index) ? kProjections[static_cast<std::size_t>(index)].display_name
                                  : std::string_view();
}

bool CanonicalProjectionCode(std::string_view name, std::string* code) {
  for (const ProjectionAlias& row : kAliases) {
    if (EqualsIgnoreCase(row.code, name) || EqualsIgnoreCase(row.alias, name)) {
      *code = std::string(row.code);
      return true;
    }
  }
  *code = std::string(name);
  return false;
}

}  // namespace kv
