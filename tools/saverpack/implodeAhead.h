// Imploding a data file's members ahead of its writer, on every core.
// Workers read and implode members up to a size cap into memory in table
// order while the writer stores them in that order, so the output is the
// same as storing them one after the other. Bigger members are left to the
// writer, which streams them. The bytes held ahead are bounded, so the
// memory does not grow with the package.
#ifndef SAVER_TOOLS_SAVERPACK_IMPLODE_AHEAD_H
#define SAVER_TOOLS_SAVERPACK_IMPLODE_AHEAD_H

#include "tools/saverpack/storedFile.h"

#include <memory>
#include <string>
#include <vector>

class ImplodeAhead {
 public:
  // sources[i]: the file of member i to implode (fast: with the greedy
  // coder), empty for a member the writer stores itself.
  ImplodeAhead(const std::vector<std::string> &sources, bool fast);
  ~ImplodeAhead();  // stops the workers, dropping what they made
  ImplodeAhead(const ImplodeAhead &) = delete;
  ImplodeAhead &operator=(const ImplodeAhead &) = delete;

  // Member index as a worker made it, waiting for it: false when no worker
  // takes it (too big, or the build has no threads) or it could not be
  // read, and the writer is to store it from its file.
  bool take(size_t index, ReadFile &file);

 private:
  struct Pool;
  std::unique_ptr<Pool> pool_;
};

#endif
