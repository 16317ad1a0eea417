#include "cli/batch_progress.h"

#include <numeric>
#include <utility>

namespace kv::cli {

BatchProgress::BatchProgress(std::size_t slots, std::size_t maps, Listener listener)
    : running_(slots, 0.0), listener_(std::move(listener)) {
  state_.maps_total = maps;
}

void BatchProgress::Advance(std::size_t slot, double fraction) {
  const std::lock_guard<std::mutex> lock(mutex_);
  running_[slot] = fraction;
  Tell();
}

void BatchProgress::MapDone(std::size_t slot) {
  const std::lock_guard<std::mutex> lock(mutex_);
  running_[slot] = 0;
  ++state_.maps_done;
  Tell();
}

void BatchProgress::Tell() {
  if (!listener_ || state_.maps_total == 0) return;
  const double running = std::accumulate(running_.begin(), running_.end(), 0.0);
  state_.fraction =
      (static_cast<double>(state_.maps_done) + running) / static_cast<double>(state_.maps_total);
  listener_(state_);
}

}  // namespace kv::cli
