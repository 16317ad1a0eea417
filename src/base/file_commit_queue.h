#ifndef KORVALE_BASE_FILE_COMMIT_QUEUE_H_
#define KORVALE_BASE_FILE_COMMIT_QUEUE_H_

// Committing a finished file (ReplaceFileWriter::Commit) waits for the disk
// to hold it, which can take as long as making the file did. A program that
// writes many files in a row hands each finished one to a FileCommitQueue
// and goes on with the next: one thread of the queue's own syncs and names
// them in the order given, so the wait for the disk overlaps the work.
//
// A file handed over is complete; whether it reached its name is known
// only when its `done` has been called, which Drain waits for.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "base/replace_file_writer.h"

namespace kv {

// How a finished file is committed: the default (an empty function)
// commits it at once. Returns 0 or the errno of a failure known now.
using FileCommitter = std::function<int(std::unique_ptr<ReplaceFileWriter>)>;

// Commits `writer` with `commit` when one is given, else at once.
int CommitFile(const FileCommitter& commit, std::unique_ptr<ReplaceFileWriter> writer);

class FileCommitQueue {
 public:
  // Called on the queue's thread with Commit's status.
  using Done = std::function<void(int status)>;

  // At most `max_waiting` files wait for the thread; handing over one more
  // blocks until there is room, so a disk slower than the work holds the
  // work back instead of piling up open files.
  explicit FileCommitQueue(std::size_t max_waiting = 4);
  // Commits what was handed over, then stops the thread.
  ~FileCommitQueue();
  FileCommitQueue(const FileCommitQueue&) = delete;
  FileCommitQueue& operator=(const FileCommitQueue&) = delete;

  void Push(std::unique_ptr<ReplaceFileWriter> writer, Done done);

  // Returns once every file handed over so far is committed or has failed.
  void Drain();

 private:
  struct Entry {
    std::unique_ptr<ReplaceFileWriter> writer;
    Done done;
  };

  void Run();

  const std::size_t max_waiting_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Entry> waiting_;
  std::size_t in_progress_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace kv

#endif  // KORVALE_BASE_FILE_COMMIT_QUEUE_H_
