#include "bitmap/source_row_reader.h"

#include <vector>

namespace kv {

namespace {

class PixelRowReader final : public SourceRowReader {
 public:
  explicit PixelRowReader(const PixelSource& source)
      : source_(source), xs_(static_cast<std::size_t>(source.Width())) {
    for (std::size_t x = 0; x < xs_.size(); ++x) xs_[x] = static_cast<int>(x);
  }

  ConversionStatus ReadRow(int y, std::uint32_t* values) override {
    source_.PixelsOfRow(xs_, y, values);
    return ConversionStatus::kOk;
  }

 private:
  const PixelSource& source_;
  std::vector<int> xs_;
};

}  // namespace

std::unique_ptr<SourceRowReader> ReadRowsByPixels(const PixelSource& source) {
  return std::make_unique<PixelRowReader>(source);
}

std::unique_ptr<SourceRowReader> PixelSource::OpenRowReader() const {
  return ReadRowsByPixels(*this);
}

}  // namespace kv
