#pragma once
// Timed tasks, each run when due and repeated at its interval, pumped by its owner.

#include <boost/date_time/posix_time/posix_time_types.hpp>
#include <boost/function.hpp>
#include <queue>
#include <vector>

namespace System {

class Scheduler {
 public:
  // Called with the task's interval; false (or an interval of 0) ends the task.
  typedef boost::function<bool(unsigned int)> Callback;

  struct Task {
    // Due delay ms from now; announces itself with one log line (copies do not).
    Task(unsigned int delay, unsigned int interval, Callback callback);

    boost::posix_time::ptime created;
    boost::posix_time::ptime due;
    unsigned int interval;
    Callback callback;
  };

  // Puts the task with the earliest due time on top of the heap.
  struct TaskCompare {
    bool operator()(const Task& first, const Task& second) const { return first.due > second.due; }
  };

  Scheduler();
  ~Scheduler();

  // Queues a task due after delay ms, then every interval ms; returns a copy of it.
  Task addTask(Callback callback, unsigned int delay, unsigned int interval);

  // Runs the overdue tasks and returns the milliseconds until the next one is
  // due, or 0 when none is left.
  unsigned int run();

  // The same with a given clock reading: a task runs only if due strictly
  // before now, at most once, and a repeating one is next due an interval
  // after now.
  unsigned int run(const boost::posix_time::ptime& now);

 private:
  static boost::posix_time::ptime clock();

  std::priority_queue<Task, std::vector<Task>, TaskCompare> tasks;
};

}  // namespace System
