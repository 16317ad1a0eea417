#include "bitmap/worker_pool.h"

#include <utility>

namespace kv {

WorkerPool::WorkerPool(int workers) : workers_(workers < 1 ? 1 : workers) {
  if (workers_ == 1) return;
  threads_.reserve(static_cast<std::size_t>(workers_));
  for (int worker = 0; worker < workers_; ++worker) {
    threads_.emplace_back([this, worker] { Work(worker); });
  }
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  task_ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::Submit(Task task) {
  if (threads_.empty()) {
    task(0);
    std::lock_guard<std::mutex> lock(mutex_);
    ++finished_;
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(task));
    ++pending_;
  }
  task_ready_.notify_one();
}

void WorkerPool::WaitUntilAtMost(std::size_t pending,
                                 const std::function<void(std::size_t)>& finished) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    task_done_.wait(lock, [&] { return pending_ <= pending || finished_ != 0; });
    const std::size_t count = finished_;
    finished_ = 0;
    if (count != 0 && finished) {
      lock.unlock();
      finished(count);
      lock.lock();
    }
    if (pending_ <= pending) return;
  }
}

void WorkerPool::Work(int worker) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    task_ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and nothing left to run
    Task task = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    task(worker);
    task = nullptr;  // frees what the task held before the count drops
    lock.lock();
    --pending_;
    ++finished_;
    task_done_.notify_all();
  }
}

}  // namespace kv
