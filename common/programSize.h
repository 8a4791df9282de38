// The length of a program's own file, recorded in its initialised data.
//
// Each program defines one ProgramSizeMark with SAVER_PROGRAM_SIZE_MARK. After
// link, the host tool patch-program-size finds the mark's tag in the file and
// stores the file length behind it, so the program knows where the data
// appended to its file begins.
#ifndef SAVER_COMMON_PROGRAM_SIZE_H
#define SAVER_COMMON_PROGRAM_SIZE_H

#include <stdint.h>

#define PROGRAM_SIZE_TAG_LENGTH 12
// Written as separate halves so that the whole tag exists only inside the mark.
#define PROGRAM_SIZE_TAG_FIRST "\x7fQRSIZE"
#define PROGRAM_SIZE_TAG_SECOND "MARK"

struct ProgramSizeMark {
  char tag[PROGRAM_SIZE_TAG_LENGTH];
  uint32_t sizeInBytes;
};

#define SAVER_PROGRAM_SIZE_MARK(variable)             \
  extern "C" volatile const ProgramSizeMark variable; \
  extern "C" volatile const ProgramSizeMark variable = {PROGRAM_SIZE_TAG_FIRST PROGRAM_SIZE_TAG_SECOND, 0}

// Reads the patched value; volatile keeps the compiler from folding the 0.
inline uint32_t programSizeOf(volatile const ProgramSizeMark &mark) { return mark.sizeInBytes; }

#endif
