#include "system/scheduler.h"

#include <gtest/gtest.h>

#include <boost/function/function_base.hpp>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace pt = boost::posix_time;

class SchedulerTest : public testing::Test {
 protected:
  // Each run is logged as "name interval #n", n counting the runs of the task's own callable.
  // A repeating task stops after ten runs, so that a scheduler making up missed periods fails
  // fast instead of running for ever.
  pt::ptime add(const std::string& name, unsigned delay, unsigned interval, bool repeat = true) {
    return scheduler
        .addTask(
            [this, name, repeat, count = 0](unsigned given) mutable {
              runs.push_back(name + " " + std::to_string(given) + " #" + std::to_string(++count));
              return repeat && count < 10;
            },
            delay, interval)
        .due;
  }

  System::Scheduler scheduler;
  std::vector<std::string> runs;
};

TEST_F(SchedulerTest, OverdueTasksRunEarliestFirstAndTheDueOneWaits) {
  EXPECT_EQ(0u, scheduler.run());
  // Due at its own creation: runs at the first pump whose clock reading is later.
  add("now", 0, 0);
  unsigned wait = 1;
  for (int pumps = 0; runs.empty() && pumps < 10000000; ++pumps) wait = scheduler.run();
  EXPECT_EQ(0u, wait);
  EXPECT_EQ(std::vector<std::string>{"now 0 #1"}, runs);
  runs.clear();
  // Delays far apart, so that the clock moving between the additions cannot reorder them.
  add("late", 30000, 0);
  add("early", 10000, 0);
  const pt::ptime reading = add("due", 40000, 0);
  add("next", 80000, 0);
  EXPECT_EQ(0u, scheduler.run(reading));
  EXPECT_EQ((std::vector<std::string>{"early 0 #1", "late 0 #1"}), runs);
  scheduler.run(reading + pt::microseconds(1));
  scheduler.run(reading + pt::milliseconds(20000));
  EXPECT_EQ((std::vector<std::string>{"early 0 #1", "late 0 #1", "due 0 #1"}), runs);
}

TEST_F(SchedulerTest, LatePumpRunsOnceWithoutCatchingUpAndTruncatesTheWait) {
  add("tick", 10, 10);
  // Due after tick: its false ends it although its interval is not 0.
  const pt::ptime late = add("stop", 20, 5, false) + pt::milliseconds(25);
  EXPECT_EQ(10u, scheduler.run(late));
  EXPECT_EQ(9u, scheduler.run(late + pt::microseconds(300)));
  EXPECT_EQ(0u, scheduler.run(late + pt::milliseconds(10)));
  EXPECT_EQ((std::vector<std::string>{"tick 10 #1", "stop 5 #1"}), runs);
  EXPECT_EQ(10u, scheduler.run(late + pt::microseconds(10001)));
  EXPECT_EQ((std::vector<std::string>{"tick 10 #1", "stop 5 #1", "tick 10 #2"}), runs);
}

TEST_F(SchedulerTest, EachAddTaskWritesOneArghLineAndCopiesWriteNone) {
  testing::internal::CaptureStdout();
  const pt::ptime due = add("tick", 50, 7);
  System::Scheduler::Task copy = scheduler.addTask({}, 4000000000u, 1);
  copy = System::Scheduler::Task(copy);
  EXPECT_NO_THROW(scheduler.run(due + pt::milliseconds(1)));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(
      std::regex_match(out, std::regex("scheduler\\.cpp,[0-9]+: ARGH 50 50\n"
                                       "scheduler\\.cpp,[0-9]+: ARGH 4000000000 4000000000\n")))
      << out;
  EXPECT_EQ(1u, copy.interval);
  EXPECT_EQ(pt::milliseconds(4000000000), copy.due - copy.created);
  // An empty callback throws once its task is off the queue; what was due before it has run.
  EXPECT_THROW(scheduler.run(copy.due + pt::milliseconds(1)), boost::bad_function_call);
  EXPECT_EQ(7u, scheduler.run(copy.due + pt::milliseconds(1)));
  EXPECT_EQ((std::vector<std::string>{"tick 7 #1", "tick 7 #2"}), runs);
}

}  // namespace
