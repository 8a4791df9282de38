// The names an installed screen saver goes by, all derived from its coded
// short name: its program in the system folders, its saver folder, its
// uninstall entry and the command that entry runs, and the shared libraries
// it counts itself a user of. The installer writes them; the carried
// uninstaller, the saver's own "/u" and the installer's clean-up after a
// failure find and remove them by the same rules. Portable.
#ifndef SAVER_PACKAGE_INSTALLED_SAVER_H
#define SAVER_PACKAGE_INSTALLED_SAVER_H

#include <cstdint>
#include <string>
#include <vector>

// The program file: codedName + ".scr".
std::string saverProgramName(const std::string &codedName);

// The settings record every install writes into the saver folder.
extern const char SAVER_SETTINGS_FILE[];  // "saver.dat"

// The saver folder below the shared folder, with its trailing "\".
std::string saverFolderOf(const std::string &sharedFolder, const std::string &codedName);

// The coded short name a program file stands for: its name without folder
// and without a ".scr" extension (any letter case); "" for any other file.
std::string codedNameOfProgram(const std::string &programPath);

// The registry key of the uninstall entry below the root, the folder that
// holds all such keys, and the command the entry runs.
extern const char UNINSTALL_LIST_KEY[];  // "Software\...\Uninstall" without "\"
std::string uninstallKeyPath(const std::string &saverName);
std::string uninstallCommand(const std::string &systemFolder, const std::string &codedName);

// The carried uninstaller: its file in the saver folder, and the command an
// entry runs it with. A coded name with a quote cannot be put on a command
// line; such a saver keeps its own "/u".
extern const char UNINSTALLER_FILE_NAME[];  // "saverremove.exe"
bool fitsUninstallerCommand(const std::string &codedName);
std::string uninstallerCommand(const std::string &saverFolder, const std::string &codedName);

// The uninstaller's command line: "/q" in any letter case, "/n=" with the
// coded name, in quotes or not, and the elevated copy's switch. valid is false for anything else, a missing
// or unsafe name included.
struct UninstallerArguments {
  bool valid = false;
  bool quiet = false;
  bool restarted = false;  // ELEVATED_COPY_SWITCH (common/elevationRule.h): the elevated copy
  std::string codedName;
  std::string languageCode;  // behind "/lang=", "" without one
};
UninstallerArguments parseUninstallerArguments(const std::string &commandLine);

// Whether an entry's command removes the saver of codedName: its own "/u" or
// the carried uninstaller, compared without regard to letter case.
bool isUninstallCommandOf(const std::string &command, const std::string &systemFolder,
                          const std::string &sharedFolder, const std::string &codedName);

// The uninstall entry's value that keeps the languages the package lets its
// saver's programs speak ("en,de"), for the uninstaller; absent for all.
extern const char LANGUAGES_VALUE[];  // "Languages"

// Shared libraries. The installer counts each user of a library in the
// shared folder under SHARED_LIBRARY_COUNTS_KEY (value name: the library's
// path) and lists the ones it counted in the uninstall entry's value
// SHARED_LIBRARIES_VALUE; only a plain ".dll" name directly in the shared
// folder is ever counted or removed.
extern const char SHARED_LIBRARY_COUNTS_KEY[];
extern const char SHARED_LIBRARIES_VALUE[];
bool isSharedLibraryPath(const std::string &path, const std::string &sharedFolder);

// The list as a REG_MULTI_SZ value holds it, and back; empty names are dropped.
std::string joinedNameList(const std::vector<std::string> &names);
std::vector<std::string> splitNameList(const std::string &value);

// The count a library has after one more user: an uncounted library that
// was there before this install already had one user nobody counted.
uint32_t raisedUserCount(uint32_t count, bool counted, bool presentBefore);

// The size Apps & features shows, in KiB, rounded up; at most 32 bits.
uint32_t estimatedSizeInKiB(uint64_t bytes);

#endif
