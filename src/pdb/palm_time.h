#ifndef KORVALE_PDB_PALM_TIME_H_
#define KORVALE_PDB_PALM_TIME_H_

// Conversions between Unix seconds and the times stored in Palm databases.
//
// The offset is 2082815970 seconds, not the 2082844800 seconds between 1904
// and 1970. Maps written by every earlier release carry times made with this
// number, and both directions use it, so times we write and read agree.

#include <cstdint>

namespace kv {

inline constexpr std::uint32_t kPalmTimeOffset = 2082815970u;

// Header times: 0 stays 0 ("never") in both directions, and stored values
// below the offset read as 0.
std::uint32_t PalmTimeFromUnix(std::int64_t unix_seconds);
std::int64_t UnixTimeFromPalm(std::uint32_t palm_time);

// Image dates: the same offset, without the special cases; the result may be
// negative.
std::uint32_t PalmDateFromUnix(std::int64_t unix_seconds);
std::int64_t UnixFromPalmDate(std::uint32_t palm_date);

}  // namespace kv

#endif  // KORVALE_PDB_PALM_TIME_H_
