#ifndef KORVALE_DOCUMENT_WORLD_FILE_SYSTEM_MODEL_H_
#define KORVALE_DOCUMENT_WORLD_FILE_SYSTEM_MODEL_H_

// The question before a world file import: which coordinate system its
// numbers are in. A world file holds plain numbers, so the two degree
// notations with minutes are not offered; the list starts at decimal
// degrees. UTM, MGA and the Quebec MTM grid also need the zone the numbers
// belong to.

#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_import.h"

namespace kv {

// The coordinate system of the list's first entry.
inline constexpr int kFirstWorldFileSystem = 2;

// The list's texts: the coordinate system names from decimal degrees on.
std::vector<std::string_view> WorldFileSystemEntries();

// The entry shown on opening: the stored system's, or none
// (kNoWorldFileEntry) when the stored one is not in the list.
inline constexpr int kNoWorldFileEntry = -1;
int WorldFileEntryOf(int stored_system);

// Whether the system's grid positions need a zone text.
bool WorldFileSystemNeedsZone(int system);

// Whether a world file can be read in `system`: a system of the list, with
// a zone that names a UTM zone (1 to 60, band letter) or an MTM zone where
// the system needs one.
bool WorldFileSetupAccepts(const WorldFileSystem& system);

// Why a set-up cannot be read, for the message that tells the user.
enum class WorldFileSetupProblem {
  kNone,
  kUnknownSystem,    // not a system of the list
  kZoneMissing,      // a zoned grid without a zone
  kZoneWithoutBand,  // a UTM or MGA zone number without its latitude band ("18")
  kZoneUnknown,      // a zone text that names no zone of the grid
  kDatumUnknown,     // a datum code the datum table does not have
  kDatumOfTheGrid,   // a datum named for a grid that has its own
};
WorldFileSetupProblem CheckWorldFileSetup(const WorldFileSystem& system);

// Whether the numbers of `system` can be in a datum the user names: the
// degree notations, UTM and MGA. The national grids (OSGB among them) are
// defined on their own datum.
bool WorldFileSystemTakesDatum(int system);

// The datum list: the datum rows' display names, WGS84 first. The entry of
// a stored datum code (an empty code is WGS84's entry 0) and the code of an
// entry.
std::vector<std::string_view> WorldFileDatumEntries();
int WorldFileDatumEntryOf(std::string_view datum_code);
std::string WorldFileDatumCode(int entry);

// OK: the stored system becomes the chosen entry's, with the zone in
// capitals, when one is chosen and the set-up accepts it; otherwise it stays
// as it was. A datum entry other than WGS84's is kept for the systems that
// take one.
WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone,
                                      const WorldFileSystem& stored);
WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone, int datum_entry,
                                      const WorldFileSystem& stored);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_WORLD_FILE_SYSTEM_MODEL_H_
