#include "system/monotonicclock.h"

#include <chrono>

namespace System {

boost::posix_time::ptime monotonicNow() {
  // The start of 1970 only gives the readings a valid date; the monotonic clock's own origin
  // (about when the machine started) is what they count from.
  static const boost::posix_time::ptime origin(boost::gregorian::date(1970, 1, 1));
  const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
  return origin + boost::posix_time::microseconds(
                      std::chrono::duration_cast<std::chrono::microseconds>(sinceOrigin).count());
}

}  // namespace System
