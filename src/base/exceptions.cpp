#include "base/exceptions.h"

#include <cstring>

namespace kv {

LException::LException(ErrorCode code, const char* file_name) : code_(code) {
  set_file_name(file_name);
}

void LException::set_file_name(const char* file_name) noexcept {
  has_file_name_ = file_name != nullptr;
  std::size_t length = has_file_name_ ? strnlen(file_name, kMaxExceptionFileName) : 0;
  // memmove: the name may be this exception's own.
  if (length != 0) std::memmove(file_name_, file_name, length);
  file_name_[length] = '\0';
}

void LException::set_reason(const char* reason) noexcept {
  std::size_t length = reason != nullptr ? strnlen(reason, kMaxExceptionReason) : 0;
  if (length != 0) std::memmove(reason_, reason, length);
  reason_[length] = '\0';
  reason_id_ = 0;
}

void LException::set_reason(std::uint32_t text_id, const char* argument) noexcept {
  set_reason(argument);
  reason_id_ = text_id;
}

}  // namespace kv
