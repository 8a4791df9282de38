// The names an installed screen saver goes by, all derived from its coded
// short name: its program in the system folders, its saver folder, and its
// uninstall entry. The installer writes them; the saver program finds its
// folder and removes itself by the same rules. Portable.
#ifndef SAVER_PACKAGE_INSTALLED_SAVER_H
#define SAVER_PACKAGE_INSTALLED_SAVER_H

#include <string>

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

#endif
