#include "tools/lds-stress/stress.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

namespace carelog::stress {
namespace {

TEST(StressTest, ConcurrentWritersLoseAndDuplicateNothing) {
  char pattern[] = "/tmp/carelog-stress-XXXXXX";
  StressOptions options;
  options.dir = mkdtemp(pattern);
  options.processes = 4;
  options.seconds = 2;
  StressResult result;
  std::ostringstream out;
  ASSERT_EQ(RunStress(options, &result, out), 0);
  EXPECT_TRUE(result.faults.empty()) << out.str();
  ASSERT_EQ(result.workers.size(), 4u);
  int added = 0;
  for (const WorkerTally& t : result.workers) added += t.added;
  EXPECT_GT(added, 0);
  std::filesystem::remove_all(options.dir);
}

}  // namespace
}  // namespace carelog::stress
