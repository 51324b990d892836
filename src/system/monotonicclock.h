#pragma once
// The one clock of timed tasks and frame rates.

#include <boost/date_time/posix_time/posix_time_types.hpp>

namespace System {

// Time counted by the system's monotonic clock from a fixed origin, so that setting the wall
// clock (by hand, by NTP or for daylight-saving time) neither stalls nor hurries what is timed.
// Its readings are comparable with each other only, not with a date.
boost::posix_time::ptime monotonicNow();

}  // namespace System
