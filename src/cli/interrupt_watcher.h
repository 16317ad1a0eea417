#ifndef KORVALE_CLI_INTERRUPT_WATCHER_H_
#define KORVALE_CLI_INTERRUPT_WATCHER_H_

// While one lives, Ctrl-C (SIGINT) does not end kvmap: it sets a flag that
// the work polls, so that the work can stop cleanly. A thread of its own
// waits for the signal (sigwait), so no handler and no global state are
// involved. Threads started meanwhile by the creating thread inherit the
// blocked signal; only the watcher receives it.

#include <signal.h>

#include <atomic>
#include <thread>

namespace kv::cli {

class InterruptWatcher {
 public:
  // An interrupt that arrived while SIGINT was blocked before sets the
  // flag at once.
  explicit InterruptWatcher(std::atomic<bool>& interrupted);
  // Restores the signal mask the creating thread had; Ctrl-C ends the
  // program again.
  ~InterruptWatcher();
  InterruptWatcher(const InterruptWatcher&) = delete;
  InterruptWatcher& operator=(const InterruptWatcher&) = delete;

 private:
  void Watch();

  std::atomic<bool>& interrupted_;
  std::atomic<bool> stopping_{false};
  sigset_t previous_mask_;
  std::thread thread_;
};

}  // namespace kv::cli

#endif  // KORVALE_CLI_INTERRUPT_WATCHER_H_
