#include "bitmap/conversion_threads.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <thread>

namespace kv {
namespace {

// Sets KV_THREADS for the test's duration and puts back what was there.
class ThreadsVariable {
 public:
  explicit ThreadsVariable(const char* value) {
    if (const char* old = getenv("KV_THREADS")) previous_ = old;
    setenv("KV_THREADS", value, 1);
  }
  ~ThreadsVariable() {
    if (previous_) {
      setenv("KV_THREADS", previous_->c_str(), 1);
    } else {
      unsetenv("KV_THREADS");
    }
  }

 private:
  std::optional<std::string> previous_;
};

TEST(ConversionThreadCount, AskedForWinsThenTheEnvironmentThenTheCores) {
  const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  {
    ThreadsVariable variable("3");
    EXPECT_EQ(ConversionThreadCount(5), 5);
    EXPECT_EQ(ConversionThreadCount(0), 3);
  }
  for (const char* unusable : {"", "0", "-2", "four", "2x"}) {
    ThreadsVariable variable(unusable);
    EXPECT_EQ(ConversionThreadCount(0), std::min(cores, kMaxConversionThreads)) << unusable;
  }
  ThreadsVariable many("100000");
  EXPECT_EQ(ConversionThreadCount(0), kMaxConversionThreads);
}

}  // namespace
}  // namespace kv
