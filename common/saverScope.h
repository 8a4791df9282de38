// Whose screen saver a run installs or removes: the machine's (the system
// folder, ProgramData, HKEY_LOCAL_MACHINE) or the user's own, which lives
// wholly in the user's profile and HKEY_CURRENT_USER. Set once at start-up
// with the system paths, and read by every step that picks a folder or a
// registry root, as they read the paths.
#ifndef SAVER_COMMON_SAVER_SCOPE_H
#define SAVER_COMMON_SAVER_SCOPE_H

#include <windows.h>

#include <cstdint>
#include <string>

// True for a run on the user's own saver.
bool userSaverScope();

// Where the saver's entry, the shared libraries' counts and the kept
// version's journal go: HKEY_CURRENT_USER for the user's saver, else
// HKEY_LOCAL_MACHINE.
HKEY saverRegistryRoot();

// The user's saver folder: "%LOCALAPPDATA%\Programs\Lumavane\", the
// per-user program folder Windows itself offers (not roamed: it holds
// programs); "" when the system names no local application data.
std::string userSaverFolder();

// The paths of initFixedSystemPaths, then the user's scope: pathSystem and
// pathCommonAppData are userSaverFolder() (the saver program beside its
// folder and the shared libraries, as in the system folder and ProgramData),
// pathSysnative is "", and the folder is made when missing. withWorkFolder:
// the numbered work folder of initSystemPaths too. 0 or the system's code.
int32_t initUserSaverPaths(const std::string &programFilePath, bool withWorkFolder);

// Whether a program file lies in the user's saver folder or below it: the
// saver program or the carried uninstaller of a user's saver.
bool isInUserSaverFolder(const std::string &programPath);

// The fixed paths of the installed saver that programPath (the saver
// itself, or its carried uninstaller) belongs to: the user's when it lies in
// the user's saver folder, else the machine's. 0 or the system's code.
int32_t initInstalledSaverPaths(const std::string &programPath);

#endif
