#ifndef KORVALE_CLI_BATCH_PROGRESS_H_
#define KORVALE_CLI_BATCH_PROGRESS_H_

// How far a batch of conversions is, as one figure: each finished map counts
// whole, each map under way with the part its own conversion has done.
// Maps report from their own threads; the listener is called under a lock,
// so it sees one report at a time.

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace kv::cli {

struct BatchProgressState {
  double fraction = 0;  // 0 to 1 over the whole batch
  std::size_t maps_done = 0;
  std::size_t maps_total = 0;
};

class BatchProgress {
 public:
  using Listener = std::function<void(const BatchProgressState&)>;

  // `slots` maps run at once, each in a slot numbered from 0.
  BatchProgress(std::size_t slots, std::size_t maps, Listener listener);

  // The map in `slot` has done `fraction` (0 to 1) of its work.
  void Advance(std::size_t slot, double fraction);
  // The map in `slot` is over, however it ended.
  void MapDone(std::size_t slot);

 private:
  void Tell();

  std::mutex mutex_;
  std::vector<double> running_;  // per slot
  BatchProgressState state_;
  Listener listener_;
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_BATCH_PROGRESS_H_
