// The run log that "/log=PATH" asks for: plain UTF-8 lines that the launcher
// and the installer append to one file, each stamped with the time (UTC) and
// the program that wrote it, so that support can read why a silent install
// failed. The lines are portable; the file is the Windows layer's
// (runLog_win32.cpp). A log that cannot be written is skipped: it never stops
// an install.
#ifndef SAVER_COMMON_RUN_LOG_H
#define SAVER_COMMON_RUN_LOG_H

#include <cstdint>
#include <string>
#include <vector>

struct UtcTime {
  int year, month, day, hour, minute, second;
};

// "2026-12-10T09:47:31Z saversetup: text"; line breaks inside text become
// spaces, so that every entry stays one line.
std::string runLogLine(const UtcTime &time, const std::string &program, const std::string &text);

std::string commandLineText(const std::vector<std::string> &parameters);
std::string placedText(const std::string &path, uint64_t size);
std::string valueWrittenText(const std::string &key, const std::string &name, const std::string &data);
// "failed with status -36 (C:\w\temp.dat): message"; subject "" is left out.
std::string failureText(int32_t status, const std::string &subject, const std::string &message);
// The run's last line.
std::string exitCodeText(int32_t code);

// The log file of one program, held open for appending from open() to the
// end and shared with the other program, which appends to it too. The path
// is the deployer's, but a program that runs elevated must not be led by a
// link to append to another file: a file reached through a linked folder, a
// symbolic link or a second hard link is not written (and not left behind
// when this open made it).
class RunLog {
 public:
  RunLog() = default;
  ~RunLog();
  RunLog(const RunLog &) = delete;
  RunLog &operator=(const RunLog &) = delete;
  // path "" keeps the log closed; a relative path is taken from the current
  // folder now. program names the writer on every line.
  void open(const std::string &path, const std::string &program);
  // The full path, for the launcher to pass on to the installer, which
  // checks it for itself.
  const std::string &path() const { return path_; }
  // Whether lines are written: callers skip putting one together otherwise.
  bool isOpen() const { return file_ != nullptr; }
  // Appends one line: a UTF-8 text as it is, any other read in the system
  // code page.
  void write(const std::string &text) const;

 private:
  void *file_ = nullptr;  // the open file's handle, or none
  std::string path_;
  std::string program_;
};

#endif
