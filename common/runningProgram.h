// The running program's own file.
#ifndef SAVER_COMMON_RUNNING_PROGRAM_H
#define SAVER_COMMON_RUNNING_PROGRAM_H

#include <string>
#include <vector>

// The running program's path as the system started it; "" when the system
// cannot tell it.
std::string ownProgramFile();

// The running program's path in its long form: the control panel may start a
// saver by its short name, and the names derived from it are the long ones.
// "" when the system cannot tell it.
std::string runningProgramPath();

// The program's parameters 1 to N, as the C runtime split its command line.
std::vector<std::string> commandLineParameters();

#endif
