#include "cli/interrupt_watcher.h"

#include <pthread.h>
#include <time.h>

namespace kv::cli {

namespace {

sigset_t InterruptOnly() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::atomic<bool>& interrupted) : interrupted_(interrupted) {
  const sigset_t interrupt = InterruptOnly();
  pthread_sigmask(SIG_BLOCK, &interrupt, &previous_mask_);
  // An interrupt already waiting counts before any work starts.
  const timespec now{};
  if (sigtimedwait(&interrupt, nullptr, &now) == SIGINT) interrupted_ = true;
  thread_ = std::thread([this] { Watch(); });
}

InterruptWatcher::~InterruptWatcher() {
  stopping_ = true;
  // Wakes the watcher; this interrupt is ours, not the user's.
  pthread_kill(thread_.native_handle(), SIGINT);
  thread_.join();
  pthread_sigmask(SIG_SETMASK, &previous_mask_, nullptr);
}

void InterruptWatcher::Watch() {
  const sigset_t interrupt = InterruptOnly();
  for (;;) {
    int signal = 0;
    if (sigwait(&interrupt, &signal) != 0) return;
    if (stopping_) return;
    interrupted_ = true;
  }
}

}  // namespace kv::cli
