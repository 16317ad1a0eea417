#ifndef KORVALE_BITMAP_PALM_BITMAP_SAMPLING_H_
#define KORVALE_BITMAP_PALM_BITMAP_SAMPLING_H_

// A Palm bitmap record reduced by whole steps: every `step`-th pixel of
// every `step`-th row, starting at the top-left one. A zoomed-out view
// needs only these, and reading them costs a step-squared fraction of a
// full decode.

#include <cstdint>
#include <span>

#include "bitmap/conversion_front.h"
#include "bitmap/conversion_status.h"

namespace kv {

// *out becomes ceil(width / step) x ceil(height / step) pixels, red, green,
// blue, top row first. ConversionStatus::kMalformed for a step below 1 or a record that
// does not parse; the record's own status for bad pixels or depths.
ConversionStatus SamplePalmBitmapRgb(std::span<const std::uint8_t> record, int step, RgbImage* out);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_BITMAP_SAMPLING_H_
