#pragma once
// Keeps the three standard descriptors taken before anything opens a file.

namespace System {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed (read-only for standard
// input, write-only for the other two); open ones are left as they are. Without it, the first
// file or connection opened would take a closed one, and log lines would be written into it.
void openClosedStandardStreams();

}  // namespace System
