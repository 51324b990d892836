#include "system/scheduler.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

namespace pt = boost::posix_time;

class SchedulerTest : public testing::Test {
 protected:
  pt::ptime add(const std::string& name, unsigned delay, unsigned interval) {
    return scheduler
        .addTask(
            [this, name](unsigned) {
              runs.push_back(name);
              return true;
            },
            delay, interval)
        .due;
  }

  System::Scheduler scheduler;
  std::vector<std::string> runs;
};

TEST_F(SchedulerTest, OverdueTasksRunEarliestFirstAndTheDueOneWaits) {
  EXPECT_EQ(0u, scheduler.run());
  // Delays far apart, so that the clock moving between the additions cannot reorder them.
  add("late", 30000, 0);
  add("early", 10000, 0);
  const pt::ptime reading = add("due", 40000, 0);
  add("next", 80000, 0);
  EXPECT_EQ(0u, scheduler.run(reading));
  EXPECT_EQ((std::vector<std::string>{"early", "late"}), runs);
  scheduler.run(reading + pt::microseconds(1));
  EXPECT_EQ("due", runs.back());
}

TEST_F(SchedulerTest, LatePumpRunsOnceWithoutCatchingUpAndTruncatesTheWait) {
  const pt::ptime late = add("tick", 10, 10) + pt::milliseconds(35);
  EXPECT_EQ(10u, scheduler.run(late));
  EXPECT_EQ(9u, scheduler.run(late + pt::microseconds(300)));
  EXPECT_EQ(0u, scheduler.run(late + pt::milliseconds(10)));
  EXPECT_EQ(1u, runs.size());
  EXPECT_EQ(10u, scheduler.run(late + pt::microseconds(10001)));
  EXPECT_EQ(2u, runs.size());
}

TEST_F(SchedulerTest, EachAddTaskWritesOneArghLineAndCopiesWriteNone) {
  testing::internal::CaptureStdout();
  const pt::ptime due = add("tick", 50, 7);
  System::Scheduler::Task copy = scheduler.addTask({}, 4000000000u, 1);
  copy = System::Scheduler::Task(copy);
  scheduler.run(due + pt::milliseconds(1));
  scheduler.run(due + pt::milliseconds(20));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(
      std::regex_match(out, std::regex("scheduler\\.cpp,[0-9]+: ARGH 50 50\n"
                                       "scheduler\\.cpp,[0-9]+: ARGH 4000000000 4000000000\n")))
      << out;
}

}  // namespace
