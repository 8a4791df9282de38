// What the installer window shows in each phase of its life, and which phase
// and status line an installation ends in. Portable.
#ifndef SAVER_INSTALLER_INSTALLER_PHASES_H
#define SAVER_INSTALLER_INSTALLER_PHASES_H

#include "common/programTexts.h"

#include <cstdint>
#include <string>

enum class InstallerPhase { ready, installing, done, failed, afterAbort };

// The buttons and the status line; the caption and width of "Install" are
// set once, by the licence mode.
struct PhaseView {
  bool installVisible;
  bool installEnabled;
  bool cancelVisible;
  bool cancelEnabled;
  bool closeVisible;  // and focused
  bool statusVisible;
};

PhaseView phaseView(InstallerPhase phase);

struct Completion {
  InstallerPhase phase;
  std::string statusLine;
  // The status goes to the error box too, with its number as the file text.
  bool reportError;
};

// The end of an installation that was not aborted, by its status.
Completion completionFor(int32_t status, TextLookup text);

#endif
