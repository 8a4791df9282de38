// What a failed step has to tell the user. The steps show nothing
// themselves: they return their status and add what concerns the user here,
// in the order it happened, and the run's observer tells it. Portable.
#ifndef SAVER_PACKAGE_PACKAGE_FAILURE_H
#define SAVER_PACKAGE_PACKAGE_FAILURE_H

#include <cstdint>
#include <string>
#include <vector>

enum class FailureKind {
  File,            // an entry, member, name or path of the package: status and subject
  ExpansionSetUp,  // the expansion's input or output could not be prepared (system code)
  DataFileInUse,   // a second open of the data file, which is refused
  DataFileOpen,    // the data file at subject could not be opened or read in
  DataFileRead,    // a member's bytes could not be read (system code or a short file)
  DataFileClose,   // the data file could not be closed (system code)
  // The installer's own ends, told by the same voice:
  StartupEnded,       // the start-up ended with status
  InstallEnded,       // an install run in the preparing window ended with status
  PictureUnreadable,  // the splash picture at subject cannot be shown
  Refused,            // the install changed nothing; subject is the message that says why
};

struct Failure {
  FailureKind kind;
  int32_t status;       // the status told; a system code for the system's text
  std::string subject;  // the path or name concerned, "" for none
};

// Operations append; a caller shows the list and starts the next one empty.
using Failures = std::vector<Failure>;

// Appends one failure; out of line, so that each operation's call is short.
void addFailure(Failures &failures, FailureKind kind, int32_t status, const std::string &subject);

#endif
