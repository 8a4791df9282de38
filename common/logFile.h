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

// Traces a routine's entry at once and its leave when the scope ends, on every
// path out of it; the leave line shows the result when one was recorded.
//   TraceScope trace("Package.extractEntry", std::to_string(index));
//   ...
//   return trace.result(status);
class TraceScope {
 public:
  explicit TraceScope(const char *routine);
  TraceScope(const char *routine, const std::string &argument);
  ~TraceScope();
  TraceScope(const TraceScope &) = delete;
  TraceScope &operator=(const TraceScope &) = delete;

  // Records the result for the leave line and hands it back.
  int32_t result(int32_t value);

 private:
  const char *routine_;
  int32_t result_ = 0;
  bool hasResult_ = false;
};

#endif
