#include "bitmap/gdal_runtime.h"

#include <cpl_error.h>
#include <gdal.h>

#include <algorithm>
#include <mutex>

namespace kv {

void EnsureGdalDriversRegistered() {
  static std::once_flag registered;
  std::call_once(registered, [] { GDALAllRegister(); });
}

// GDAL keeps a stack of handlers per thread, so this does not disturb other
// threads or other code that installed its own handler.
QuietGdalErrors::QuietGdalErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }

QuietGdalErrors::~QuietGdalErrors() {
  CPLPopErrorHandler();
  CPLErrorReset();
}

GdalBlockCacheLimit::GdalBlockCacheLimit(std::int64_t bytes) : previous_(GDALGetCacheMax64()) {
  GDALSetCacheMax64(std::min(bytes, previous_));
}

GdalBlockCacheLimit::~GdalBlockCacheLimit() { GDALSetCacheMax64(previous_); }

}  // namespace kv
