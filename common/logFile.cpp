#include "common/logFile.h"

#ifdef SAVER_TRACE_FILE
#include <cstdio>

static void writeTrace(const std::string &text) {
  if (FILE *trace = std::fopen("saver-trace.log", "a")) {
    std::fprintf(trace, "%s\n", text.c_str());
    std::fclose(trace);
  }
}

void logLine(const std::string &text) { writeTrace(text); }
void logEnter(const std::string &routine) { writeTrace("> " + routine); }
void logEnterWithArg(const std::string &routine, const std::string &argument) {
  writeTrace("> " + routine + " " + argument);
}
void logLeave(const std::string &routine) { writeTrace("< " + routine); }
void logLeaveWithResult(const std::string &routine, int32_t result) {
  writeTrace("< " + routine + " = " + std::to_string(result));
}

#else

void logLine(const std::string &) {}
void logEnter(const std::string &) {}
void logEnterWithArg(const std::string &, const std::string &) {}
void logLeave(const std::string &) {}
void logLeaveWithResult(const std::string &, int32_t) {}

#endif

TraceScope::TraceScope(const char *routine) : routine_(routine) { logEnter(routine_); }

TraceScope::TraceScope(const char *routine, const std::string &argument) : routine_(routine) {
  logEnterWithArg(routine_, argument);
}

TraceScope::~TraceScope() {
  if (hasResult_)
    logLeaveWithResult(routine_, result_);
  else
    logLeave(routine_);
}

int32_t TraceScope::result(int32_t value) {
  result_ = value;
  hasResult_ = true;
  return value;
}
