// Finding and removing an installed screen saver: what the rules of
// package/installedSaver.h name, as this computer has it. Used by the
// carried uninstaller, the sample saver's "/u" and the installer's clean-up
// after a failed install, so that the three cannot disagree. Shows nothing.
//
// What goes, and nothing else:
// - the saver folder as a whole (links inside it are removed, never
//   followed), and the shared folder when that leaves it empty;
// - the program in the system folder and, on 64-bit Windows, in the native
//   one; a copy that is running goes at the next start;
// - every uninstall entry, machine or user, whose command removes this saver;
//   run elevated, a user's entry only when it lists no shared library
//   (package/libraryRelease.h), since any program of the user can write it;
// - the active-saver settings, where they name one of the program's copies;
// - each shared library those entries list, one user less however often it
//   is listed, once its count of users drops to 0; a library nobody counted
//   stays. All counts are read before any is written.
#ifndef SAVER_PACKAGE_SAVER_REMOVAL_H
#define SAVER_PACKAGE_SAVER_REMOVAL_H

#include <cstdint>
#include <string>
#include <vector>

struct UninstallEntryFound {
  bool machine = false;  // HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
  std::string keyPath;
  std::string displayName;
  std::string languages;  // LANGUAGES_VALUE, "" when every language is offered
};

struct InstalledSaver {
  std::string codedName;
  std::string saverFolder;  // shared folder + coded name + "\"
  bool folderPresent = false;
  std::vector<std::string> programCopies;  // where the program may be, present or not
  std::vector<UninstallEntryFound> entries;
  std::vector<std::string> sharedLibraries;  // counted by these entries, shared folder only, each once
  bool activeInSystemIni = false;
  bool activeInDesktop = false;
};

// Looks the saver up; the system paths must be set. programName is the file
// in the system folders (saverProgramName(codedName) unless a package named
// it otherwise). Nothing is looked up for an unsafe name.
InstalledSaver findInstalledSaver(const std::string &codedName, const std::string &programName);

// The name the saver's entry shows, else its coded name.
std::string displayNameOf(const InstalledSaver &saver);

// True when a folder, a program copy or an entry of the saver is there.
bool anythingInstalled(const InstalledSaver &saver);

// What removeInstalledSaver did: the paths and keys it removed, in order,
// and on a failure the first one that stayed with its status. A file or
// setting that stays keeps none of the others from going; the shared
// libraries' counts and the uninstall entries change only when all of them
// went, so that it can be run again.
struct RemovalOutcome {
  int32_t status = 0;
  std::vector<std::string> removed;
  std::string stayed;
};

RemovalOutcome removeInstalledSaver(const InstalledSaver &saver);

#endif
