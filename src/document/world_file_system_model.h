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

// OK: the stored system becomes the chosen entry's, with the zone in
// capitals, when one is chosen and the set-up accepts it; otherwise it stays
// as it was.
WorldFileSystem AcceptWorldFileSystem(int entry, const std::string& zone,
                                      const WorldFileSystem& stored);

}  // namespace kv

#endif  // KORVALE_DOCUMENT_WORLD_FILE_SYSTEM_MODEL_H_
