#ifndef KORVALE_CALIBRATION_IMPORT_DATUM_H_
#define KORVALE_CALIBRATION_IMPORT_DATUM_H_

// Datum names as other programs write them.

#include <string>
#include <string_view>

#include "geo/datum_names.h"

namespace kv {

// The code of the datum table's row a datum name another program wrote
// stands for ("Pulkovo1942" for "Pulkovo 1942 (1)", "WGS84" for "WGS 84"):
// kFound with `*code` set; kNoName when the name is empty or blank (the file
// gives no datum); kUnknown for a name no table knows, which a reader
// reports rather than taking the map for WGS84. See FindDatumByName.
[[nodiscard]] DatumNameStatus ImportDatumCode(std::string_view name, std::string* code);

// True with `*code` set when ImportDatumCode finds the name; false both for
// no name and for a name not known (ImportDatumCode tells them apart).
bool KnownDatumCode(std::string_view name, std::string* code);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORT_DATUM_H_
