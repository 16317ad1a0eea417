#include "bitmap/image_source.h"

namespace kv {
namespace {

constexpr int kMaxSide = 65535;

}  // namespace

ConversionStatus QueryImageSource(const ImageSource& source, std::uint16_t* width,
                                  std::uint16_t* height, int* depth) {
  if (source.Width() > kMaxSide || source.Height() > kMaxSide) return ConversionStatus::kTooBig;
  *width = static_cast<std::uint16_t>(source.Width());
  *height = static_cast<std::uint16_t>(source.Height());
  *depth = source.Depth();
  return ConversionStatus::kOk;
}

}  // namespace kv
