#include "bitmap/band_buffers.h"

namespace kv {

BandBuffers::BandBuffers() { free_.reserve(kKeptFree); }

BandBuffers::~BandBuffers() {
  for (std::uint32_t* buffer : free_) delete[] buffer;
}

BandValues BandBuffers::Take() {
  std::uint32_t* buffer = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!free_.empty()) {
      buffer = free_.back();
      free_.pop_back();
    }
  }
  if (buffer == nullptr) buffer = new std::uint32_t[values_];
  return BandValues(buffer, [this](std::uint32_t* used) { Give(used); });
}

void BandBuffers::Give(std::uint32_t* buffer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (free_.size() < kKeptFree) {
    free_.push_back(buffer);  // within the reserved capacity: never throws
  } else {
    delete[] buffer;
  }
}

}  // namespace kv
