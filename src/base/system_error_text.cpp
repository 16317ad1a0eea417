#include "base/system_error_text.h"

#include <cerrno>
#include <cstring>

#include "base/error_reporter.h"

namespace kv {

namespace {

struct SystemErrorString {
  int error;
  std::uint32_t id;
};

constexpr SystemErrorString kSystemErrorStrings[] = {
    {ENOENT, kFirstSystemErrorTextId},      {EACCES, kFirstSystemErrorTextId + 1},
    {EPERM, kFirstSystemErrorTextId + 2},   {ENOSPC, kFirstSystemErrorTextId + 3},
    {EROFS, kFirstSystemErrorTextId + 4},   {EISDIR, kFirstSystemErrorTextId + 5},
    {ENOTDIR, kFirstSystemErrorTextId + 6}, {EEXIST, kFirstSystemErrorTextId + 7},
    {EIO, kFirstSystemErrorTextId + 8},     {ENAMETOOLONG, kFirstSystemErrorTextId + 9},
    {EMFILE, kFirstSystemErrorTextId + 10}, {ENFILE, kFirstSystemErrorTextId + 10},
    {ENOMEM, kFirstSystemErrorTextId + 11}, {EBUSY, kFirstSystemErrorTextId + 12},
    {EXDEV, kFirstSystemErrorTextId + 13},  {EFBIG, kFirstSystemErrorTextId + 14},
    {EDQUOT, kFirstSystemErrorTextId + 15},
};

}  // namespace

std::uint32_t SystemErrorTextId(int error) {
  for (const SystemErrorString& entry : kSystemErrorStrings) {
    if (entry.error == error) return entry.id;
  }
  return 0;
}

std::string DescribeSystemError(const StringTable& texts, int error) {
  const std::uint32_t id = SystemErrorTextId(error);
  if (id != 0 && !texts.Get(id).empty()) return texts.Get(id);
  std::string number = FormatMessageText(texts.Get(kSystemErrorNumberId), std::to_string(error));
  if (number.empty()) number = std::to_string(error);
  return std::string(std::strerror(error)) + " (" + number + ")";
}

}  // namespace kv
