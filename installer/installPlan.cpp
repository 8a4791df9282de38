#include "installer/installPlan.h"

#include "common/crcUtils.h"
#include "common/launcherProtocol.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "installer/placementRules.h"
#include "package/installedSaver.h"
#include "package/packageFormat.h"
#include "package/uninstallMark.h"

#include <algorithm>

namespace {

std::string codedShortNameOf(const std::string &name, const PlanSystem &system) {
  const std::string lowerName = system.lowerCase != nullptr ? system.lowerCase(name) : name;
  uint32_t crc = 0;
  Crc32OfString(name, crc);
  return codedShortNameFor(name, lowerName, crc);
}

char foldedCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Paths compare without regard to letter case, as Windows does.
bool samePath(const std::string &a, const std::string &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return foldedCase(x) == foldedCase(y); });
}

EntryTarget targetOf(const InstallerHeader &header, int index, const InstallPlan &plan,
                     const PlanSystem &system) {
  PackageEntry entry = header.entries[index];
  // The splash is written under the name its picture type asks for.
  if (index == ENTRY_SPLASH && entryPresent(entry))
    setEntryName(entry, splashNameFor(entryNameOf(entry), header.installerType));
  EntryTarget target;
  target.status = entryTarget(entry, plan.folders, target.path);
  if (target.status == STATUS_OK && !system.nativeSystem.empty() &&
      destinationOf(entry.destKind) == Destination::SystemFolder)
    target.nativeCopy = system.nativeSystem + entryNameOf(entry);
  target.keptForMembers =
      index == ENTRY_DATA_FILE && target.status == STATUS_OK && target.path == plan.dataFile;
  return target;
}

// The name of a carried document placed in the saver folder, or "".
std::string placedDocument(const InstallerHeader &header, bool carried, int index,
                           const InstallPlan &plan) {
  const std::string name = entryNameOf(header.entries[index]);
  if (!carried || name.empty() || !isSafeEntryName(name)) return std::string();
  return plan.folders.saver + name;
}

// Adds path unless it is empty or listed already, in any letter case.
void addOnce(std::vector<std::string> &paths, const std::string &path) {
  if (path.empty()) return;
  if (std::ranges::none_of(paths, [&path](const std::string &each) { return samePath(each, path); }))
    paths.push_back(path);
}

void planLibraries(const InstallerHeader &header, InstallPlan &plan) {
  for (int index = ENTRY_CODEC_LIBRARY; index <= ENTRY_LAST; ++index) {
    const PackageEntry &entry = header.entries[index];
    const EntryTarget &target = plan.entries[index];
    // Not the movie player installers that the same destKind sends to the work folder.
    if (!entryPresent(entry) || destinationOf(entry.destKind) != Destination::SharedLibrary ||
        target.status != STATUS_OK || !isSharedLibraryPath(target.path, plan.folders.shared))
      continue;
    addOnce(plan.sharedLibraries, target.path);
  }
}

void planFilesOutsideSaverFolder(const InstallerHeader &header, InstallPlan &plan) {
  for (const std::string &library : plan.sharedLibraries) addOnce(plan.filesOutsideSaverFolder, library);
  for (int index = plan.firstInstallEntry; index <= ENTRY_LAST; ++index) {
    const EntryTarget &target = plan.entries[index];
    if (index == ENTRY_SAVER_PROGRAM || !entryPresent(header.entries[index]) ||
        target.status != STATUS_OK ||
        destinationOf(header.entries[index].destKind) != Destination::SystemFolder)
      continue;
    addOnce(plan.filesOutsideSaverFolder, target.path);
    addOnce(plan.filesOutsideSaverFolder, target.nativeCopy);
  }
}

void planUninstallEntry(const InstallerHeader &header, const PlanSystem &system, InstallPlan &plan) {
  plan.uninstallKey = uninstallKeyPath(plan.saverName);
  plan.displayName = UninstallDisplayNameFor(plan.saverName, system.screenSaverText);
  plan.publisher = publisherOf(header);
  plan.icon = system.system + saverProgramName(plan.codedShortName);
  plan.ownUninstallCommand = uninstallCommand(system.system, plan.codedShortName);
  if (carriesUninstaller(header) && fitsUninstallerCommand(plan.codedShortName))
    plan.carriedUninstallCommand = uninstallerCommand(plan.folders.saver, plan.codedShortName);
}

// The saver folder and the data file are removed again later; names that
// lead elsewhere would remove someone else's files.
void judgeNames(const InstallerHeader &header, InstallPlan &plan) {
  const PackageEntry &dataFile = header.entries[ENTRY_DATA_FILE];
  if (!isSafeEntryName(plan.codedShortName)) {
    plan.status = STATUS_UNSAFE_NAME;
    plan.unsafeName = plan.saverName;
  } else if (entryPresent(dataFile) && !isSafeEntryName(entryNameOf(dataFile))) {
    plan.status = STATUS_UNSAFE_NAME;
    plan.unsafeName = entryNameOf(dataFile);
  }
}

}  // namespace

InstallPlan makeInstallPlan(const InstallerHeader &header, const InstallerSwitches &switches,
                            const PlanSystem &system, const PackageProperties &properties) {
  InstallPlan plan;
  plan.quietSwitches = switches.quietSwitches;
  plan.installerType = plan.quietSwitches > 0 ? QUIET_TYPE : header.installerType;
  plan.quiet = plan.installerType == QUIET_TYPE;
  plan.silent = switches.silent;
  plan.startedByLauncher = switches.launcherWindow != 0;
  plan.force = switches.force;
  plan.opensControlPanelWhenQuiet = header.offerControlPanel != 0 && plan.quietSwitches == 0;

  plan.saverName = saverNameOf(header);
  plan.codedShortName = codedShortNameOf(plan.saverName, system);
  plan.programName = entryNameOf(header.entries[ENTRY_SAVER_PROGRAM]);
  plan.windowTitle = InstallerTitleFor(plan.saverName, system.installText, system.screenSaverText);

  plan.folders = {system.work, saverFolderOf(system.shared, plan.codedShortName), system.shared,
                  system.system};
  plan.installerFile = system.installerFile;
  plan.packagePath = packageCopyPath(system.work);
  plan.dataFile = system.work + entryNameOf(header.entries[ENTRY_DATA_FILE]);
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    plan.entries[index] = targetOf(header, index, plan, system);
  PackageEntry splash = header.entries[ENTRY_SPLASH];
  setEntryName(splash, splashNameFor(entryNameOf(splash), header.installerType));
  plan.splashFile = system.work + entryNameOf(splash);
  plan.licenseFile = system.work + entryNameOf(header.entries[ENTRY_LICENSE]);
  plan.firstInstallEntry = header.carriesReadMe != 0 ? ENTRY_README : ENTRY_SAVER_PROGRAM;
  plan.placedReadMe = placedDocument(header, header.carriesReadMe != 0, ENTRY_README, plan);
  planLibraries(header, plan);
  planFilesOutsideSaverFolder(header, plan);
  planUninstallEntry(header, system, plan);
  plan.version = properties.version;
  plan.homepage = properties.homepage;
  plan.supportUrl = properties.supportUrl;
  plan.languages = properties.languages;
  plan.scope = installScopeOf(properties);
  judgeNames(header, plan);
  return plan;
}
