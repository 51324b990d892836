#pragma once
// The prefix of every log line that names its origin: "file.cpp,LINE: ".

#include <string>

#define VANTOR_LOG_STR2(x) #x
#define VANTOR_LOG_STR(x) VANTOR_LOG_STR2(x)

// The base name of the logging statement's own source file, its line, a colon
// and a blank, e.g. std::cout << LOG_PREFIX << "loaded" << std::endl;
#define LOG_PREFIX ::System::fileNameOf(__FILE__ "," VANTOR_LOG_STR(__LINE__) ": ")

namespace System {

// The part of path after its last slash or backslash; the whole path when it
// holds neither.
std::string fileNameOf(const std::string& path);

}  // namespace System
