#ifndef KORVALE_GEO_COORDINATE_SYSTEMS_H_
#define KORVALE_GEO_COORDINATE_SYSTEMS_H_

// The coordinate systems a user can type and read positions in. The index
// into this list is stored in the preferences and used by the calibration
// dialog: 0 to 2 are degree notations, 3 and 4 UTM and the British National
// Grid, 5 to 28 the rows of the grid system table.

#include <array>
#include <string_view>

namespace kv {

inline constexpr int kCoordinateSystemCount = 29;

inline constexpr int kSystemDegreesMinutes = 0;         // "DD MM.mmmm"
inline constexpr int kSystemDegreesMinutesSeconds = 1;  // "DD MM SS"
inline constexpr int kSystemDecimalDegrees = 2;         // "DD.dddd"
inline constexpr int kSystemUtm = 3;
inline constexpr int kSystemOsgb = 4;
inline constexpr int kFirstNationalGridSystem = 5;
inline constexpr int kSystemMga = 16;
inline constexpr int kSystemSJtsk = 25;

// The 29 list names followed by the empty entry that ends the list.
const std::array<std::string_view, kCoordinateSystemCount + 1>& CoordinateSystemNames();

// The list name, or an empty text outside the list.
std::string_view CoordinateSystemName(int system);

// A row of the grid system table (5 and above).
bool IsNationalGrid(int system);
// Anything but a degree notation (3 and above).
bool IsGrid(int system);

}  // namespace kv

#endif  // KORVALE_GEO_COORDINATE_SYSTEMS_H_
