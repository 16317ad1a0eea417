#ifndef KORVALE_DOCUMENT_IMPORT_SIZE_ESTIMATOR_H_
#define KORVALE_DOCUMENT_IMPORT_SIZE_ESTIMATOR_H_

// The map an import would make of its source, estimated while the user
// still chooses the options. It opens the source itself and keeps it open
// between estimates, so that trying another scale or depth costs only the
// sample's encoding.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/conversion_context.h"
#include "bitmap/gdal/image_source_library.h"
#include "document/import_source.h"
#include "map/map_size_estimate.h"

namespace kv {

class ImportSizeEstimator {
 public:
  explicit ImportSizeEstimator(ImportSource source);
  ~ImportSizeEstimator();
  ImportSizeEstimator(const ImportSizeEstimator&) = delete;
  ImportSizeEstimator& operator=(const ImportSizeEstimator&) = delete;

  // Opens the source on the first call. Throws the program's exceptions
  // naming the file; a Cancel meanwhile ends it with ErrAlreadyReported.
  // One call at a time, from any one thread.
  MapSizeEstimate Estimate(const ConversionSettings& settings, std::size_t calibration_bytes = 0);
  // From any thread: the running Estimate stops soon.
  void Cancel() { context_.cancel = true; }

 private:
  ConversionSource Open();

  ImportSource source_;
  ConversionContext context_;
  ImageSourceLibrary library_;
  std::vector<std::uint8_t> bmp_bytes_;
  ImageSourcePtr image_;
  bool opened_ = false;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_IMPORT_SIZE_ESTIMATOR_H_
