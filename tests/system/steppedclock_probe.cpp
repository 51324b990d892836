// Run under libfaketime, whose wall clock follows the offset in the file that
// FAKETIME_TIMESTAMP_FILE names. Queues a task due in a minute, then for each offset given
// ("-60", "+86400"...) sets the wall clock to it, pumps the scheduler and prints
// "wall OFFSET s: next task in MS ms, runs N", the offset as the wall clock shows it.

#include <boost/date_time/posix_time/posix_time.hpp>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "system/scheduler.h"

namespace pt = boost::posix_time;

int main(int argc, char** argv) {
  const char* offsets = std::getenv("FAKETIME_TIMESTAMP_FILE");
  if (!offsets) return 2;
  const pt::ptime start = pt::microsec_clock::universal_time();
  System::Scheduler scheduler;
  int runs = 0;
  scheduler.addTask([&runs](unsigned) { return ++runs > 0; }, 60000, 60000);
  for (int i = 1; i < argc; ++i) {
    std::ofstream(offsets) << argv[i] << std::endl;
    const pt::time_duration wall = pt::microsec_clock::universal_time() - start;
    const unsigned next = scheduler.run();
    // Whole seconds, rounded: the probe itself takes milliseconds.
    std::cout << "wall " << std::lround(wall.total_milliseconds() / 1000.0) << " s: next task in "
              << next << " ms, runs " << runs << std::endl;
  }
  return 0;
}
