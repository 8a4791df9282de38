// When a program that changes the whole machine starts itself again with
// administrator rights. Both the installer and the uninstaller run as their
// caller: a per-user saver needs no rights at all, and a machine-wide one
// asks for them once, when the program finds it has none. Portable.
#ifndef SAVER_COMMON_ELEVATION_RULE_H
#define SAVER_COMMON_ELEVATION_RULE_H

#include <string>
#include <vector>

// The switch the elevated copy gets: it never starts another copy, even when
// its rights were not raised after all, so no consent prompt can follow
// another in a loop.
extern const char ELEVATED_COPY_SWITCH[];  // "/elevated"

struct ElevationFacts {
  bool forMachine = false;  // what the run changes needs administrator rights
  bool elevated = false;    // the process has them, or the system knows no such rights
  bool restarted = false;   // ELEVATED_COPY_SWITCH is on the command line
};

enum class ElevationStep {
  runHere,          // do the work in this process
  restartElevated,  // start the elevated copy, wait for it, end with its exit code
};

ElevationStep elevationStepFor(const ElevationFacts &facts);

// Whether the parameters hold ELEVATED_COPY_SWITCH.
bool isElevatedCopy(const std::vector<std::string> &parameters);

// The elevated copy's command line: the parameters as given, each in quotes
// when it holds a space or is empty, then ELEVATED_COPY_SWITCH.
std::string elevatedCopyParameters(const std::vector<std::string> &parameters);

#endif
