#include "base/file_extension.h"

namespace kv {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t FileExtensionDot(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start) return std::string_view::npos;
  return dot;
}

std::string_view FileExtension(std::string_view path) {
  const std::size_t dot = FileExtensionDot(path);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

std::string LowerFileExtension(std::string_view path) {
  std::string extension(FileExtension(path));
  for (char& c : extension) c = LowerAscii(c);
  return extension;
}

std::string_view PathWithoutExtension(std::string_view path) {
  return path.substr(0, FileExtensionDot(path));
}

bool HasFileExtension(std::string_view path, std::string_view extension) {
  const std::string_view own = FileExtension(path);
  if (own.size() != extension.size()) return false;
  for (std::size_t i = 0; i < own.size(); ++i) {
    if (LowerAscii(own[i]) != LowerAscii(extension[i])) return false;
  }
  return true;
}

}  // namespace kv
