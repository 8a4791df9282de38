// The screen saver's entry in the system's list of uninstallable programs,
// under HKEY_LOCAL_MACHINE or, where that is refused, HKEY_CURRENT_USER.
#ifndef SAVER_INSTALLER_UNINSTALL_REGISTRATION_H
#define SAVER_INSTALLER_UNINSTALL_REGISTRATION_H

#include <cstdint>
#include <string>

// Writes "DisplayName" and "UninstallString" (system folder + codedName + ".scr
// /u") into "...\Uninstall\" + saverName: 0, or
// STATUS_REGISTER_UNINSTALL_FAILED when neither root takes them.
int32_t RegisterUninstall(const std::string &saverName, const std::string &codedName);

// Deletes the entry: 0 when HKEY_LOCAL_MACHINE has none (HKEY_CURRENT_USER is
// then left alone) or it is gone; otherwise the same under HKEY_CURRENT_USER,
// STATUS_UNREGISTER_UNINSTALL_FAILED when that fails too.
int32_t UnregisterUninstall(const std::string &saverName);

#endif
