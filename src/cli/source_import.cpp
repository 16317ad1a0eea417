#include "cli/source_import.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "bitmap/image_source_library.h"
#include "shell/exceptions.h"

namespace kv::cli {

namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

CImage& ImportSourceImage(CImageContainer& container, const std::string& path,
                          const std::string& name, ConversionSettings& settings) {
  const std::string extension = LowerExtension(path);
  if (extension == "bmp") return container.AddImageFromFile(1, path, &name, true, settings);
  const bool chart = extension == "kap" || extension == "cap";
  ImageSourceLibrary library;
  ImageSourcePtr source;
  if (library.Open(path, chart ? ImageSourceKind::kChart : ImageSourceKind::kRaster, &source) !=
      kConvOk) {
    if (chart) throw ErrUnknownImageKind(path.c_str());
    throw ErrFileOpen(path.c_str());
  }
  try {
    return container.AddImageFromSource(std::move(source), true, &name, settings);
  } catch (LException& error) {
    if (error.file_name() == nullptr) error.set_file_name(path.c_str());
    throw;
  }
}

}  // namespace kv::cli
