#include "common/runLog.h"

namespace {

// Zero-padded to width digits; printf's machinery would weigh more than the
// whole log.
std::string padded(int value, size_t width) {
  std::string digits = std::to_string(value);
  return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

}  // namespace

std::string runLogLine(const UtcTime &time, const std::string &program, const std::string &text) {
  std::string line = padded(time.year, 4) + "-" + padded(time.month, 2) + "-" + padded(time.day, 2) + "T" +
                     padded(time.hour, 2) + ":" + padded(time.minute, 2) + ":" + padded(time.second, 2) +
                     "Z " + program + ": " + text;
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
