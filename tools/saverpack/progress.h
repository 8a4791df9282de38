// Progress lines for builds and extractions that take a while. Nothing is
// shown during the first second, so quick runs (and the tests) stay quiet;
// after that each entry gets a line, and data-file members one line a second.
// A build's lines give its throughput beside that of reading its inputs
// alone, a plain copy's pace.
#ifndef SAVER_TOOLS_SAVERPACK_PROGRESS_H
#define SAVER_TOOLS_SAVERPACK_PROGRESS_H

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

class Progress {
 public:
  // out null: silent.
  explicit Progress(std::ostream *out) : out_(out), start_(Clock::now()), lastMemberLine_(start_) {}

  // what: e.g. "entry 7 installer.swf"; bytes read and bytes stored.
  void fileDone(const std::string &what, uint64_t expanded, uint64_t stored);
  void memberDone(size_t done, size_t count, uint64_t expandedSoFar);
  // An input file of bytes read in seconds, before it is packed.
  void inputRead(uint64_t bytes, double seconds);

 private:
  using Clock = std::chrono::steady_clock;
  bool due() const;
  std::string elapsed() const;
  std::string throughput() const;

  std::ostream *out_;
  Clock::time_point start_, lastMemberLine_;
  uint64_t inputBytes_ = 0;
  double readingSeconds_ = 0;
};

#endif
