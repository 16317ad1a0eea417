#ifndef KORVALE_BITMAP_GDAL_RUNTIME_H_
#define KORVALE_BITMAP_GDAL_RUNTIME_H_

// The little process-wide set-up GDAL needs, kept out of the callers' way.

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

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_RUNTIME_H_
