#include "document/image_kind.h"

#include "geo/text_match.h"

namespace kv {

int ImageKindOfExtension(std::string_view extension) {
  static constexpr struct {
    std::string_view extension;
    int kind;
  } kKinds[] = {{"bmp", kImageKindBmp},   {"jpg", kImageKindJpg},   {"png", kImageKindPng},
                {"gif", kImageKindGif},   {"tif", kImageKindTiff},  {"tiff", kImageKindTiff},
                {"nos", kImageKindNos},   {"kvm", kImageKindKvm},   {"jpr", kImageKindJpr},
                {"kap", kImageKindChart}, {"cap", kImageKindChart}, {"cal", kImageKindCal}};
  for (const auto& entry : kKinds) {
    if (EqualsIgnoreCase(extension, entry.extension)) return entry.kind;
  }
  return kImageKindUnknown;
}

std::string_view FileExtension(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start) return {};
  return path.substr(dot + 1);
}

int ImageKind(std::string_view path) { return ImageKindOfExtension(FileExtension(path)); }

}  // namespace kv
