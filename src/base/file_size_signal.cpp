#include "base/file_size_signal.h"

#include <csignal>

namespace kv {

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace kv
