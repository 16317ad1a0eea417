#include "geo/datum_aliases.h"

#include "geo/text_match.h"

namespace kv {
namespace {

// Some canonical codes ("NAD27", "Geo49") have no row in the datum table;
// they are kept as issued.
constexpr std::array<DatumAlias, kDatumAliasCount> kAliases = {{
    {"NAD27", "NAD 27"},
    {"NAD83", "NAD 83"},
    {"WGS84", "WGS 84"},
    {"AGD66", "Australian Geodetic 1966"},
    {"AGD84", "Australian Geodetic 1984"},
    {"clrk80", "Clarke 1880"},
    {"clrk80", "Clarke 1880 mod"},
    {"Eur1950", "European 1950 (Mean)"},
    {"Eur1950", "European 1950 (Western)"},
    {"Eur1950", "European 1950 (Cyprus)"},
    {"Eur1950", "European 1950 (Egypt)"},
    {"Eur1950", "European 1950 (England)"},
    {"Eur1950", "European 1950 (Greece)"},
    {"Eur1950", "European 1950 (Iran)"},
    {"Eur1950", "European 1950 Sardinia"},
    {"Eur1950", "European 1950 Sicily"},
    {"Eur1950", "European 1950 (Malta)"},
    {"Eur1950", "European 1950 (Norway Finland)"},
    {"Eur1950", "European 1950 (Portugal Spain)"},
    {"Irelnd65", "Ireland 1965"},
    {"OrdSrvyGrtBritn", "Ord Surv of Gr Britain 1936 (Mean)"},
    {"OrdSrvyGrtBritn", "Ord Surv of Gr Britain 1936 (England)"},
    {"OrdSrvyGrtBritn", "Ord Surv of Gr Britain 1936 (Isle of Man)"},
    {"OrdSrvyGrtBritn", "Ord Surv of Gr Britain 1936 (Scotland-Shetland)"},
    {"OrdSrvyGrtBritn", "Ord Surv of Gr Britain 1936 (Wales)"},
    {"SoAm69", "South American 1969 (Mean)"},
    {"SoAm69", "South American 1969 (Argentina)"},
    {"SoAm69", "South American 1969 (Bolivia)"},
    {"SoAm69", "South American 1969 (Brazil)"},
    {"SoAm69", "South American 1969 (Chile)"},
    {"SoAm69", "South American 1969 (Columbia)"},
    {"SoAm69", "South American 1969 (Ecuador)"},
    {"SoAm69", "South American 1969 (Baltra-Galapagos)"},
    {"SoAm69", "South American 1969 (Guyana)"},
    {"SoAm69", "South American 1969 (Paraguay)"},
    {"SoAm69", "South American 1969 (Peru)"},
    {"SoAm69", "South American 1969 (Trinidad-Tobago)"},
    {"SoAm69", "South American 1969 (Venezuela)"},
    {"Geo49", "Geodetic Datum 1949"},
}};

struct NumericDatumCode {
  std::string_view number;
  std::string_view code;
};

constexpr std::array<NumericDatumCode, 2> kNumericCodes = {{{"1", "WGS84"}, {"102", "NAD83"}}};

}  // namespace

const std::array<DatumAlias, kDatumAliasCount>& DatumAliases() { return kAliases; }

bool CanonicalDatumName(std::string_view name, std::string* canonical) {
  for (const DatumAlias& row : kAliases) {
    if (EqualsIgnoreCase(row.canonical_code, name) || EqualsIgnoreCase(row.alias, name)) {
      *canonical = std::string(row.canonical_code);
      return true;
    }
  }
  *canonical = std::string(name);
  return false;
}

bool NormaliseDatumName(std::string* name) {
  bool found = false;
  for (const NumericDatumCode& numeric : kNumericCodes) {
    if (*name == numeric.number) {
      *name = std::string(numeric.code);
      found = true;
      break;
    }
  }
  std::string canonical;
  if (CanonicalDatumName(*name, &canonical)) {
    *name = std::move(canonical);
    found = true;
  }
  return found;
}

}  // namespace kv
