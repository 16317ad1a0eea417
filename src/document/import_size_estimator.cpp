#include "document/import_size_estimator.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <utility>

#include "base/exceptions.h"
#include "document/image_kind.h"

namespace kv {

ImportSizeEstimator::ImportSizeEstimator(ImportSource source) : source_(std::move(source)) {}

ImportSizeEstimator::~ImportSizeEstimator() { library_.Release(&image_); }

ConversionSource ImportSizeEstimator::Open() {
  const std::string& path = source_.image_path;
  if (source_.kind == kImageKindBmp) {
    if (!opened_) {
      errno = 0;
      std::ifstream file(path, std::ios::binary);
      if (!file) ThrowSystemFailure<ErrFileOpen>(path.c_str(), errno);
      bmp_bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
      if (file.bad()) throw ErrFileRead(path.c_str());
      opened_ = true;
    }
    return ConversionSource{kImageKindBmp, bmp_bytes_, nullptr};
  }
  if (!opened_) {
    const ImageSourceKind kind =
        source_.kind == kImageKindChart ? ImageSourceKind::kChart : ImageSourceKind::kRaster;
    const ConversionStatus status = library_.Open(path, kind, &image_);
    if (status == ConversionStatus::kNotAnImage) throw ErrNotAnImage(path.c_str());
    if (status != ConversionStatus::kOk || !image_) throw ErrFileOpen(path.c_str());
    opened_ = true;
  }
  return ConversionSource{static_cast<int>(image_->kind()), {}, image_.get()};
}

MapSizeEstimate ImportSizeEstimator::Estimate(const ConversionSettings& settings,
                                              std::size_t calibration_bytes) {
  context_.cancel = false;
  try {
    const ConversionSource source = Open();
    return EstimateMapSize(context_, settings, source, source.image == nullptr, calibration_bytes);
  } catch (LException& error) {
    if (error.file_name() == nullptr) error.set_file_name(source_.image_path.c_str());
    throw;
  }
}

}  // namespace kv
