#include "installer/replacementStep.h"

#include "common/saverScope.h"
#include "common/unicodeText.h"
#include "common/logFile.h"
#include "common/statusCodes.h"
#include "installer/placementRules.h"
#include "installer/replacementRule.h"
#include "installer/stringTable.h"
#include "package/registryValues.h"

namespace {

const char VERSION_VALUE[] = "DisplayVersion";

struct InstalledEntry {
  bool machine = false;  // HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
  std::string version;   // "" without an entry or a version in it
};

// The machine's entry first, as the installer writes it.
InstalledEntry installedEntryOf(const InstallPlan &plan) {
  InstalledEntry entry;
  if (!isPlainKeyName(plan.saverName)) return entry;
  // The user's own saver has its entry in the user's list only.
  if (!userSaverScope()) entry.version = registryText(HKEY_LOCAL_MACHINE, plan.uninstallKey, VERSION_VALUE);
  entry.machine = !entry.version.empty();
  if (!entry.machine) entry.version = registryText(HKEY_CURRENT_USER, plan.uninstallKey, VERSION_VALUE);
  return entry;
}

}  // namespace

int32_t replaceInstalledVersion(const InstallPlan &plan, InstallObserver &observer, KeptVersion &kept) {
  const InstalledEntry entry = installedEntryOf(plan);
  const Replacement replacement = replacementFor(entry.version, plan.version, plan.force);
  TraceScope trace("replaceInstalledVersion", entry.version + " -> " + plan.version);
  if (replacement == Replacement::refusedDowngrade) {
    observer.failed(Failure{
        FailureKind::Refused, STATUS_DOWNGRADE_REFUSED,
        downgradeRefusedText(utf8FromAnsi(plan.displayName), entry.version, plan.version, programText)});
    return trace.result(STATUS_DOWNGRADE_REFUSED);
  }
  const bool asked = replacement == Replacement::upgrade || replacement == Replacement::forcedDowngrade;
  if (asked && !observer.ask(Question::overwriteSaver,
                             replacementQuestion(utf8FromAnsi(plan.displayName), entry.version,
                                                 plan.version, programText)))
    return trace.result(STATUS_USER_ABORT);
  if (!keepsInstalledVersion(replacement)) return trace.result(STATUS_OK);
  std::string failedPath;
  const int32_t status = kept.keep(plan, entry.machine, failedPath);
  if (status != STATUS_OK) observer.failed(Failure{FailureKind::File, status, failedPath});
  return trace.result(status);
}
