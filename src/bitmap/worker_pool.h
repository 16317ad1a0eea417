#ifndef KORVALE_BITMAP_WORKER_POOL_H_
#define KORVALE_BITMAP_WORKER_POOL_H_

// A few threads that run queued tasks in the order they were queued. Each
// task learns which worker runs it, so that workers can keep state of their
// own (a colour matcher) without sharing it. A pool of one worker runs each
// task on the queuing thread, inside Submit.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kv {

class WorkerPool {
 public:
  using Task = std::function<void(int worker)>;

  // REQUIRES: workers >= 1.
  explicit WorkerPool(int workers);
  // Runs what is queued to the end, then stops the threads.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int workers() const { return workers_; }

  // Tasks must not throw.
  void Submit(Task task);
  // Blocks until at most `pending` tasks are queued or running. Each time
  // tasks have finished meanwhile, calls `finished` (if given) on this
  // thread with how many finished since the last call.
  void WaitUntilAtMost(std::size_t pending,
                       const std::function<void(std::size_t)>& finished = nullptr);

 private:
  void Work(int worker);

  int workers_;
  std::mutex mutex_;
  std::condition_variable task_ready_;
  std::condition_variable task_done_;
  std::deque<Task> queue_;
  std::size_t pending_ = 0;   // queued or running
  std::size_t finished_ = 0;  // finished and not yet reported to a waiter
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_WORKER_POOL_H_
