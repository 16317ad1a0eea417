#ifndef KORVALE_BITMAP_CONVERSION_CONTEXT_H_
#define KORVALE_BITMAP_CONVERSION_CONTEXT_H_

// What conversions share beyond one call. The application owns one set of
// conversion settings (the user's choices, kept with the preferences); each
// document owns a conversion context: the custom colour table an overview
// builds and its tiles reuse, the BMP reader set-up, and the text a failing
// conversion leaves for its error message, and how a long map conversion
// reports progress and is stopped.

#include <atomic>
#include <functional>
#include <string>

#include "bitmap/bmp/bmp_pixel_reader.h"
#include "bitmap/conversion_options.h"
#include "bitmap/conversion_progress.h"
#include "bitmap/palm/palette_state.h"

namespace kv {

struct ConversionSettings {
  // 16, 8, 4, 2 or 1 bits.
  int colourDepth = 16;
  // Compress each bitmap when that makes it smaller.
  bool compressBitmaps = true;
  // Output pixels per source pixel for tiles.
  ScaleRatio scale;
};

struct ConversionContext {
  PaletteState palette;
  BmpPixelReader bmp_reader;
  std::string conversion_message;

  // Told how far a map conversion is, on the thread that runs the
  // conversion, between steps; may be empty.
  std::function<void(const ConversionProgress&)> progress;
  // Set from any thread (or from `progress`) to stop a map conversion
  // between tiles: it then fails with ConversionStatus::kCancelled and keeps nothing.
  // Whoever starts a conversion clears it first.
  std::atomic<bool> cancel{false};
  // Threads that encode tiles; 0 takes KV_THREADS from the environment, or
  // else one per core. The output is the same for any count.
  int threads = 0;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_CONTEXT_H_
