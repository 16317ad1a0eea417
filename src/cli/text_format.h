#ifndef KORVALE_CLI_TEXT_FORMAT_H_
#define KORVALE_CLI_TEXT_FORMAT_H_

// Small text conversions for kvmap's listings.

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::cli {

// "tBMP"; bytes outside printable ASCII appear as \xNN.
std::string FourCharCodeText(std::uint32_t code);
// Database names are Windows-1252 bytes up to the first NUL.
std::string PalmNameToUtf8(const char* name, std::size_t capacity);
// "2026-12-07T08:00:00Z", or "never" for 0.
std::string UtcTimeText(std::int64_t unix_seconds);

}  // namespace kv::cli

#endif  // KORVALE_CLI_TEXT_FORMAT_H_
