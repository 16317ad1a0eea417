#include "document/calibration_captions.h"

#include "document/calibration_controls.h"
#include "document/document_texts.h"
#include "document/language_texts.h"

namespace kv {

std::vector<CaptionString> ModeCaptions(int mode, bool zoned_grid) {
  using namespace calib;
  switch (mode) {
    case 0:
      return {{kFirstLatitudeLabel, zoned_grid ? 2058u : 2035u, kFirstLatitude},
              {kFirstLongitudeLabel, zoned_grid ? 2069u : 2036u, kFirstLongitude},
              {kSecondLatitudeLabel, zoned_grid ? 2070u : 2037u, kSecondLatitude},
              {kSecondLongitudeLabel, zoned_grid ? 2071u : 2038u, kSecondLongitude}};
    case 1:
      return {{kFirstLatitudeLabel, zoned_grid ? 2072u : 2039u, kFirstLongitude},
              {kFirstLongitudeLabel, zoned_grid ? 2073u : 2040u, kFirstLatitude},
              {kSecondLatitudeLabel, 2041u, kSecondLongitude},
              {kSecondLongitudeLabel, 2042u, kSecondLatitude}};
    default:
      return {{kPointLatitudeLabel, zoned_grid ? 2077u : 2075u, kPointLatitude},
              {kPointLongitudeLabel, zoned_grid ? 2076u : 2074u, kPointLongitude}};
  }
}

std::string KindNameText(const StringTable& strings, int kind_index) {
  if (kind_index < 0) return {};
  return DocumentText(strings, kFirstKindNameId + static_cast<std::uint32_t>(kind_index));
}

std::uint32_t HelpLineString(int control, int mode) {
  const bool centre = mode == 1;
  switch (control) {
    case 1019:
      return centre ? 2040 : 2011;
    case 1020:
      return centre ? 2039 : 2010;
    case 1021:
      return centre ? 2042 : 2013;
    case 1022:
      return centre ? 2041 : 2012;
    case 1055:
      return centre ? 0 : 2067;
    case 1057:
      return centre ? 2068 : 2066;
    case 1011:
      return 2033;
    case 1012:
      return 2034;
    case 1013:
      return 2032;
    case 1015:
      return 2018;
    case 1027:
      return 2030;
    case 1028:
      return 2029;
    case 1030:
      return 2019;
    case 1033:
      return 2020;
    case 1035:
      return 2021;
    case 1037:
      return 2022;
    case 1039:
      return 2023;
    case 1041:
      return 2031;
    case 1043:
      return 2015;
    case 1045:
      return 2014;
    case 1046:
      return 2016;
    case 1048:
      return 2017;
    case 1051:  // the point number and zone under their older identifiers
    case 2002:
      return 2025;
    case 1059:
    case 1053:
      return 2078;
    case 2000:
      return 2026;
    case 2001:
      return 2027;
    case 2004:
      return 2028;
    case 2008:
      return 2024;
    default:
      return 0;
  }
}

}  // namespace kv
