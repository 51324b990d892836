#include "system/scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace pt = boost::posix_time;

using System::Scheduler;

// Records each run under a name and answers with a fixed result.
Scheduler::Callback recorder(std::vector<std::string>& runs, const std::string& name,
                             bool repeat = true) {
  return [&runs, name, repeat](unsigned int) {
    runs.push_back(name);
    return repeat;
  };
}

pt::time_duration us(long count) { return pt::microseconds(count); }
pt::time_duration ms(long count) { return pt::milliseconds(count); }

// Captures standard output for the lifetime of the object.
class CapturedCout {
 public:
  CapturedCout() : saved(std::cout.rdbuf(captured.rdbuf())) {}
  ~CapturedCout() { std::cout.rdbuf(saved); }
  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::istringstream in(captured.str());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

 private:
  std::ostringstream captured;
  std::streambuf* saved;
};

TEST(Scheduler, EmptySchedulerReturnsZero) {
  Scheduler scheduler;
  EXPECT_EQ(scheduler.run(), 0u);
  EXPECT_EQ(scheduler.run(pt::ptime(pt::min_date_time)), 0u);
}

TEST(Scheduler, TaskDueExactlyAtTheReadingWaitsForTheNextPump) {
  Scheduler scheduler;
  std::vector<std::string> runs;
  const Scheduler::Task zero = scheduler.addTask(recorder(runs, "zero", false), 0, 0);
  EXPECT_EQ(zero.due, zero.created);

  EXPECT_EQ(scheduler.run(zero.created), 0u);
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(scheduler.run(zero.created + us(1)), 0u);
  EXPECT_EQ(runs, std::vector<std::string>{"zero"});
}

TEST(Scheduler, OverdueTasksRunEarliestFirst) {
  Scheduler scheduler;
  std::vector<std::string> runs;
  std::vector<std::pair<pt::ptime, std::string>> dues;
  for (const unsigned int delay : {30u, 10u, 20u, 0u}) {
    const std::string name = std::to_string(delay);
    dues.emplace_back(scheduler.addTask(recorder(runs, name, false), delay, 0).due, name);
  }
  const Scheduler::Task late = scheduler.addTask(recorder(runs, "late", false), 60000, 0);
  std::sort(dues.begin(), dues.end());
  const pt::ptime reading = dues.back().first + us(1);
  ASSERT_LT(reading, late.due);

  const unsigned int wait = scheduler.run(reading);

  std::vector<std::string> expected;
  for (const auto& due : dues) expected.push_back(due.second);
  EXPECT_EQ(runs, expected);
  EXPECT_EQ(wait, static_cast<unsigned int>((late.due - reading).total_milliseconds()));
}

TEST(Scheduler, LatePumpRunsARepeatingTaskOnceWithoutCatchingUp) {
  Scheduler scheduler;
  std::vector<unsigned int> intervals;
  const Scheduler::Task task = scheduler.addTask(
      [&intervals](unsigned int interval) {
        intervals.push_back(interval);
        return true;
      },
      10, 10);
  const pt::ptime late = task.due + ms(35);

  EXPECT_EQ(scheduler.run(late), 10u);
  EXPECT_EQ(intervals, std::vector<unsigned int>{10});

  // Next due 10 ms after the late reading, not after the old due time.
  EXPECT_EQ(scheduler.run(late + ms(10)), 0u);
  EXPECT_EQ(intervals.size(), 1u);
  EXPECT_EQ(scheduler.run(late + ms(10) + us(1)), 10u);
  EXPECT_EQ(intervals.size(), 2u);
}

TEST(Scheduler, ResultIsTruncatedToWholeMilliseconds) {
  Scheduler scheduler;
  const Scheduler::Task task = scheduler.addTask([](unsigned int) { return true; }, 10, 10);
  EXPECT_EQ(scheduler.run(task.due - us(9700)), 9u);
  EXPECT_EQ(scheduler.run(task.due - us(300)), 0u);
}

TEST(Scheduler, TaskEndsOnFalseOrZeroInterval) {
  Scheduler scheduler;
  std::vector<std::string> runs;
  const Scheduler::Task once = scheduler.addTask(recorder(runs, "once", true), 0, 0);
  scheduler.addTask(recorder(runs, "refuses", false), 0, 10);

  const pt::ptime reading = once.created + ms(1);
  EXPECT_EQ(scheduler.run(reading), 0u);
  EXPECT_EQ(scheduler.run(reading + ms(100)), 0u);
  std::sort(runs.begin(), runs.end());
  EXPECT_EQ(runs, (std::vector<std::string>{"once", "refuses"}));
}

// A callable that counts its own runs, to see which copy is put back.
struct Counter {
  std::vector<int>* seen;
  int count;
  bool operator()(unsigned int) {
    seen->push_back(++count);
    return true;
  }
};

TEST(Scheduler, RequeuedTaskKeepsTheStateOfItsCallback) {
  Scheduler scheduler;
  std::vector<int> seen;
  const Scheduler::Task task = scheduler.addTask(Counter{&seen, 0}, 5, 5);
  pt::ptime reading = task.due;
  for (int pump = 0; pump < 3; ++pump) {
    reading += ms(6);
    scheduler.run(reading);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST(Scheduler, TaskAddedByACallbackWaitsForALaterPump) {
  Scheduler scheduler;
  std::vector<std::string> runs;
  scheduler.addTask(
      [&](unsigned int) {
        runs.push_back("parent");
        scheduler.addTask(recorder(runs, "child", false), 0, 0);
        return false;
      },
      0, 0);
  // The real clock: a task added during a pass is never before its reading.
  while (runs.empty()) scheduler.run();
  ASSERT_EQ(runs, std::vector<std::string>{"parent"});
  while (runs.size() == 1) scheduler.run();
  EXPECT_EQ(runs, (std::vector<std::string>{"parent", "child"}));
}

TEST(Scheduler, EachAddTaskWritesOneArghLineWithTheDelayTwice) {
  Scheduler scheduler;
  std::vector<std::string> lines;
  {
    CapturedCout cout;
    const Scheduler::Task task = scheduler.addTask([](unsigned int) { return true; }, 50, 7);
    const Scheduler::Task far =
        scheduler.addTask([](unsigned int) { return true; }, 4000000000u, 1);
    EXPECT_EQ((far.due - far.created).total_milliseconds(), 4000000000);
    Scheduler::Task copy = task;
    copy = task;
    scheduler.run(task.due + ms(1));
    scheduler.run(task.due + ms(20));
    lines = cout.lines();
  }
  ASSERT_EQ(lines.size(), 2u);
  const char* expected[] = {"ARGH 50 50", "ARGH 4000000000 4000000000"};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(lines[i].rfind("scheduler.cpp,", 0), 0u) << lines[i];
    const std::size_t end = lines[i].find(": ");
    ASSERT_NE(end, std::string::npos) << lines[i];
    EXPECT_EQ(lines[i].substr(end + 2), expected[i]);
  }
}

}  // namespace
