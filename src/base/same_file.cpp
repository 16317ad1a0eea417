#include "base/same_file.h"

#include <sys/stat.h>

namespace kv {

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::optional<InputFile> InputOverwrittenBy(const std::string& output,
                                            std::span<const InputFile> inputs) {
  for (const InputFile& input : inputs) {
    if (!input.path.empty() && IsSameFile(output, input.path)) return input;
  }
  return std::nullopt;
}

std::string OverwritesInputMessage(std::string_view output, const InputFile& input) {
  std::string message(output);
  message += " is the same file as the ";
  message += input.role;
  message += ' ';
  message += input.path;
  message += "; writing it would destroy its own input. Choose another file to write.";
  return message;
}

}  // namespace kv
