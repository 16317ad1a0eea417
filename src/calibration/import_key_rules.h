#ifndef KORVALE_CALIBRATION_IMPORT_KEY_RULES_H_
#define KORVALE_CALIBRATION_IMPORT_KEY_RULES_H_

// The "key=value" lines of ".cal", ".geo" and ".jpr" files (and the key
// lines of ".kvm" and ".cal" text as the importer sees them): corner
// positions, image name and type, datum, projection and its parameters,
// and reference points "rpN".

#include <string_view>

#include "calibration/calibration_import.h"

namespace kv {

// The key is collected from at most this many characters of a line and
// keeps at most kImportKeyLength of them.
inline constexpr std::size_t kImportKeyScanLength = 80;
inline constexpr std::size_t kImportKeyLength = 31;

// Reference point "rpN" fills slot N + `reference_slot_offset`: -1 for
// ".cal" and ".jpr" files (rp1 is the first point), 0 for ".geo" files.
void ApplyImportKeyLine(std::string_view line, int reference_slot_offset,
                        const ImportEnvironment& environment, CalibrationImport* import);

// The datum a file names (a ".map" file's datum line, a "dm" key) becomes
// the import's datum. A name the tables do not know leaves the datum as it
// was and is warned about (kUnknownDatum): the positions are still taken,
// but WGS84 may put them tens of metres off. An empty name says nothing.
void ApplyImportDatum(std::string_view name, CalibrationImport* import);

}  // namespace kv

#endif  // KORVALE_CALIBRATION_IMPORT_KEY_RULES_H_
