// "saverpack extract FILE DIR": unpacks an installer or launcher file into a
// new or empty folder: the programs, header.json (what inspect --json shows),
// each entry expanded, the data file's members, and manifest.json, which
// builds the same file again; that is checked before extract ends.
#ifndef SAVER_TOOLS_SAVERPACK_EXTRACT_H
#define SAVER_TOOLS_SAVERPACK_EXTRACT_H

#include "tools/saverpack/progress.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct ExtractOutcome {
  size_t filesWritten = 0;
  bool rebuildsIdentically = false;
  std::string rebuildDifference;  // why not, when not
  std::vector<std::string> notes;
};

// False, with nothing written, when the file cannot be unpacked or any of
// its names would lead out of folder; false too when writing fails.
bool extractFile(const std::vector<uint8_t> &file, const std::string &folder, Progress *progress,
                 ExtractOutcome &outcome, std::string &error);

#endif
