#ifndef KORVALE_GEO_DATUM_NAMES_H_
#define KORVALE_GEO_DATUM_NAMES_H_

// Datum names as other programs write them into their calibration files
// ("Pulkovo 1942 (1)", "NAD27 CONUS", "Potsdam Rauenberg DHDN") and as
// GeoTIFF keys give them ("OSGB 1936"), looked up as rows of the datum table.

#include <array>
#include <string_view>

namespace kv {

// A name another program uses for a datum, and the code of the datum table's
// row it stands for.
struct ForeignDatumName {
  std::string_view name;
  std::string_view code;
};

inline constexpr int kForeignDatumNameCount = 50;

const std::array<ForeignDatumName, kForeignDatumNameCount>& ForeignDatumNames();

enum class DatumNameStatus {
  kFound,
  kNoName,   // the name is empty or blank: no datum was given
  kUnknown,  // a name, but of no datum the table holds
};

// The row of the datum table a datum name stands for, trying in turn: the
// numeric codes and the alias table (NormaliseDatumName), the names of
// ForeignDatumNames, the table's codes, and its display names (datums
// before ellipsoids). Names match ignoring case, apostrophes ("Geodetic
// Datum '49"), underscores for blanks and runs of blanks. A numbered variant
// ("Pulkovo 1942 (2)") that is not listed itself is the row of its name
// without the number. `*row` is set only for kFound.
[[nodiscard]] DatumNameStatus FindDatumByName(std::string_view name, int* row);

}  // namespace kv

#endif  // KORVALE_GEO_DATUM_NAMES_H_
