#include "geo/datum_names.h"

#include <string>

#include "geo/datum_aliases.h"
#include "geo/datum_table.h"

namespace kv {
namespace {

// OziExplorer's names of the datums the table holds, EPSG's datum names as
// GeoTIFF files carry them, and the alias table's canonical codes that have
// no row of their own ("NAD27": the conterminous United States row, whose
// shift is EPSG's NAD27 to WGS 84 (4)).
constexpr std::array<ForeignDatumName, kForeignDatumNameCount> kNames = {{
    {"NAD27", "NAD27CONUS"},
    {"Geo49", "GD49"},
    {"NAD27 Alaska", "NAD27Alaska"},
    {"NAD27 Bahamas", "NAD27Bahamas"},
    {"NAD27 Canada", "NAD27Canada"},
    {"NAD27 Canal Zone", "NAD27CanalZn"},
    {"NAD27 Caribbean", "NAD27Caribbn"},
    {"NAD27 Central", "NAD27Cent"},
    {"NAD27 CONUS", "NAD27CONUS"},
    {"NAD27 Cuba", "NAD27Cuba"},
    {"NAD27 Greenland", "NAD27Grnland"},
    {"NAD27 Mexico", "NAD27Mexico"},
    {"NAD27 San Salvador", "NAD27SanSal"},
    {"North American Datum 1927", "NAD27CONUS"},
    {"North American Datum 1983", "NAD83"},
    {"Austrian", "Austria"},
    {"Militar-Geographische Institut", "Austria"},
    {"CH-1903", "CH1903"},
    {"European 1950 (Mean France)", "Eur1950"},
    {"European 1950 (Spain and Portugal)", "Eur1950-D"},
    {"European Datum 1950", "Eur1950"},
    {"European Datum 1979", "Eur1979"},
    {"Australian Geocentric 1994 (GDA94)", "GDA94"},
    {"Geocentric Datum of Australia 1994", "GDA94"},
    {"Australian Geodetic Datum 1966", "AGD66"},
    {"Australian Geodetic Datum 1984", "AGD84"},
    {"NZGD1949", "GD49"},
    {"New Zealand Geodetic Datum 1949", "GD49"},
    {"GGRS 87", "GGRS87"},
    {"Greek Geodetic Reference System 1987", "GGRS87"},
    {"TM65", "Irelnd65"},
    {"Kertau 1968", "Kertau48"},
    {"NTF France", "NTrFrance"},
    {"Nouvelle Triangulation Francaise", "NTrFrance"},
    {"Fahud", "Oman"},
    {"OSGB 1936", "OrdSrvyGrtBritn"},
    {"Potsdam Rauenberg DHDN", "Potsdam"},
    {"Deutsches Hauptdreiecksnetz", "Potsdam"},
    {"DHDN", "Potsdam"},
    {"Prov So Amrican 1956", "ProvSAm56"},
    {"Provisional South American Datum 1956", "ProvSAm56"},
    {"Prov So Chilean 1963", "ProvSChln63"},
    {"Provisional South Chilean 1963", "ProvSChln63"},
    {"Rome 1940", "Rome40"},
    {"Monte Mario", "Rome40"},
    {"Rijksdriehoeksmeting", "Rijksdriehoek"},
    {"Amersfoort", "Rijksdriehoek"},
    {"RT 90", "RT90"},
    {"South American 1969", "SoAm69"},
    {"South American Datum 1969", "SoAm69"},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '_'; }

// The form names are compared in: lower case, no apostrophes, one blank
// between words.
std::string NameKey(std::string_view name) {
  std::string key;
  bool blank = false;
  for (char c : name) {
    if (c == '\'') continue;
    if (IsBlank(c)) {
      blank = !key.empty();
      continue;
    }
    if (blank) key += ' ';
    blank = false;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

int FindByDisplayName(const std::string& key) {
  for (int row = 0; row < kDatumTableRowCount; ++row) {
    if (NameKey(DatumDisplayName(row)) == key) return row;
  }
  return -1;
}

int FindByForeignName(const std::string& key) {
  for (const ForeignDatumName& entry : kNames) {
    if (NameKey(entry.name) == key) return FindDatum(entry.code);
  }
  return -1;
}

int FindListedName(std::string_view name) {
  std::string canonical(name);
  NormaliseDatumName(&canonical);
  if (const int row = FindDatum(canonical); row >= 0) return row;
  const std::string canonical_key = NameKey(canonical);
  if (const int row = FindByForeignName(canonical_key); row >= 0) return row;
  const std::string key = NameKey(name);
  if (const int row = FindByForeignName(key); row >= 0) return row;
  for (int row = 0; row < kDatumTableRowCount; ++row) {
    std::string_view code;
    if (DatumCode(row, &code) == 0 && NameKey(code) == key) return row;
  }
  return FindByDisplayName(key);
}

// "Pulkovo 1942 (2)" without its " (2)"; the name itself when it carries no
// number in brackets at its end.
std::string_view WithoutVariantNumber(std::string_view name) {
  while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
  if (name.size() < 3 || name.back() != ')') return name;
  std::size_t open = name.size() - 1;
  while (open > 0 && name[open - 1] >= '0' && name[open - 1] <= '9') --open;
  if (open == 0 || open == name.size() - 1 || name[open - 1] != '(') return name;
  return name.substr(0, open - 1);
}

}  // namespace

const std::array<ForeignDatumName, kForeignDatumNameCount>& ForeignDatumNames() { return kNames; }

DatumNameStatus FindDatumByName(std::string_view name, int* row) {
  if (NameKey(name).empty()) return DatumNameStatus::kNoName;
  int found = FindListedName(name);
  if (found < 0) {
    const std::string_view base = WithoutVariantNumber(name);
    if (base.size() != name.size() && !NameKey(base).empty()) found = FindListedName(base);
  }
  if (found < 0) return DatumNameStatus::kUnknown;
  *row = found;
  return DatumNameStatus::kFound;
}

}  // namespace kv
