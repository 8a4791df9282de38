// The package operations read the installer's size mark; as in the program,
// the executable that links them defines it.
#include "common/programSize.h"

SAVER_PROGRAM_SIZE_MARK(INSTALLER_SIZE_IN_BYTES);
