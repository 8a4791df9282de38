// The installed version of a saver, kept aside while an upgrade or a repair
// puts the new one in its place: its saver folder and its program (with the
// native copy) are moved into a fresh administrators-only folder
// "QRK<random>\" in the shared folder, the files the package writes over
// outside the saver folder (shared libraries, system-folder files) are
// copied there, and its uninstall entry's values go
// into the journal there (installer/rollbackJournal.h), written before the
// first move. The install's end deletes them, or puts them back; an
// installer that was ended before either leaves the journal, and the next
// run of any installer finishes the roll-back first. The journal stays open
// while its install runs, which tells that run's journal from a left-over one.
#ifndef SAVER_INSTALLER_KEPT_VERSION_H
#define SAVER_INSTALLER_KEPT_VERSION_H

#include <windows.h>

#include "installer/installPlan.h"
#include "installer/rollbackJournal.h"

#include <cstdint>
#include <string>

class KeptVersion {
 public:
  KeptVersion() = default;
  KeptVersion(const KeptVersion &) = delete;
  KeptVersion &operator=(const KeptVersion &) = delete;
  // A run ended without end() leaves the journal for the next run.
  ~KeptVersion();

  // Moves the installed version aside. Its entry is under
  // HKEY_LOCAL_MACHINE when machineEntry, else HKEY_CURRENT_USER. 0, or the
  // first failure's status with the path it concerns in failedPath; what
  // was moved by then is put back by end().
  int32_t keep(const InstallPlan &plan, bool machineEntry, std::string &failedPath);
  // Whether keep() was called: the install's end then restores the kept
  // version instead of removing what failed.
  bool replacing() const { return replacing_; }
  // After the install: the kept version is deleted when the new one is in
  // place, otherwise put back, files and entry.
  void end(bool installed);

 private:
  int32_t writeJournal();

  bool replacing_ = false;
  std::string folder_;  // the keep folder, with its "\"; "" until made
  HANDLE journal_ = INVALID_HANDLE_VALUE;
  RollbackJournal record_;
};

// Puts back every kept version whose installer ended before its own end():
// for each keep folder in the shared folder whose journal no running install
// holds. The system paths must be set.
void finishInterruptedReplacements();

#endif
