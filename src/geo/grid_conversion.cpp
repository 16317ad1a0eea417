#include "geo/grid_conversion.h"

#include <cmath>

#include "geo/coordinate_systems.h"
#include "geo/datum_shift.h"
#include "geo/krovak.h"
#include "geo/mtm_zones.h"
#include "geo/osgb.h"
#include "geo/transverse_mercator.h"
#include "geo/utm.h"

namespace kv {
namespace {

GridStatus KeepInDegrees(LatLon position, GridReference* grid, GridStatus status) {
  grid->zone.clear();
  grid->northing = position.latitude;
  grid->easting = position.longitude;
  return status;
}

GridStatus ReadAsDegrees(const GridReference& grid, LatLon* position, GridStatus status) {
  position->latitude = grid.northing;
  position->longitude = grid.easting;
  return status;
}

TransverseMercatorParameters ParametersOf(const GridSystemRow& row) {
  return {row.scale_factor, row.false_northing, row.false_easting, row.origin_latitude,
          row.central_meridian};
}

GridStatus TableGridForward(CoordinateContext& context, const GridSystemRow& row, LatLon position,
                            GridReference* grid) {
  TransverseMercatorParameters parameters = ParametersOf(row);
  std::string zone;
  if (row.grid_kind == kGridKindMtmZones) {
    const int index = MtmZoneOfLongitude(position.longitude);
    if (index < 0) return KeepInDegrees(position, grid, GridStatus::kKeptInDegrees);
    const MtmZone& mtm = MtmZones()[static_cast<std::size_t>(index)];
    parameters.central_meridian = mtm.central_meridian;
    zone = std::string(mtm.name);
  }
  const GridPoint point =
      TransverseMercatorForward(context.ellipsoids, row.datum_row, parameters, position);
  grid->zone = std::move(zone);
  grid->northing = point.northing;
  grid->easting = point.easting;
  return GridStatus::kConverted;
}

GridStatus TableGridInverse(CoordinateContext& context, const GridSystemRow& row,
                            const GridReference& grid, LatLon* position) {
  TransverseMercatorParameters parameters = ParametersOf(row);
  if (row.grid_kind == kGridKindMtmZones) {
    const int index = FindMtmZone(grid.zone);
    if (index < 0) return ReadAsDegrees(grid, position, GridStatus::kKeptInDegrees);
    parameters.central_meridian = MtmZones()[static_cast<std::size_t>(index)].central_meridian;
  }
  *position = TransverseMercatorInverse(context.ellipsoids, row.datum_row, parameters,
                                        {grid.northing, grid.easting});
  return GridStatus::kConverted;
}

}  // namespace

GridStatus LatLonToGrid(CoordinateContext& context, int datum_row, LatLon position, int system,
                        bool from_wgs84, GridReference* grid) {
  if (system < 0 || system >= kCoordinateSystemCount) {
    return KeepInDegrees(position, grid, GridStatus::kUnknownSystem);
  }
  if (system <= kSystemDecimalDegrees)
    return KeepInDegrees(position, grid, GridStatus::kKeptInDegrees);
  // Non-finite input would reach integer conversions of zones and squares.
  if (!std::isfinite(position.latitude) || !std::isfinite(position.longitude)) {
    return KeepInDegrees(position, grid, GridStatus::kKeptInDegrees);
  }
  LatLon local = position;
  if (from_wgs84 && datum_row > 0) local = ShiftDatum(position, 0, datum_row);

  if (system == kSystemUtm || system == kSystemMga) {
    const UtmReference utm = UtmForward(ShapeOf(context.ellipsoids.OfDatum(datum_row)), local);
    grid->zone = utm.zone;
    grid->northing = utm.point.northing;
    grid->easting = utm.point.easting;
    return GridStatus::kConverted;
  }
  if (system == kSystemOsgb) {
    OsgbReference osgb;
    if (!OsgbForward(local, &osgb))
      return KeepInDegrees(position, grid, GridStatus::kKeptInDegrees);
    grid->zone = osgb.letters;
    grid->northing = osgb.point.northing;
    grid->easting = osgb.point.easting;
    return GridStatus::kConverted;
  }
  if (system == kSystemSJtsk) {
    // Easting = Y and northing = X, both positive as computed (not the
    // negated EPSG:5514 pair), so that the larger X reads as the northing.
    const KrovakPoint krovak = KrovakForward(local);
    grid->zone.clear();
    grid->easting = krovak.y;
    grid->northing = krovak.x;
    return GridStatus::kConverted;
  }
  GridSystemRow row;
  context.grid_systems.RowOf(system, &row);
  return TableGridForward(context, row, local, grid);
}

GridStatus GridToLatLon(CoordinateContext& context, int datum_row, const GridReference& grid,
                        int system, bool to_wgs84, LatLon* position) {
  if (system < 0 || system >= kCoordinateSystemCount) {
    return ReadAsDegrees(grid, position, GridStatus::kUnknownSystem);
  }
  if (system <= kSystemDecimalDegrees)
    return ReadAsDegrees(grid, position, GridStatus::kKeptInDegrees);

  LatLon local;
  GridStatus status = GridStatus::kConverted;
  const GridPoint point = {grid.northing, grid.easting};
  if (system == kSystemUtm || system == kSystemMga) {
    if (!UtmInverse(ShapeOf(context.ellipsoids.OfDatum(datum_row)), grid.zone, point, &local)) {
      return ReadAsDegrees(grid, position, GridStatus::kKeptInDegrees);
    }
  } else if (system == kSystemOsgb) {
    if (!OsgbInverse(grid.zone, point, &local)) {
      return ReadAsDegrees(grid, position, GridStatus::kKeptInDegrees);
    }
  } else if (system == kSystemSJtsk) {
    KrovakPoint krovak;
    if (!KrovakPointOfGrid(point, &krovak)) {
      return ReadAsDegrees(grid, position, GridStatus::kKeptInDegrees);
    }
    local = KrovakInverse(krovak);
  } else {
    GridSystemRow row;
    context.grid_systems.RowOf(system, &row);
    status = TableGridInverse(context, row, grid, &local);
    if (status != GridStatus::kConverted) return ReadAsDegrees(grid, position, status);
  }
  *position = (to_wgs84 && datum_row > 0) ? ShiftDatum(local, datum_row, 0) : local;
  return status;
}

}  // namespace kv
