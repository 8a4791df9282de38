// InstallPlan: every name, folder and destination of one installer run,
// and the values of its uninstall entry, computed once from the package
// header, the command line and the system's paths. Portable and pure: the
// Windows layer gathers the inputs, the steps only read the plan.
#ifndef SAVER_INSTALLER_INSTALL_PLAN_H
#define SAVER_INSTALLER_INSTALL_PLAN_H

#include "installer/installerCommandLine.h"
#include "package/dataStructures_shared.h"
#include "package/installNames.h"
#include "package/packageProperties.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the plan needs of the system, gathered once by the Windows layer.
struct PlanSystem {
  std::string system;         // pathSystem
  std::string nativeSystem;   // pathSysnative: "" unless 64-bit Windows
  std::string shared;         // pathCommonAppData
  std::string work;           // pathWorkFolder
  std::string installerFile;  // the running installer
  // The system's lower case of a name, for the coded short name.
  std::string (*lowerCase)(const std::string &text) = nullptr;
  // The string table's "Install" and "Screen Saver", for the titles.
  std::string installText;
  std::string screenSaverText;
};

struct InstallPlan {
  // The plan's own verdict: 0, or STATUS_UNSAFE_NAME with the name that
  // would place or remove files outside their folder.
  int32_t status = 0;
  std::string unsafeName;

  // How the run goes.
  uint8_t installerType = 0;  // the header's, or QUIET_TYPE by "/q"
  int quietSwitches = 0;      // "/q" and "/qn": each one is told to the launcher
  bool quiet = false;
  bool silent = false;             // "/qn": nothing on the screen, the read-me not opened
  bool startedByLauncher = false;  // "/l=" names its window
  bool force = false;              // "/force": an older version replaces a newer one
  // The user's own saver: the paths of PlanSystem are then the user's
  // (common/saverScope.h), and the launcher makes it active for the user.
  InstallScope scope = InstallScope::machine;
  // Only a package that is quiet by itself opens the control panel after
  // a quiet install.
  bool opensControlPanelWhenQuiet = false;

  // Names.
  std::string saverName;
  std::string codedShortName;
  std::string programName;  // entry 6 as carried: the saver the launcher makes active
  std::string windowTitle;  // of the installer window and the task bar

  // Places.
  InstallFolders folders;
  std::string installerFile;
  std::string packagePath;  // work folder + "temp.dat"
  std::string dataFile;     // work folder + entry 8's name
  std::string splashFile;   // in the work folder, named for the installer type
  std::string licenseFile;  // in the work folder
  std::array<EntryTarget, PACKAGE_ENTRY_COUNT> entries;
  int firstInstallEntry = ENTRY_SAVER_PROGRAM;  // the read-me's when one is carried
  // The read-me placed in the saver folder, which the install opens; "" when
  // the package carries none or its name is not a plain file name.
  std::string placedReadMe;
  // The shared-folder libraries the package places, each once.
  std::vector<std::string> sharedLibraries;
  // The files the package places outside the saver folder and the work
  // folder, each once: shared libraries and system-folder files with their
  // native copies, the saver program aside. An upgrade keeps a copy of each
  // one that is there, to put back when it fails.
  std::vector<std::string> filesOutsideSaverFolder;

  // The uninstall entry.
  std::string uninstallKey;
  std::string displayName;
  std::string publisher;
  std::string version;  // "" for a package that states none: the entry is written as before
  std::string homepage;
  std::string supportUrl;
  std::string languages;            // the package's, kept for the uninstaller; "" for all
  std::string icon;                 // the saver program in the system folder
  std::string ownUninstallCommand;  // the saver's own "/u"
  // The carried uninstaller's command, used once it is placed; "" when the
  // package carries none or the coded name cannot go on a command line.
  std::string carriedUninstallCommand;
};

// properties: what the package's property record states beside the header.
InstallPlan makeInstallPlan(const InstallerHeader &header, const InstallerSwitches &switches,
                            const PlanSystem &system, const PackageProperties &properties = {});

#endif
