// "/u": the uninstall that an entry of a package without the carried
// uninstaller runs. It removes what the carried uninstaller would (see
// package/saverRemoval.h), found by the name of the running program; a
// program whose own name is no coded short name (see locateSaver) removes
// nothing. Nothing is read from "saver.dat" to decide any of it, so a
// tampered or missing file cannot widen it.
#ifndef SAVER_EXAMPLES_SAVER_UNINSTALL_H
#define SAVER_EXAMPLES_SAVER_UNINSTALL_H

#include "examples/sample/saverPlace.h"

#include <cstdint>
#include <string>

// Asks first unless quiet; the answer "No" gives STATUS_USER_ABORT and
// removes nothing. Stops at the first failure, keeping the uninstall entry so
// that it can be run again, and tells the user unless quiet. 0 when all is
// gone.
int32_t uninstallSaver(const SaverPlace &place, const std::string &title, bool quiet);

#endif
