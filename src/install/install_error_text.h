#ifndef KORVALE_INSTALL_INSTALL_ERROR_TEXT_H_
#define KORVALE_INSTALL_INSTALL_ERROR_TEXT_H_

// The text of a handheld user queue's failure code: -500 to -522 are the
// strings 500 to 522, -550 to -555 the strings 550 to 555, -701 the string
// 701; any other code is "unknown error".

#include <cstdint>
#include <optional>
#include <string>

#include "base/string_table.h"

namespace kv {

inline constexpr const char* kUnknownInstallError = "unknown error";

// The string of the code, none for codes without one.
std::optional<std::uint32_t> InstallErrorStringId(int code);

std::string InstallErrorText(const StringTable& strings, int code);

}  // namespace kv

#endif  // KORVALE_INSTALL_INSTALL_ERROR_TEXT_H_
