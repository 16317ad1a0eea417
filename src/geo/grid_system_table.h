#ifndef KORVALE_GEO_GRID_SYSTEM_TABLE_H_
#define KORVALE_GEO_GRID_SYSTEM_TABLE_H_

// The national grids: one Transverse Mercator definition (or, for the Quebec
// MTM grid, a definition whose central meridian comes from the MTM zone
// table) per coordinate system index 5 to 28.

#include <array>
#include <cstdint>
#include <string_view>

namespace kv {

inline constexpr std::int32_t kGridKindTransverseMercator = 1;
inline constexpr std::int32_t kGridKindTransverseMercatorAlt = 3;
inline constexpr std::int32_t kGridKindMtmZones = 4;

inline constexpr int kGridSystemRowCount = 24;
inline constexpr std::int32_t kUnresolvedDatumRow = -1;

struct GridSystemRow {
  std::int32_t system;     // coordinate system index
  std::int32_t grid_kind;  // 1 or 3: one definition; 4: MTM zones
  std::int32_t datum_row;  // kUnresolvedDatumRow until first looked up
  std::string_view code;
  std::string_view table_name;
  std::string_view datum;  // code of a datum or ellipsoid row
  double scale_factor;
  double false_northing;
  double false_easting;
  double origin_latitude;   // degrees
  double central_meridian;  // degrees
};

// The rows as issued, datum rows unresolved.
const std::array<GridSystemRow, kGridSystemRowCount>& GridSystemRows();

// Coordinate system index (row + 5) of the row whose code equals `code`
// (ignoring case), or -1.
int FindGridSystem(std::string_view code);

// The grid system table as one process uses it: the datum row of each entry
// is looked up from its datum code the first time the entry is asked for,
// and kept. One object per process (or per test); not thread-safe.
class GridSystemTable {
 public:
  GridSystemTable();

  // Copies the row of coordinate system `system` into `*row` and returns 0;
  // -1 for indexes without a row (below 5 or past the table).
  int RowOf(int system, GridSystemRow* row);

 private:
  std::array<GridSystemRow, kGridSystemRowCount> rows_;
};

}  // namespace kv

#endif  // KORVALE_GEO_GRID_SYSTEM_TABLE_H_
