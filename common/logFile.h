// Trace facility of both programs. Silent in the delivered build: every call
// returns at once. Configuring with SAVER_TRACE_FILE=ON appends the lines to
// "saver-trace.log" in the current folder, for development only.
#ifndef SAVER_COMMON_LOG_FILE_H
#define SAVER_COMMON_LOG_FILE_H

#include <cstdint>
#include <string>

void logLine(const std::string &text);
void logEnter(const std::string &routine);
void logEnterWithArg(const std::string &routine, const std::string &argument);
void logLeave(const std::string &routine);
void logLeaveWithResult(const std::string &routine, int32_t result);
std::string logBoolText(bool value);

#endif
