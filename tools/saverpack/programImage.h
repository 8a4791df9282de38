// The program files that an installer file is made of: each records its own
// length in its size constant, and whatever follows that length was appended.
#ifndef SAVER_TOOLS_SAVERPACK_PROGRAM_IMAGE_H
#define SAVER_TOOLS_SAVERPACK_PROGRAM_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The tag in front of a program's size constant, NUL included.
std::string programSizeTag();

// Finds the first size constant in bytes[from, to): true with its value.
bool findProgramSize(const std::vector<uint8_t> &bytes, size_t from, size_t to, uint32_t &size);

// A program may be appended to only when its size constant holds its own
// length; otherwise it would look for its data in the wrong place.
bool checkProgramSize(const std::vector<uint8_t> &program, const std::string &what, std::string &error);

#endif
