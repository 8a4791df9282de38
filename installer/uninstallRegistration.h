// The screen saver's entry in the system's list of uninstallable programs,
// under HKEY_LOCAL_MACHINE or, where that is refused, HKEY_CURRENT_USER.
#ifndef SAVER_INSTALLER_UNINSTALL_REGISTRATION_H
#define SAVER_INSTALLER_UNINSTALL_REGISTRATION_H

#include "installer/installPlan.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes the plan's entry "...\Uninstall\" + saverName: "DisplayName",
// "UninstallString", and what the list of installed programs shows
// ("DisplayIcon", "Publisher" when the package names one, "EstimatedSize",
// "NoModify", "NoRepair"), and the shared libraries this saver was counted a
// user of. The command runs the carried uninstaller when the plan has its
// command and it was placed; otherwise the saver's own "/u". 0, or
// STATUS_REGISTER_UNINSTALL_FAILED when neither root takes them.
int32_t RegisterUninstall(const InstallPlan &plan, const std::vector<std::string> &sharedLibraries = {});

// The shared libraries an earlier install's entry of saverName lists.
std::vector<std::string> recordedSharedLibraries(const std::string &saverName);

// Deletes the entry: 0 when HKEY_LOCAL_MACHINE has none (HKEY_CURRENT_USER is
// then left alone) or it is gone; otherwise the same under HKEY_CURRENT_USER,
// STATUS_UNREGISTER_UNINSTALL_FAILED when that fails too.
int32_t UnregisterUninstall(const std::string &saverName);

#endif
