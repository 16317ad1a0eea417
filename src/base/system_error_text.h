#ifndef KORVALE_BASE_SYSTEM_ERROR_TEXT_H_
#define KORVALE_BASE_SYSTEM_ERROR_TEXT_H_

// Operating system error numbers (errno) in the user's language. The
// system's own texts (strerror) are English whatever language the user chose,
// so the errors a user meets with files have their own language strings.

#include <cstdint>
#include <string>

#include "base/string_ids.h"
#include "base/string_table.h"

namespace kv {

// The language string of `error`, or 0 when it has none.
std::uint32_t SystemErrorTextId(int error);

// Its own string from `texts` when it has one; else the system's text with
// the number, "Invalid argument (error number 22)".
std::string DescribeSystemError(const StringTable& texts, int error);

}  // namespace kv

#endif  // KORVALE_BASE_SYSTEM_ERROR_TEXT_H_
