#include "system/scheduler.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

namespace pt = boost::posix_time;
using System::Scheduler;

pt::time_duration us(long count) { return pt::microseconds(count); }
pt::time_duration ms(long count) { return pt::milliseconds(count); }

// Pumped with chosen clock readings; runs records which task ran, in order.
class SchedulerTest : public testing::Test {
 protected:
  Scheduler::Task add(const std::string& name, unsigned delay, unsigned interval,
                      bool repeat = true) {
    return scheduler.addTask(
        [this, name, repeat](unsigned) {
          runs.push_back(name);
          return repeat;
        },
        delay, interval);
  }

  Scheduler scheduler;
  std::vector<std::string> runs;
};

TEST_F(SchedulerTest, OverdueTasksRunEarliestFirstAndTheDueOneWaits) {
  EXPECT_EQ(0u, scheduler.run());
  // Delays far apart, so that the clock moving between the additions cannot reorder them.
  add("late", 30000, 0);
  add("early", 10000, 0);
  const pt::ptime reading = add("due", 40000, 0).due;
  add("next", 80000, 0);

  EXPECT_EQ(0u, scheduler.run(reading));  // the task due now is next
  EXPECT_EQ((std::vector<std::string>{"early", "late"}), runs);
  scheduler.run(reading + us(1));
  EXPECT_EQ("due", runs.back());
}

TEST_F(SchedulerTest, LatePumpRunsARepeatingTaskOnceWithoutCatchingUp) {
  const pt::ptime late = add("tick", 10, 10).due + ms(35);
  EXPECT_EQ(10u, scheduler.run(late));
  EXPECT_EQ(1u, runs.size());
  // Next due 10 ms after the late reading, not after its old due time.
  EXPECT_EQ(0u, scheduler.run(late + ms(10)));
  EXPECT_EQ(1u, runs.size());
  EXPECT_EQ(10u, scheduler.run(late + ms(10) + us(1)));
  EXPECT_EQ(2u, runs.size());
}

TEST_F(SchedulerTest, ResultIsTruncatedToWholeMilliseconds) {
  const pt::ptime due = add("tick", 10, 10).due;
  EXPECT_EQ(9u, scheduler.run(due - us(9700)));
  EXPECT_EQ(0u, scheduler.run(due - us(300)));
}

TEST_F(SchedulerTest, TaskEndsWhenItsCallbackSaysFalseOrItsIntervalIsZero) {
  const pt::ptime reading = add("once", 0, 0, true).due + ms(1);
  add("refuses", 0, 10, false);
  EXPECT_EQ(0u, scheduler.run(reading));
  EXPECT_EQ(0u, scheduler.run(reading + ms(100)));
  EXPECT_EQ(2u, runs.size());
}

TEST_F(SchedulerTest, TaskAddedByACallbackWaitsForALaterPump) {
  scheduler.addTask(
      [this](unsigned) {
        runs.push_back("parent");
        add("child", 0, 0);
        return false;
      },
      0, 0);
  // The real clock: a task added during a pump is never due before that pump's reading.
  while (runs.empty()) scheduler.run();
  ASSERT_EQ(1u, runs.size());
  while (runs.size() == 1) scheduler.run();
  EXPECT_EQ("child", runs.back());
}

TEST_F(SchedulerTest, EachAddTaskWritesOneArghLineAndCopiesWriteNone) {
  testing::internal::CaptureStdout();
  const Scheduler::Task task = add("tick", 50, 7);
  const Scheduler::Task far = add("far", 4000000000u, 1);
  Scheduler::Task copy = task;
  copy = far;
  scheduler.run(task.due + ms(1));
  scheduler.run(task.due + ms(20));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(
      std::regex_match(out, std::regex("scheduler\\.cpp,[0-9]+: ARGH 50 50\n"
                                       "scheduler\\.cpp,[0-9]+: ARGH 4000000000 4000000000\n")))
      << out;
}

}  // namespace
