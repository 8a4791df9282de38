#include "tools/saverpack/progress.h"

#include <cstdio>

static const std::chrono::seconds QUIET_START(1);
static const std::chrono::seconds MEMBER_LINE_INTERVAL(1);

bool Progress::due() const { return out_ != nullptr && Clock::now() - start_ >= QUIET_START; }

std::string Progress::elapsed() const {
  char text[32];
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  std::snprintf(text, sizeof text, "[%6.1f s] ", seconds);
  return text;
}

void Progress::inputRead(uint64_t bytes, double seconds) {
  inputBytes_ += bytes;
  readingSeconds_ += seconds;
}

// Megabytes a second of the inputs so far, for the build and for reading alone.
std::string Progress::throughput() const {
  if (inputBytes_ == 0) return std::string();
  const double megabytes = static_cast<double>(inputBytes_) / 1e6;
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  char text[96];
  std::snprintf(text, sizeof text, " (%.0f MB/s; reading the inputs alone, as a copy does: %.0f MB/s)",
                megabytes / seconds, readingSeconds_ > 0 ? megabytes / readingSeconds_ : 0.0);
  return text;
}

void Progress::fileDone(const std::string &what, uint64_t expanded, uint64_t stored) {
  if (!due()) return;
  *out_ << elapsed() << what << ": " << expanded << " bytes";
  if (stored != expanded) *out_ << ", stored in " << stored;
  *out_ << throughput() << "\n";
}

void Progress::memberDone(size_t done, size_t count, uint64_t expandedSoFar) {
  if (!due() || (done != count && Clock::now() - lastMemberLine_ < MEMBER_LINE_INTERVAL)) return;
  lastMemberLine_ = Clock::now();
  *out_ << elapsed() << "data file: member " << done << " of " << count << ", " << expandedSoFar << " bytes"
        << throughput() << "\n";
}
