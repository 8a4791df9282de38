// Apart from the rest of runningProgram.h, so that a program that never
// reads its parameters this way does not carry the code.
#include <stdlib.h>

#include "common/runningProgram.h"

std::vector<std::string> commandLineParameters() {
  return std::vector<std::string>(__argv + 1, __argv + __argc);
}
