// The screen saver's entry in the system's list of uninstallable programs,
// under HKEY_LOCAL_MACHINE or, where that is refused, HKEY_CURRENT_USER; the
// user's own saver's under HKEY_CURRENT_USER alone (common/saverScope.h).
#ifndef SAVER_INSTALLER_UNINSTALL_REGISTRATION_H
#define SAVER_INSTALLER_UNINSTALL_REGISTRATION_H

#include "installer/installPlan.h"
#include "package/installObserver.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the plan's entry "...\Uninstall\" + saverName with the values of
// installer/uninstallEntry.h, and the shared libraries this saver was
// counted a user of; each value written is told to observer. The command
// runs the carried uninstaller when the plan has its command and it was
// placed; otherwise the saver's own "/u". 0, or
// STATUS_REGISTER_UNINSTALL_FAILED when neither root takes them.
int32_t RegisterUninstall(const InstallPlan &plan, InstallObserver &observer,
                          const std::vector<std::string> &sharedLibraries = {});

// The shared libraries an earlier install's entry of saverName lists.
std::vector<std::string> recordedSharedLibraries(const std::string &saverName);

// Deletes the entry: 0 when HKEY_LOCAL_MACHINE has none (HKEY_CURRENT_USER is
// then left alone) or it is gone; otherwise the same under HKEY_CURRENT_USER,
// STATUS_UNREGISTER_UNINSTALL_FAILED when that fails too.
int32_t UnregisterUninstall(const std::string &saverName);

#endif
