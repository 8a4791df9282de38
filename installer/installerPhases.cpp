#include "installer/installerPhases.h"

#include "installer/installerTexts.h"
#include "common/statusCodes.h"

PhaseView phaseView(InstallerPhase phase) {
  switch (phase) {
    case InstallerPhase::ready:
    case InstallerPhase::afterAbort:
      // After an abort the emptied status line stays visible.
      return PhaseView{true, true, true, true, false, phase == InstallerPhase::afterAbort};
    case InstallerPhase::installing:
      return PhaseView{true, false, true, true, false, true};
    case InstallerPhase::done:
      return PhaseView{false, false, false, false, true, true};
    case InstallerPhase::failed:
      return PhaseView{true, false, true, true, false, true};
  }
  return PhaseView{true, true, true, true, false, false};
}

Completion completionFor(int32_t status, TextLookup text) {
  if (status == 0) return Completion{InstallerPhase::done, text(IDS_INSTALLATION_COMPLETE), false};
  if (status == SYSTEM_ERROR_ACCESS_DENIED)
    return Completion{InstallerPhase::failed, text(IDS_INSUFFICIENT_PRIVILEGES), true};
  if (status == STATUS_SCREEN_SAVER_BUSY)
    return Completion{InstallerPhase::failed, text(IDS_SAVER_NOT_REPLACEABLE), true};
  return Completion{InstallerPhase::failed, installFailedText(status, text), false};
}
