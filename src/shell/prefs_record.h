#ifndef KORVALE_SHELL_PREFS_RECORD_H_
#define KORVALE_SHELL_PREFS_RECORD_H_

// The preferences record: window placement, the folders last used and the
// conversion and calibration options, kept between runs in one binary file
// of the Windows program's layout so that files move between the two.
//
// Layout (little-endian, 1428 bytes; the old version's 580 bytes end
// before offset 580):
//   0    u32   record size: 1428, or 580 (old)
//   4    44    placement: length (44), flags, show command, minimised x, y,
//              maximised x, y, normal left, top, right, bottom (i32 each)
//   48   260   last map folder, NUL-terminated
//   308  260   last image folder, NUL-terminated
//   568  i32   minimum colour depth (always 1 once loaded)
//   572  i32   colour depth: 16, 8, 4, 2 or 1
//   576  i32   compression flag
//   580  i32   calibration dialog's follow option (current only)
//   584  i32   coordinate system index (current only)
//   588  320   reserved, zero
//   908  260   last Pocket PC folder, NUL-terminated
//   1168 260   reserved, zero

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kv {

inline constexpr std::size_t kPrefsRecordSize = 1428;
inline constexpr std::size_t kOldPrefsRecordSize = 580;
inline constexpr std::int32_t kPlacementLength = 44;
// A folder field holds 259 bytes and its NUL.
inline constexpr std::size_t kPrefsFolderLimit = 259;

// Windows' show commands, as the placement stores them.
inline constexpr std::int32_t kShowNormal = 1;
inline constexpr std::int32_t kShowMinimized = 2;
inline constexpr std::int32_t kShowMaximized = 3;
// Placement flag: a minimised window comes back maximised.
inline constexpr std::int32_t kRestoreToMaximized = 2;

struct PlacementRecord {
  std::int32_t length = kPlacementLength;
  std::int32_t flags = 0;
  std::int32_t show_command = kShowNormal;
  std::int32_t min_x = -1, min_y = -1;
  std::int32_t max_x = -1, max_y = -1;
  // The normal rectangle; right and bottom lie just outside it.
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct PrefsRecord {
  PlacementRecord placement;
  std::string last_map_folder;
  std::string last_image_folder;
  std::int32_t min_depth = 1;
  std::int32_t colour_depth = 16;
  std::int32_t compression = 1;
  std::int32_t calibration_follow = 1;
  std::int32_t coordinate_system = 0;
  std::string pocket_pc_folder;
};

enum class PrefsVersion { kCurrent, kOld, kNotLoaded };

// The record held in `bytes`. kNotLoaded for a short record or a size field
// other than 1428 and 580; `*record` is then unchanged.
PrefsVersion DecodePrefsRecord(std::span<const std::uint8_t> bytes, PrefsRecord* record);

// Always the current 1428-byte layout. A folder too long for its field is
// stored empty rather than cut into another folder's name.
std::vector<std::uint8_t> EncodePrefsRecord(const PrefsRecord& record);

// What a first run starts with: the normal rectangle (1, 0, desktop width -
// 1, desktop height - 22), and both folders in the user's documents folder
// (with trailing separator, or empty).
PrefsRecord DefaultPrefsRecord(int desktop_width, int desktop_height,
                               const std::string& documents_folder);

// Reads the file into `*record`; a missing, short or foreign file leaves
// `*record` as it was and gives kNotLoaded.
PrefsVersion ReadPrefsFile(const std::string& path, PrefsRecord* record);

// Writes the whole record; the old file is replaced only once the new one
// is complete. False (and the old file kept) on failure.
bool WritePrefsFile(const std::string& path, const PrefsRecord& record);

}  // namespace kv

#endif  // KORVALE_SHELL_PREFS_RECORD_H_
