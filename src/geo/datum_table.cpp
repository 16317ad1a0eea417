#include "geo/datum_table.h"

#include "geo/number_text.h"
#include "geo/text_match.h"

namespace kv {
namespace {

// Published defining values, kept as text exactly as they were issued. Some
// have a stray trailing point ("a=6378137.0."); they are read as their
// leading number.
constexpr std::array<DatumTableRow, kDatumTableRowCount> kRows = {{
    {"WGS84", "towgs84=0,0,0", "WGS84", "WGS84"},
    {"AustNat", "towgs84=0,0,0", "aust_SA", "Australian National"},
    {"Austria", "towgs84=596,87,473", "bessel", "Austria NS"},
    {"AGD66", "towgs84=-133,-48,148", "aust_SA", "Australian Geod 66"},
    {"AGD84", "towgs84=-134,-48,149", "aust_SA", "Australian Geod 84"},
    {"CH1903", "towgs84=674,15,405", "bessel", "Swiss CH-1903"},
    {"CRTNG", "towgs84=534.80,13.64,501.47", "bessel", "CRTNG Zone 1-7, 16.30"},
    {"CROATIA", "towgs84=520,-250,325", "bessel", "Croatia"},
    {"Eur1950", "towgs84=-87,-98,-121", "intl", "European 1950"},
    {"Eur1950-D", "towgs84=-84,-107,-120", "intl", "European 1950 - Spain/Portugal"},
    {"Eur1979", "towgs84=-86,-98,-119", "intl", "European 1979"},
    {"GDA94", "towgs84=0,0,0", "GRS80", "Australian Geod 94"},
    {"GD49", "towgs84=84,-22,209", "intl", "Geodetic Datum 49"},
    {"GGRS87", "towgs84=-199.87,74.79,246.62", "GRS80", "Greek Geodetic Ref 1987"},
    {"EGSA87", "towgs84=-200, 75, 246", "GRS80", "EGSA 1987"},
    {"HKong63", "towgs84=-156,-271,-189", "intl", "Hong Kong 1963"},
    {"Irelnd65", "towgs84=506,-122,611", "mod_airy", "Ireland 1965"},
    {"Kertau48", "towgs84=-11,851,5", "evrst48", "Kertau 1948"},
    {"NAD27Alaska", "towgs84=-5,135,172", "clrk66", "N American Datum 1927 - Alaska"},
    {"NAD27Bahamas", "towgs84=-4,154,178", "clrk66", "N American Datum 1927 - Bahamas"},
    {"NAD27Canada", "towgs84=-10,158,187", "clrk66", "N American Datum 1927 - Canada"},
    {"NAD27CanalZn", "towgs84=0,125,201", "clrk66", "N American Datum 1927 - Canal Zone"},
    {"NAD27Caribbn", "towgs84=-7,152,178", "clrk66", "N American Datum 1927 - Caribbean"},
    {"NAD27Cent", "towgs84=0,125,194", "clrk66", "N American Datum 1927 - Central"},
    {"NAD27CONUS", "towgs84=-8,160,176", "clrk66", "N American Datum 1927 - ConUS"},
    {"NAD27Cuba", "towgs84=-9,152,178", "clrk66", "N American Datum 1927 - Cuba"},
    {"NAD27Grnland", "towgs84=11,114,195", "clrk66", "N American Datum 1927 - Greenland"},
    {"NAD27Mexico", "towgs84=-12,130,190", "clrk66", "N American Datum 1927 - Mexico"},
    {"NAD27SanSal", "towgs84=1,140,165", "clrk66", "N American Datum 1927 - San Salvador"},
    {"NAD83", "towgs84=0,0,0", "GRS80", "North_American_Datum_1983"},
    {"NeTri21", "towgs84=578,14,459", "bessel", "Netherland Tri 21"},
    {"NTrFrance", "towgs84=-168,-60,320", "clrk80", "Nou Triag France"},
    {"NTrLux", "towgs84=-262,75,25", "intl", "Nou Triag Luxembourg"},
    {"Oman", "towgs84=-346,-1,224", "clrk80", "Oman"},
    {"OrdSrvyGrtBritn", "towgs84=375,-111,431", "airy", "Ord Srvy Grt Britn"},
    {"Portug73", "towgs84=-227,98,35", "intl", "Portuguese 1973"},
    {"Potsdam", "towgs84=587,16,393", "bessel", "Potsdam"},
    {"ProvSAm56", "towgs84=-288,175,-376", "intl", "Prov South American 56"},
    {"ProvSChln63", "towgs84=16,196,93", "intl", "Prov South Chilean 63"},
    {"PuertoRico", "towgs84=11,72,-101", "clrk66", "Puerto Rico"},
    {"Pulkovo1942", "towgs84=28,-130,-95", "krass", "Pulkovo 1942"},
    {"Rome40", "towgs84=-225,-65,9", "intl", "ROMA 1940"},
    {"Rijksdriehoek", "towgs84=593,26,478", "bessel", "Rijksdriehoek"},
    {"RT90", "towgs84=489,-36,568", "bessel", "RT90"},
    {"SoAm69", "towgs84=-57,1,-41", "SAm1969", "South American 69"},
    {"SoAsia", "towgs84=7,-10,-26", "fschr60m", "South Asia"},
    {"SEBase", "towgs84=-499,-249,314", "intl", "Southeast Base"},
    {"SWBase", "towgs84=-104,167,-38", "intl", "Southwest Base"},
    {"Tokyo", "towgs84=-128,481,664", "bessel", "Tokyo"},
    // Ellipsoids.
    {"MERIT", "a=6378137.0", "rf=298.257", "MERIT 1983"},
    {"SGS85", "a=6378136.0", "rf=298.257", "Soviet Geodetic System 85"},
    {"GRS80", "a=6378137.0", "rf=298.257222", "GRS 1980(IUGG, 1980)"},
    {"IAU76", "a=6378140.0", "rf=298.257", "IAU 1976"},
    {"airy", "a=6377563.396", "rf=299.3249646", "Airy 1830"},
    {"APL4.9", "a=6378137.0.", "rf=298.25", "Appl. Physics. 1965"},
    {"NWL9D", "a=6378145.0.", "rf=298.25", "Naval Weapons Lab., 1965"},
    {"mod_airy", "a=6377340.189", "rf=299.3249646", "Modified Airy"},
    {"andrae", "a=6377104.43", "rf=300.0", "Andrae 1876 (Den., Iclnd.)"},
    {"aust_SA", "a=6378160.0", "rf=298.25", "Australian Natl"},
    {"GRS67", "a=6378160.0", "rf=298.247167", "GRS 67(IUGG 1967)"},
    {"bessel", "a=6377397.155", "rf=299.152812", "Bessel 1841"},
    {"bess_nam", "a=6377483.865", "rf=299.152812", "Bessel 1841 (Namibia)"},
    {"clrk66", "a=6378206.4", "rf=294.9786982", "Clarke 1866"},
    {"clrk80", "a=6378249.145", "rf=293.4663", "Clarke 1880 mod."},
    {"CPM", "a=6375738.7", "rf=334.29", "Comm. des Poids et Mesures 1799"},
    {"delmbr", "a=6376428.", "rf=311.5", "Delambre 1810 (Belgium)"},
    {"engelis", "a=6378136.05", "rf=298.2566", "Engelis 1985"},
    {"evrst30", "a=6377276.345", "rf=300.8017", "Everest 1830"},
    {"evrst48", "a=6377304.063", "rf=300.8017", "Everest 1948"},
    {"evrst56", "a=6377301.243", "rf=300.8017", "Everest 1956"},
    {"evrst69", "a=6377295.664", "rf=300.8017", "Everest 1969"},
    {"evrstSS", "a=6377298.556", "rf=300.8017", "Everest (Sabah & Sarawak)"},
    {"fschr60", "a=6378166.", "rf=298.3", "Fischer (Mercury Datum) 1960"},
    {"fschr60m", "a=6378155.", "rf=298.3", "Modified Fischer 1960"},
    {"fschr68", "a=6378150.", "rf=298.3", "Fischer 1968"},
    {"helmert", "a=6378200.", "rf=298.3", "Helmert 1906"},
    {"hough", "a=6378270.0", "rf=297.", "Hough"},
    {"intl", "a=6378388.0", "rf=297.", "International 1909 (Hayford)"},
    {"krass", "a=6378245.0", "rf=298.3", "Krassovsky, 1942"},
    {"kaula", "a=6378163.", "rf=298.24", "Kaula 1961"},
    {"lerch", "a=6378139.", "rf=298.257", "Lerch 1979"},
    {"mprts", "a=6397300.", "rf=191.", "Maupertius 1738"},
    {"new_intl", "a=6378157.5", "rf=300.0", "New International 1967"},
    {"plessis", "a=6376523.", "rf=308.6401786", "Plessis 1817 (France)"},
    {"SAm1969", "a=6378160.0", "rf=298.25", "South American 1969"},
    {"SEasia", "a=6378155.0", "rf=300.0", "Southeast Asia"},
    {"walbeck", "a=6376896.0", "rf=300.0", "Walbeck"},
    {"WGS60", "a=6378165.0", "rf=298.3", "WGS 60"},
    {"WGS66", "a=6378145.0", "rf=298.25", "WGS 66"},
    {"WGS72", "a=6378135.0", "rf=298.26", "WGS 72"},
    {"WGS84", "a=6378137.0", "rf=298.257224", "WGS 84"},
    {"sphere", "a=6370997.0", "rf=300.0", "Normal Sphere (r=6370997)"},
}};

bool IsTableIndex(int index) { return index >= 0 && index < kDatumTableRowCount; }

const DatumTableRow& RowAt(int index) { return kRows[static_cast<std::size_t>(index)]; }

// "a=6378137.0." -> 6378137.0: the number after the first "=".
double ValueAfterEquals(std::string_view text) {
  const std::size_t equals = text.find('=');
  return equals == std::string_view::npos ? 0.0 : LeadingDecimal(text.substr(equals + 1));
}

int FindEllipsoid(std::string_view code) {
  for (int i = kFirstEllipsoidRow; i < kDatumTableRowCount; ++i) {
    if (EqualsIgnoreCase(RowAt(i).code, code)) return i;
  }
  return -1;
}

}  // namespace

const std::array<DatumTableRow, kDatumTableRowCount>& DatumTable() { return kRows; }

int DatumRowCount() { return kDatumTableRowCount; }

int FindDatum(std::string_view name) {
  for (int i = 0; i < kDatumTableRowCount; ++i) {
    if (EqualsIgnoreCase(RowAt(i).code, name)) return i;
  }
  return -1;
}

int DatumCode(int index, std::string_view* code) {
  if (!IsTableIndex(index) || RowAt(index).code.empty()) return kInvalidDatumIndex;
  *code = RowAt(index).code;
  return 0;
}

std::string_view DatumDisplayName(int index) {
  return IsTableIndex(index) ? RowAt(index).display_name : std::string_view();
}

int DatumInformation(int index, DatumInfo* info) {
  if (!IsTableIndex(index)) return kInvalidDatumIndex;
  const DatumTableRow& row = RowAt(index);
  const bool is_datum = index < kFirstEllipsoidRow;
  if (info != nullptr) {
    info->code = std::string(row.code);
    info->display_name = std::string(row.display_name);
    info->semi_major_axis = 0.0;
    info->inverse_flattening = 0.0;
    const int ellipsoid = is_datum ? FindEllipsoid(row.third) : index;
    if (ellipsoid >= 0) {
      info->semi_major_axis = ValueAfterEquals(RowAt(ellipsoid).second);
      info->inverse_flattening = ValueAfterEquals(RowAt(ellipsoid).third);
    }
  }
  return is_datum ? kDatumKindDatum : kDatumKindEllipsoid;
}

}  // namespace kv
