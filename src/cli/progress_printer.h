#ifndef KORVALE_CLI_PROGRESS_PRINTER_H_
#define KORVALE_CLI_PROGRESS_PRINTER_H_

#include <cstddef>

#include "map/image_list_observer.h"

namespace kv::cli {

// Counts the images a conversion adds on one line of standard error, when
// that is a terminal; silent otherwise, so scripts see only the summary.
class ProgressPrinter final : public ImageListObserver {
 public:
  ProgressPrinter();
  ~ProgressPrinter() override;

  void ImageAdded(CImage& image) override;
  void ImageRemoved(CImage&) override {}
  void ImageMoved(CImage&, std::size_t) override {}
  void ShowImage(CImage&) override {}

 private:
  bool enabled_;
  std::size_t added_ = 0;
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_PROGRESS_PRINTER_H_
