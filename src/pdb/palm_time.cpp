#include "pdb/palm_time.h"

namespace kv {

std::uint32_t PalmTimeFromUnix(std::int64_t unix_seconds) {
  if (unix_seconds == 0) return 0;
  return PalmDateFromUnix(unix_seconds);
}

std::int64_t UnixTimeFromPalm(std::uint32_t palm_time) {
  if (palm_time < kPalmTimeOffset) return 0;
  return UnixFromPalmDate(palm_time);
}

std::uint32_t PalmDateFromUnix(std::int64_t unix_seconds) {
  // Wraps modulo 2^32 like the stored field does.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unix_seconds) + kPalmTimeOffset);
}

std::int64_t UnixFromPalmDate(std::uint32_t palm_date) {
  return static_cast<std::int64_t>(palm_date) - kPalmTimeOffset;
}

}  // namespace kv
