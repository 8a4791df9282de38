// "/u": the uninstall the uninstall entry runs.
//
// What it removes, and nothing else:
// - the saver folder, shared folder + coded name + "\", as a whole: the name
//   belongs to this saver alone, and the installer itself treats the folder
//   as one unit (it replaces it whole). Links inside it are removed, never
//   followed; when the saver folder itself is a link, only the link goes;
// - the shared folder, only when that leaves it empty;
// - its program, coded name + ".scr", in the system folder and on 64-bit
//   Windows the native one; a copy that is running goes at the next start;
// - the uninstall entries, machine or user, whose command runs exactly that
//   program with "/u";
// - the active-saver setting, where it names that program.
// Nothing is read from "saver.dat" to decide any of it, so a tampered or
// missing file cannot widen it, and a program whose own name is no coded
// short name (see locateSaver) removes nothing.
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
