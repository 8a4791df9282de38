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

void Progress::fileDone(const std::string &what, uint64_t expanded, uint64_t stored) {
  if (!due()) return;
  *out_ << elapsed() << what << ": " << expanded << " bytes";
  if (stored != expanded) *out_ << ", stored in " << stored;
  *out_ << "\n";
}

void Progress::memberDone(size_t done, size_t count, uint64_t expandedSoFar) {
  if (!due() || (done != count && Clock::now() - lastMemberLine_ < MEMBER_LINE_INTERVAL)) return;
  lastMemberLine_ = Clock::now();
  *out_ << elapsed() << "data file: member " << done << " of " << count << ", " << expandedSoFar
        << " bytes\n";
}
