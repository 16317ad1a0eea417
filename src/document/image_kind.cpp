#include "document/image_kind.h"

#include "base/file_extension.h"
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

int ImageKind(std::string_view path) { return ImageKindOfExtension(FileExtension(path)); }

bool IsCalibrationKind(int kind) {
  return kind == kImageKindKvm || kind == kImageKindCal || kind == kImageKindJpr;
}

}  // namespace kv
