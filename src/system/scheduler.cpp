#include "system/scheduler.h"

#include <cstdint>
#include <iostream>
#include <utility>

#include "system/log.h"
#include "system/monotonicclock.h"

namespace System {

namespace pt = boost::posix_time;

Scheduler::Task::Task(unsigned int delay, unsigned int interval, Callback callback)
    : created(clock()),
      due(created + pt::milliseconds(static_cast<std::int64_t>(delay))),
      interval(interval),
      callback(std::move(callback)) {
  const pt::time_duration wait = due - created;
  std::cout << LOG_PREFIX << "ARGH " << static_cast<unsigned int>(wait.total_milliseconds()) << " "
            << delay << std::endl;
}

Scheduler::Scheduler() {}

Scheduler::~Scheduler() {}

Scheduler::Task Scheduler::addTask(Callback callback, unsigned int delay, unsigned int interval) {
  Task task(delay, interval, std::move(callback));
  tasks.push(task);
  return task;
}

unsigned int Scheduler::run() { return run(clock()); }

unsigned int Scheduler::run(const pt::ptime& now) {
  // One reading serves the whole pass, so a task put back is due after it and
  // cannot run twice, and a late pump never makes up missed periods.
  while (!tasks.empty() && tasks.top().due < now) {
    Task task = tasks.top();
    tasks.pop();
    if (task.callback(task.interval) && task.interval > 0) {
      task.due = now + pt::milliseconds(static_cast<std::int64_t>(task.interval));
      tasks.push(std::move(task));
    }
  }
  if (tasks.empty()) {
    return 0;
  }
  return static_cast<unsigned int>((tasks.top().due - now).total_milliseconds());
}

pt::ptime Scheduler::clock() { return monotonicNow(); }

}  // namespace System
