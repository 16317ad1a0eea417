#include "bitmap/gdal/gdal_runtime.h"

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

namespace {

// The one owner of GDAL's process-wide block cache limit. It mirrors state
// GDAL keeps for the whole process anyway, hence one instance.
class GdalBlockCacheOwner {
 public:
  static GdalBlockCacheOwner& Instance() {
    static GdalBlockCacheOwner owner;
    return owner;
  }

  void Claim(std::int64_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (claims_ == 0) unclaimed_limit_ = GDALGetCacheMax64();
    ++claims_;
    claimed_bytes_ += bytes;
    GDALSetCacheMax64(std::min(claimed_bytes_, unclaimed_limit_));
  }

  void Release(std::int64_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    --claims_;
    claimed_bytes_ -= bytes;
    GDALSetCacheMax64(claims_ == 0 ? unclaimed_limit_ : std::min(claimed_bytes_, unclaimed_limit_));
  }

 private:
  std::mutex mutex_;
  int claims_ = 0;
  std::int64_t claimed_bytes_ = 0;
  std::int64_t unclaimed_limit_ = 0;  // GDAL's limit before the first live claim
};

}  // namespace

GdalBlockCacheLimit::GdalBlockCacheLimit(std::int64_t bytes)
    : bytes_(std::max<std::int64_t>(bytes, 0)) {
  GdalBlockCacheOwner::Instance().Claim(bytes_);
}

GdalBlockCacheLimit::~GdalBlockCacheLimit() { GdalBlockCacheOwner::Instance().Release(bytes_); }

}  // namespace kv
