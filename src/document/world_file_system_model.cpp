#include "document/world_file_system_model.h"

#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
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

WorldFileSetupProblem CheckZone(const WorldFileSystem& system) {
  if (!WorldFileSystemNeedsZone(system.system)) return WorldFileSetupProblem::kNone;
  if (system.zone.empty()) return WorldFileSetupProblem::kZoneMissing;
  if (IsUtmSystem(system.system)) {
    switch (CheckUtmZoneText(system.zone)) {
      case UtmZoneStatus::kValid:
        return WorldFileSetupProblem::kNone;
      case UtmZoneStatus::kNoBandLetter:
        return WorldFileSetupProblem::kZoneWithoutBand;
      default:
        return WorldFileSetupProblem::kZoneUnknown;
    }
  }
  return FindMtmZone(system.zone) >= 0 ? WorldFileSetupProblem::kNone
                                       : WorldFileSetupProblem::kZoneUnknown;
}

WorldFileSetupProblem CheckDatum(const WorldFileSystem& system) {
  if (system.datum.empty()) return WorldFileSetupProblem::kNone;
  const int row = FindDatum(system.datum);
  if (row < 0 || row >= kFirstEllipsoidRow) return WorldFileSetupProblem::kDatumUnknown;
  if (!WorldFileSystemTakesDatum(system.system)) {
    return WorldFileSetupProblem::kDatumOfTheGrid;
  }
  return WorldFileSetupProblem::kNone;
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
  return CheckWorldFileSetup(system) == WorldFileSetupProblem::kNone;
}

WorldFileSetupProblem CheckWorldFileSetup(const WorldFileSystem& system) {
  if (system.system < kFirstWorldFileSystem || system.system >= kCoordinateSystemCount) {
    return WorldFileSetupProblem::kUnknownSystem;
  }
  const WorldFileSetupProblem zone = CheckZone(system);
  return zone != WorldFileSetupProblem::kNone ? zone : CheckDatum(system);
}

bool WorldFileSystemTakesDatum(int system) {
  return (system >= 0 && system <= kSystemDecimalDegrees) || IsUtmSystem(system);
}

std::vector<std::string_view> WorldFileDatumEntries() {
  std::vector<std::string_view> entries;
  for (int row = 0; row < kFirstEllipsoidRow; ++row) entries.push_back(DatumDisplayName(row));
  return entries;
}

int WorldFileDatumEntryOf(std::string_view datum_code) {
  if (datum_code.empty()) return kWgs84DatumRow;
  const int row = FindDatum(datum_code);
  return row >= 0 && row < kFirstEllipsoidRow ? row : kWgs84DatumRow;
}

std::string WorldFileDatumCode(int entry) {
  std::string_view code;
  if (entry <= kWgs84DatumRow || entry >= kFirstEllipsoidRow || DatumCode(entry, &code) != 0) {
    return std::string();
  }
  return std::string(code);
}

WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone,
                                      const WorldFileSystem& stored) {
  return AcceptWorldFileSystem(entry, zone, kWgs84DatumRow, stored);
}

WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone, int datum_entry,
                                      const WorldFileSystem& stored) {
  if (entry == kNoWorldFileEntry) return stored;
  WorldFileSystem chosen{entry + kFirstWorldFileSystem, std::string(), std::string()};
  if (WorldFileSystemTakesDatum(chosen.system)) chosen.datum = WorldFileDatumCode(datum_entry);
  // Typed into the dialog, "32u" means band U like "32U"; only calibration
  // files give a lower-case band its southern meaning.
  if (WorldFileSystemNeedsZone(chosen.system)) {
    for (char c : zone)
      chosen.zone += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return WorldFileSetupAccepts(chosen) ? chosen : stored;
}

}  // namespace kv
