#ifndef KORVALE_BITMAP_GDAL_RUNTIME_H_
#define KORVALE_BITMAP_GDAL_RUNTIME_H_

// The little process-wide set-up GDAL needs, kept out of the callers' way.

#include <cstdint>

namespace kv {

// Registers GDAL's drivers the first time any caller asks; safe from any
// thread, and cheap after the first call.
void EnsureGdalDriversRegistered();

// While one is alive, GDAL reports nothing on this thread's standard error:
// a file it cannot read comes back to us as a failed call, which we turn
// into a status.
class QuietGdalErrors {
 public:
  QuietGdalErrors();
  ~QuietGdalErrors();
  QuietGdalErrors(const QuietGdalErrors&) = delete;
  QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

// While one is alive, GDAL's block cache holds at most `bytes` (never more
// than it was allowed before); the previous limit comes back afterwards.
// GDAL's own default is a share of the machine's memory, which a pass over
// a big image fills with blocks it never reads again. The limit is GDAL's
// process-wide setting, so limits should not overlap in time.
class GdalBlockCacheLimit {
 public:
  explicit GdalBlockCacheLimit(std::int64_t bytes);
  ~GdalBlockCacheLimit();
  GdalBlockCacheLimit(const GdalBlockCacheLimit&) = delete;
  GdalBlockCacheLimit& operator=(const GdalBlockCacheLimit&) = delete;

 private:
  std::int64_t previous_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_RUNTIME_H_
