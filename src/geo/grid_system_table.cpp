#include "geo/grid_system_table.h"

#include "geo/coordinate_systems.h"
#include "geo/datum_table.h"
#include "geo/text_match.h"

namespace kv {
namespace {

constexpr std::int32_t kUnset = kUnresolvedDatumRow;

// Defining values as published for each grid: k0, false northing, false
// easting (metres), latitude of origin and central meridian (degrees).
// "S-JTSK" has its own arithmetic (Krovak) and ignores its zeros; "MGA" is
// UTM; "MGRS", "New Zealand Grid" and "Swiss CH1903" are computed as
// Transverse Mercator with the values below, as issued.
constexpr std::array<GridSystemRow, kGridSystemRowCount> kRows = {{
    {5, 3, kUnset, "A28", "Austria A28, Gauss-Kruger", "Austria", 1, 0, 0, 0, 10.33333333},
    {6, 3, kUnset, "A31", "Austria A31, Gauss-Kruger", "Austria", 1, 0, 0, 0, 13.33333333},
    {7, 3, kUnset, "A34", "Austria A34, Gauss-Kruger", "Austria", 1, 0, 0, 0, 16.33333333},
    {8, 3, kUnset, "GK2", "Germany, Gauss Krueger Zone 2 (6 deg)", "Potsdam", 1, 0, 2500000, 0, 6},
    {9, 3, kUnset, "GK3", "Germany, Gauss Krueger Zone 3 (9 deg)", "Potsdam", 1, 0, 3500000, 0, 9},
    {10, 3, kUnset, "GK4", "Germany, Gauss Krueger Zone 4 (12 deg)", "Potsdam", 1, 0, 4500000, 0,
     12},
    {11, 3, kUnset, "GK5", "Germany, Gauss Krueger Zone 5 (15 deg)", "Potsdam", 1, 0, 5500000, 0,
     15},
    {12, 3, kUnset, "GGRS", "Greek Geodetic Reference System 1987", "EGSA87", 0.9996, 0, 500000, 0,
     24},
    {13, 3, kUnset, "IRE", "Irish Grid", "Irelnd65", 1.000035, 250000, 200000, 53.5, -8},
    {14, 3, kUnset, "ISR", "Israel Grid", "GRS80", 1, 626907.4, 219529.6, 31.734394, 35.204517},
    {15, 3, kUnset, "ISO", "Israel Grid - old", "clrk80", 1, 1126867.9, 170251.5, 31.7340969,
     35.2045169},
    {16, 1, kUnset, "MGA", "MGA - Map Grid of Australia", "GDA94", 0.9996, 0, 500000, 0, 170},
    {17, 1, kUnset, "MGRS", "MGRS - Military Grid Reference System", "WGS84", 1, 0, 0, 0, 0},
    {18, 3, kUnset, "NZL", "New Zealand Map Grid - NZMG", "GD49", 1, 6023150, 2510000, -41, 173},
    {19, 3, kUnset, "NZTM", "New Zealand Transverse Mercator 2000 - NZTM", "GRS80", 0.9996,
     10000000, 1600000, 0, 173},
    {20, 4, kUnset, "QMTM", "Quebec - MTM", "NAD83", 0.9999, 0, 304800, 0, 0},
    {21, 3, kUnset, "SW1", "Swedish Grid", "RT90", 1, 0, 1500000, 0, 15.80828},
    {22, 1, kUnset, "SWEREF99", "Swedish SWEREF99 TM", "GRS80", 0.9996, 0, 500000, 0, 15},
    {23, 1, kUnset, "CHTREF95", "Swiss CHTREF95", "GRS80", 1, 0, 1500000, 0, 15.80828},
    {24, 3, kUnset, "CH-1903", "Swiss CH1903", "bessel", 1, 200000, 600000, 46.952405, 7.439583},
    {25, 1, kUnset, "S-JTSK", "S-JTSK", "bessel", 1, 0, 0, 0, 0},
    {26, 3, kUnset, "W03", "Warschauer Pakt Zone 3", "Pulkovo1942", 1, 0, 3500000, 0, 15},
    {27, 3, kUnset, "W04", "Warschauer Pakt Zone 4", "Pulkovo1942", 1, 0, 4500000, 0, 21},
    {28, 3, kUnset, "W05", "Warschauer Pakt Zone 5", "Pulkovo1942", 1, 0, 5500000, 0, 27},
}};

}  // namespace

const std::array<GridSystemRow, kGridSystemRowCount>& GridSystemRows() { return kRows; }

int FindGridSystem(std::string_view code) {
  for (int i = 0; i < kGridSystemRowCount; ++i) {
    if (EqualsIgnoreCase(kRows[static_cast<std::size_t>(i)].code, code)) {
      return i + kFirstNationalGridSystem;
    }
  }
  return -1;
}

GridSystemTable::GridSystemTable() : rows_(kRows) {}

int GridSystemTable::RowOf(int system, GridSystemRow* row) {
  const int index = system - kFirstNationalGridSystem;
  if (index < 0 || index >= kGridSystemRowCount) return -1;
  GridSystemRow& entry = rows_[static_cast<std::size_t>(index)];
  if (entry.datum_row == kUnresolvedDatumRow) entry.datum_row = FindDatum(entry.datum);
  *row = entry;
  return 0;
}

}  // namespace kv
