// "saverpack inspect": the layers of an installer or launcher file, its
// package header and entries, and the member table of its data file, or of a
// data file given alone; as text, or as JSON for scripts.
#ifndef SAVER_TOOLS_SAVERPACK_INSPECT_H
#define SAVER_TOOLS_SAVERPACK_INSPECT_H

#include <cstdint>
#include <ostream>
#include <vector>

// False when the bytes are neither a program with a package nor a data file.
bool inspectFile(const std::vector<uint8_t> &file, std::ostream &out, bool asJson = false);

#endif
