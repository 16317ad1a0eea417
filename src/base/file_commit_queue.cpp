#include "base/file_commit_queue.h"

#include <utility>

namespace kv {

int CommitFile(const FileCommitter& commit, std::unique_ptr<ReplaceFileWriter> writer) {
  if (commit) return commit(std::move(writer));
  return writer->Commit();
}

FileCommitQueue::FileCommitQueue(std::size_t max_waiting)
    : max_waiting_(max_waiting == 0 ? 1 : max_waiting), thread_([this]() { Run(); }) {}

FileCommitQueue::~FileCommitQueue() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void FileCommitQueue::Push(std::unique_ptr<ReplaceFileWriter> writer, Done done) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this]() { return waiting_.size() < max_waiting_; });
  waiting_.push_back({std::move(writer), std::move(done)});
  changed_.notify_all();
}

void FileCommitQueue::Drain() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this]() { return waiting_.empty() && in_progress_ == 0; });
}

void FileCommitQueue::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this]() { return stopping_ || !waiting_.empty(); });
    if (waiting_.empty()) return;
    Entry entry = std::move(waiting_.front());
    waiting_.pop_front();
    ++in_progress_;
    changed_.notify_all();
    lock.unlock();
    const int status = entry.writer->Commit();
    if (entry.done) entry.done(status);
    entry = {};
    lock.lock();
    --in_progress_;
    changed_.notify_all();
  }
}

}  // namespace kv
