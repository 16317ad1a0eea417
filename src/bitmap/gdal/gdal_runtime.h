#ifndef KORVALE_BITMAP_GDAL_GDAL_RUNTIME_H_
#define KORVALE_BITMAP_GDAL_GDAL_RUNTIME_H_

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

// A claim on GDAL's block cache: while one is alive, the cache may hold
// `bytes` for its owner. GDAL's limit is one setting for the whole process,
// so it has one owner here: the limit is the sum of the live claims (a
// conversion and a view reading at once each keep their blocks), never more
// than GDAL allowed before the first claim, and GDAL's own limit comes back
// when the last claim ends. Claims may overlap in time and end in any order,
// on any thread. GDAL's own default is a share of the machine's memory,
// which a pass over a big image fills with blocks it never reads again.
class GdalBlockCacheLimit {
 public:
  explicit GdalBlockCacheLimit(std::int64_t bytes);
  ~GdalBlockCacheLimit();
  GdalBlockCacheLimit(const GdalBlockCacheLimit&) = delete;
  GdalBlockCacheLimit& operator=(const GdalBlockCacheLimit&) = delete;

 private:
  std::int64_t bytes_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_RUNTIME_H_
