#include "common/runLog.h"

#include <cstdio>

std::string runLogLine(const UtcTime &time, const std::string &program, const std::string &text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02dZ ", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  std::string line = stamp + program + ": " + text;
  for (char &c : line)
    if (c == '\r' || c == '\n') c = ' ';
  return line;
}

std::string commandLineText(const std::vector<std::string> &parameters) {
  std::string text = "command line:";
  for (const std::string &parameter : parameters) text += " " + parameter;
  return text;
}

std::string placedText(const std::string &path, uint64_t size) {
  return "placed " + path + " (" + std::to_string(size) + " bytes)";
}

std::string valueWrittenText(const std::string &key, const std::string &name, const std::string &data) {
  return "registry " + key + ": " + name + " = " + data;
}

std::string failureText(int32_t status, const std::string &subject, const std::string &message) {
  std::string text = "failed with status " + std::to_string(status);
  if (!subject.empty()) text += " (" + subject + ")";
  return text + ": " + message;
}

std::string exitCodeText(int32_t code) { return "exit code " + std::to_string(code); }
