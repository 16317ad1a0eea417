#include "bitmap/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace kv {
namespace {

TEST(WorkerPool, RunsEveryTaskOnAWorkerOfItsOwnAndCountsThemDone) {
  for (int workers : {1, 3}) {
    std::vector<int> ran_on(50, -1);
    std::size_t reported = 0;
    {
      WorkerPool pool(workers);
      for (std::size_t i = 0; i < ran_on.size(); ++i) {
        pool.Submit([&ran_on, i](int worker) { ran_on[i] = worker; });
      }
      pool.WaitUntilAtMost(0, [&](std::size_t finished) { reported += finished; });
    }
    EXPECT_EQ(reported, ran_on.size());
    for (int worker : ran_on) {
      EXPECT_GE(worker, 0);
      EXPECT_LT(worker, workers);
    }
  }
}

TEST(WorkerPool, FinishesWhatIsQueuedBeforeItGoes) {
  std::atomic<int> done{0};
  {
    WorkerPool pool(2);
    for (int i = 0; i < 20; ++i) pool.Submit([&done](int) { ++done; });
  }
  EXPECT_EQ(done, 20);
}

}  // namespace
}  // namespace kv
