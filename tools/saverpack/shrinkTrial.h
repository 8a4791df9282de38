// The first look at whether a file can shrink: its first block imploded on
// its own. A file that does not shrink there is stored plain without
// imploding the rest, so that random or already compressed data (video,
// pictures) costs little more than a copy. The trials of many files run on
// every core.
#ifndef SAVER_TOOLS_SAVERPACK_SHRINK_TRIAL_H
#define SAVER_TOOLS_SAVERPACK_SHRINK_TRIAL_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// True when the first block of the file at source (UTF-8) implodes (fast:
// with the greedy coder) into fewer bytes, or when it cannot be read:
// storing it tells what is wrong.
bool firstBlockShrinks(const std::string &source, bool fast);
// The same for the bytes of file from offset.
bool firstBlockShrinks(std::FILE *file, int64_t offset, bool fast);

// firstBlockShrinks for each of sources, the empty ones left false.
std::vector<bool> firstBlocksShrink(const std::vector<std::string> &sources, bool fast);

#endif
