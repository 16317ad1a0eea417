#include "install/install_error_text.h"

namespace kv {

std::optional<std::uint32_t> InstallErrorStringId(int code) {
  if ((code <= -500 && code >= -522) || (code <= -550 && code >= -555) || code == -701) {
    return static_cast<std::uint32_t>(-code);
  }
  return std::nullopt;
}

std::string InstallErrorText(const StringTable& strings, int code) {
  const std::optional<std::uint32_t> id = InstallErrorStringId(code);
  if (!id || strings.Get(*id).empty()) return kUnknownInstallError;
  return strings.Get(*id);
}

}  // namespace kv
