#ifndef KORVALE_CALIBRATION_IMPORT_DATUM_H_
#define KORVALE_CALIBRATION_IMPORT_DATUM_H_

// Datum names as other programs write them.

#include <string>
#include <string_view>

namespace kv {

// The canonical code of a datum name another program wrote ("WGS 84" is
// "WGS84"), and true, when the alias table or the datum table knows it.
bool KnownDatumCode(std::string_view name, std::string* code);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORT_DATUM_H_
