#ifndef KORVALE_GEO_DATUM_ALIASES_H_
#define KORVALE_GEO_DATUM_ALIASES_H_

// Other names under which datums reach us: the names other mapping programs
// write into their calibration files, and the numeric datum codes.

#include <array>
#include <string>
#include <string_view>

namespace kv {

struct DatumAlias {
  std::string_view canonical_code;
  std::string_view alias;
};

inline constexpr int kDatumAliasCount = 39;

const std::array<DatumAlias, kDatumAliasCount>& DatumAliases();

// The canonical code of the first alias row whose code or alias equals
// `name` (ignoring case), and true; otherwise `name` itself and false.
bool CanonicalDatumName(std::string_view name, std::string* canonical);

// Replaces `*name` by its canonical form: the numeric codes "1" (WGS84) and
// "102" (NAD83) first, then the alias table. Returns whether either matched.
bool NormaliseDatumName(std::string* name);

}  // namespace kv

#endif  // KORVALE_GEO_DATUM_ALIASES_H_
