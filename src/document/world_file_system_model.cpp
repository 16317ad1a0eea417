#include "document/world_file_system_model.h"

#include <cctype>

#include "geo/coordinate_systems.h"
#include "geo/ellipsoid.h"
#include "geo/grid_system_table.h"
#include "geo/mtm_zones.h"
#include "geo/utm.h"

namespace kv {

namespace {

bool IsMtmSystem(int system) {
  for (const GridSystemRow& row : GridSystemRows()) {
    if (row.system == system) return row.grid_kind == kGridKindMtmZones;
  }
  return false;
}

bool IsUtmSystem(int system) { return system == kSystemUtm || system == kSystemMga; }

// A zone number from 1 to 60 with its band letter. A zone without one (or
// with a lower-case one) would silently be read as southern.
bool NamesUtmZone(std::string_view zone) {
  bool has_band = false;
  for (char c : zone) has_band = has_band || (c >= 'A' && c <= 'Z');
  LatLon ignored;
  return has_band && UtmInverse(ShapeOf(kWgs84Ellipsoid), zone, {}, &ignored);
}

}  // namespace

std::vector<std::string_view> WorldFileSystemEntries() {
  std::vector<std::string_view> entries;
  for (int system = kFirstWorldFileSystem; system < kCoordinateSystemCount; ++system) {
    entries.push_back(CoordinateSystemName(system));
  }
  return entries;
}

int WorldFileEntryOf(int stored_system) {
  if (stored_system < kFirstWorldFileSystem || stored_system >= kCoordinateSystemCount) {
    return kNoWorldFileEntry;
  }
  return stored_system - kFirstWorldFileSystem;
}

bool WorldFileSystemNeedsZone(int system) { return IsUtmSystem(system) || IsMtmSystem(system); }

bool WorldFileSetupAccepts(const WorldFileSystem& system) {
  if (system.system < kFirstWorldFileSystem || system.system >= kCoordinateSystemCount) {
    return false;
  }
  if (IsUtmSystem(system.system)) return NamesUtmZone(system.zone);
  if (IsMtmSystem(system.system)) return FindMtmZone(system.zone) >= 0;
  return true;
}

WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone,
                                      const WorldFileSystem& stored) {
  if (entry == kNoWorldFileEntry) return stored;
  WorldFileSystem chosen{entry + kFirstWorldFileSystem, std::string()};
  // Typed into the dialog, "32u" means band U like "32U"; only calibration
  // files give a lower-case band its southern meaning.
  if (WorldFileSystemNeedsZone(chosen.system)) {
    for (char c : zone)
      chosen.zone += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return WorldFileSetupAccepts(chosen) ? chosen : stored;
}

}  // namespace kv
