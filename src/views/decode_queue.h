#ifndef KORVALE_VIEWS_DECODE_QUEUE_H_
#define KORVALE_VIEWS_DECODE_QUEUE_H_

// The pieces a view asks for, decoded on a thread of the view's own so that
// the window's thread only draws (as Okular's tile manager and QGIS's render
// jobs do). The window's thread says which pieces it still lacks with each
// paint; pieces it no longer asks for leave the queue before they are
// started. A batch already running finishes, and its results are delivered
// all the same: the caller caches them.
//
// The worker takes a batch at a time (the caller chooses how much, so that
// a file that decodes from the top can be read in one pass) and results
// come back on the window's thread through its event loop, so the thread
// that owns the queue needs one.

#include <QObject>
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace kv {

template <typename Key, typename Request, typename Result>
class DecodeQueue {
 public:
  using Wanted = std::vector<std::pair<Key, Request>>;
  using Results = std::vector<std::pair<Key, Result>>;
  // Runs on the worker; one result for each key it was given.
  using Decode = std::function<Results(const Wanted& batch)>;
  // How many of the waiting requests, from the front, go into the next
  // batch (at least one is taken).
  using BatchSize = std::function<std::size_t(const Wanted& waiting)>;
  // Runs on the owner's thread.
  using Deliver = std::function<void(Results results)>;

  DecodeQueue(Decode decode, BatchSize batch_size, Deliver deliver)
      : decode_(std::move(decode)),
        batch_size_(std::move(batch_size)),
        deliver_(std::move(deliver)),
        worker_([this] { Work(); }) {}

  // Waits for a running batch; waiting requests are dropped.
  ~DecodeQueue() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
      waiting_.clear();
    }
    wake_.notify_all();
    worker_.join();
  }

  DecodeQueue(const DecodeQueue&) = delete;
  DecodeQueue& operator=(const DecodeQueue&) = delete;

  // From now on the queue waits for exactly `keys` in this order (those
  // being decoded or delivered already stay where they are). `request_of`
  // is called only for keys not asked for before, so a costly request is
  // made once, and for at most `most_new` of them: the rest are left for a
  // later call. Keys no longer asked for are dropped unstarted.
  void Want(const std::vector<Key>& keys, const std::function<Request(const Key&)>& request_of,
            std::size_t most_new = SIZE_MAX) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      std::map<Key, Request> earlier;
      for (auto& [key, request] : waiting_) earlier.emplace(key, std::move(request));
      waiting_.clear();
      for (const Key& key : keys) {
        if (in_flight_.count(key) != 0) continue;
        auto it = earlier.find(key);
        if (it != earlier.end()) {
          waiting_.emplace_back(key, std::move(it->second));
        } else if (most_new > 0) {
          --most_new;
          waiting_.emplace_back(key, request_of(key));
        }
      }
    }
    wake_.notify_all();
  }

  // Drops the waiting requests `keep` turns down, asking for nothing new.
  void KeepWaitingOnly(const std::function<bool(const Key&)>& keep) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(waiting_, [&keep](const auto& entry) { return !keep(entry.first); });
  }

  // True while requests wait, run or are not yet delivered.
  bool busy() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return !waiting_.empty() || !in_flight_.empty();
  }

 private:
  void Work() {
    for (;;) {
      Wanted batch;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;
        const std::size_t count =
            std::clamp<std::size_t>(batch_size_(waiting_), 1, waiting_.size());
        for (std::size_t i = 0; i < count; ++i) {
          in_flight_.insert(waiting_[i].first);
          batch.push_back(std::move(waiting_[i]));
        }
        waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(count));
      }
      std::vector<Key> keys;
      for (const auto& entry : batch) keys.push_back(entry.first);
      Results results = decode_(batch);
      // Delivered through the receiver's thread; a queue destroyed first
      // takes the receiver with it, and Qt drops the call.
      QMetaObject::invokeMethod(
          &receiver_,
          [this, keys = std::move(keys), results = std::move(results)]() mutable {
            Arrived(keys, std::move(results));
          },
          Qt::QueuedConnection);
    }
  }

  void Arrived(const std::vector<Key>& keys, Results results) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      for (const Key& key : keys) in_flight_.erase(key);
    }
    deliver_(std::move(results));
  }

  Decode decode_;
  BatchSize batch_size_;
  Deliver deliver_;
  QObject receiver_;  // lives on the owner's thread
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  Wanted waiting_;           // front first
  std::set<Key> in_flight_;  // taken by the worker, not yet delivered
  bool stopping_ = false;
  std::thread worker_;  // last: starts once the rest is ready
};

}  // namespace kv

#endif  // KORVALE_VIEWS_DECODE_QUEUE_H_
