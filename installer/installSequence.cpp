#include "installer/installSequence.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/adminFolder.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/osClassification.h"
#include "common/pathRules.h"
#include "common/runningProgram.h"
#include "common/saverScope.h"
#include "common/statusCodes.h"
#include "common/unicodeText.h"
#include "flash/flashPlayerSetup.h"
#include "installer/diskSpace.h"
#include "installer/displayControlPanel.h"
#include "installer/filePlacement.h"
#include "installer/installerApplication.h"
#include "installer/installerCommandLine.h"
#include "installer/installerTexts.h"
#include "installer/launcherLink.h"
#include "installer/placementRules.h"
#include "installer/replacementStep.h"
#include "installer/stringTable.h"
#include "installer/uninstallRegistration.h"
#include "package/integrityRecord.h"
#include "package/packageCopy.h"
#include "package/posterRange.h"
#include "package/win32File.h"
#include "package/saverRemoval.h"

namespace {

// ---- The start-up ----

std::string systemLowerCase(const std::string &text) {
  std::string lower = text;
  if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  return lower;
}

// What the plan needs of this system; the paths are set by now.
PlanSystem planSystem() {
  PlanSystem system;
  system.system = pathSystem;
  if (GetOperatingSystem() == OS_64BIT_WINDOWS) system.nativeSystem = pathSysnative;
  system.shared = pathCommonAppData;
  system.work = pathWorkFolder;
  system.installerFile = ownProgramFile();
  system.lowerCase = systemLowerCase;
  system.installText = programText(IDS_INSTALL);
  // The uninstall entry keeps its English name in every language.
  system.screenSaverText = englishProgramText(IDS_SCREEN_SAVER);
  return system;
}

// A package that says its saver needs no movie player: the installer then
// neither looks for one nor plays its movie with one.
bool needsNoMoviePlayer(const InstallerHeader &header) {
  return moviePlayerNeedOf(header) == MoviePlayerNeed::none;
}

// The state of one start-up.
struct Startup {
  Startup(InstallRun &run, StartupView &view, bool silent)
      : run(run), view(view), quiet(view.quietObserver()), silent(silent) {}

  InstallRun &run;
  StartupView &view;
  InstallObserver &quiet;
  bool silent;  // "/qn", known before the plan: a damaged package shows nothing either
  int32_t status = STATUS_OK;
  bool installedInPreparingWindow = false;
  int32_t exitCode = 0;

  // Quiet mode, or the main window; before the command line is read, both
  // tell alike, unless the run is silent.
  InstallObserver &observer() { return run.plan.quiet || silent ? quiet : view.windowObserver(); }
  bool goOn() const { return status == STATUS_OK; }
  // Tells the log the step that begins; false once the start-up has failed.
  bool begin(const char *step) {
    if (goOn()) view.logStep(step);
    return goOn();
  }

  // One entry, without progress; an absent one fails with
  // STATUS_ENTRY_ABSENT and nothing to tell.
  int32_t extract(int index) {
    if (!entryPresent(run.package.header().entries[index])) return STATUS_ENTRY_ABSENT;
    Failures failures;
    return tell(observer(), run.package.extractEntry(index, run.plan.entries[index], failures), failures);
  }
};

// A package copy that found the work folder's volume full: the one message
// says what the copy needs there, not that the package is damaged.
int32_t tellPackageCopyFull(Startup &startup, Failures &failures) {
  failures.clear();
  // What the copy wrote goes first, so that the message tells what is free.
  deleteFileForced(startup.run.plan.packagePath);
  int64_t packageBytes = 0;
  lookUpFileSize(startup.run.plan.installerFile, packageBytes);
  const SpaceNeed need{pathWorkFolder, spaceOnDisk(static_cast<uint64_t>(packageBytes))};
  return tellVolumeFilled({need}, startup.quiet);
}

// The system paths, the package in the work folder, opened for the run, its
// header and the plan that follows from it, and the decompression library,
// before anything else.
void readPackage(Startup &startup, uint32_t programSize, const InstallerSwitches &switches) {
  InstallRun &run = startup.run;
  // The user's own saver is placed, and worked on, in the user's profile alone.
  const InstallScope scope = installScopeOfFile(ownProgramFile(), programSize);
  int32_t status = scope == InstallScope::user ? initUserSaverPaths(ownProgramFile(), true)
                                               : initAdminSystemPaths(ownProgramFile());
  // A replacement that an ended run left half done is undone first.
  if (status == STATUS_OK) finishInterruptedReplacements();
  Failures failures;
  if (status == STATUS_FOLDER_IS_LINK) addFailure(failures, FailureKind::File, status, pathCommonAppData);
  // Named before the plan, which needs the header: a refused header still
  // leaves a package copy that the window's close must move aside.
  run.plan.installerFile = ownProgramFile();
  run.plan.packagePath = packageCopyPath(pathWorkFolder);
  const std::string &packagePath = run.plan.packagePath;
  if (status == STATUS_OK) {
    status = CopyPackageToWorkFolder(run.plan.installerFile, packagePath, switches.launcherWindow != 0,
                                     run.packageLinked, failures);
    if (isDiskFullStatus(status)) status = tellPackageCopyFull(startup, failures);
  }
  if (status == STATUS_OK) {
    status = run.package.open(packagePath, pathWorkFolder);
    if (status != STATUS_OK) addFailure(failures, FailureKind::File, status, packagePath);
  }
  if (status == STATUS_OK) status = run.package.readHeader(programSize, failures);
  // The paths were chosen before the check: a package changed since is not this one.
  if (status == STATUS_OK && installScopeOf(run.package.properties()) != scope)
    status = STATUS_PACKAGE_DAMAGED;
  if (status == STATUS_OK) {
    // The package may offer fewer languages than the programs speak.
    speakUserLanguage(switches.languageCode, run.package.properties().languages);
    run.plan = makeInstallPlan(run.package.header(), switches, planSystem(), run.package.properties());
    run.plan.windowTitle = InstallerTitleFor(utf8FromAnsi(run.plan.saverName), programText(IDS_INSTALL),
                                             programText(IDS_SCREEN_SAVER));
    status = run.lock.take(run.plan.saverName);
  }
  if (status == STATUS_OK)
    status = run.package.extractEntry(ENTRY_CODEC_LIBRARY, run.plan.entries[ENTRY_CODEC_LIBRARY], failures);
  startup.status = tell(startup.quiet, status, failures);
}

// Runs after the header was read, so "/q" overrides the header's type.
void readCommandLine(Startup &startup) {
  sendCommandToLauncher(startup.view.window(), HEADER_READ_COMMAND);
  for (int i = 0; i < startup.run.plan.quietSwitches; ++i)
    sendCommandToLauncher(startup.view.window(), QUIET_INSTALLER_COMMAND);
  startup.view.startupGoesOn(startup.run.plan.quiet);
  if (startup.run.plan.status != STATUS_OK) {
    startup.observer().failed(
        Failure{FailureKind::File, startup.run.plan.status, startup.run.plan.unsafeName});
    startup.status = startup.run.plan.status;
  }
}

void decideFlashPlayer(Startup &startup) {
  const InstallerHeader &header = startup.run.package.header();
  FlashPlayerDecision decision;
  decision.carriesFlashInstaller = header.carriesFlashInstaller != 0;
  decision.flashInstallerVersionIndex = header.flashInstallerVersionIndex;
  decision.flashInstallerName = entryNameOf(header.entries[ENTRY_FLASH_INSTALLER]);
  const auto extract = [&startup] { return startup.extract(ENTRY_FLASH_INSTALLER); };
  startup.status = decideFlashPlayerAction(
      decision, flashPlayerStepsFor(startup.view.window(), extract, startup.run.plan.silent));
}

// Without a window the licence is not shown, but the install still copies
// it into the saver folder: without it there, every quiet install of a
// package with a licence would fail at that copy.
void prepareLicense(Startup &startup) {
  const bool shown = startup.run.package.header().showLicense != 0;
  if (shown) startup.status = startup.extract(ENTRY_LICENSE);
  if (startup.goOn() && !startup.run.plan.quiet)
    startup.view.showLicense(shown ? startup.run.plan.licenseFile : "");
}

// The poster of a movie that is not played, read through the package's
// open file into the work folder and shown as a picture: the window then
// waits for "Install". False for a package without one. A range outside the
// package ends the start-up as damage; a poster that cannot be decoded is
// told like a picture, and the window waits all the same.
bool showPoster(Startup &startup) {
  if (startup.run.package.properties().posterRange.empty()) return false;
  std::vector<uint8_t> poster;
  startup.status = startup.run.package.readPoster(poster);
  if (!startup.goOn()) return true;
  const bool jpeg = posterFormatOf(poster) == PosterFormat::jpeg;
  const std::string file = pathWorkFolder + (jpeg ? "poster.jpg" : "poster.bmp");
  bool created = false;
  const int32_t written = writeNewFile(file, poster.data(), static_cast<uint32_t>(poster.size()), created);
  if (written != STATUS_OK || !startup.view.showPicture(file))
    startup.observer().failed(Failure{FailureKind::PictureUnreadable, 0, fileNamePart(file)});
  return true;
}

// A picture that cannot be loaded is told and leaves the box empty; the
// install still works. A movie the reader or the player refuses, or one of a
// package without the player, is not shown: its poster is, when the package
// has one; else the install runs at once in the preparing window.
void showPictureOrMovie(Startup &startup) {
  const InstallPlan &plan = startup.run.plan;
  if (plan.installerType == BITMAP_TYPE || plan.installerType == JPEG_TYPE) {
    if (!startup.view.showPicture(plan.splashFile))
      startup.observer().failed(Failure{FailureKind::PictureUnreadable, 0, fileNamePart(plan.splashFile)});
    return;
  }
  if (!isMovieType(plan.installerType)) return;
  if (!needsNoMoviePlayer(startup.run.package.header()) && startup.view.playMovie(plan.splashFile)) return;
  if (showPoster(startup)) return;
  startup.installedInPreparingWindow = true;
  startup.status =
      runInstallation(startup.run.package, plan, startup.view.preparingObserver(), startup.view.window())
          .status;
}

// The one message of a failed start-up, or what follows a successful one.
StartupOutcome endStartup(Startup &startup) {
  StartupOutcome outcome;
  const InstallPlan &plan = startup.run.plan;
  // A start-up that failed says so in its exit code too, for scripted installs.
  outcome.exitCode = startup.status != STATUS_OK ? startup.status : startup.exitCode;
  if (startup.status != STATUS_OK) {
    // The package was read when the install ran in the preparing window: its
    // failure is a failed installation, not a damaged file. A full volume
    // was told already, with what it needs where.
    const FailureKind kind =
        startup.installedInPreparingWindow ? FailureKind::InstallEnded : FailureKind::StartupEnded;
    if (startup.status != STATUS_DISK_FULL) startup.observer().failed(Failure{kind, startup.status, ""});
  } else if (startup.installedInPreparingWindow) {
    offerControlPanel(startup.run.package.header(), startup.view.preparingObserver(),
                      startup.view.window());
  } else if (plan.quiet) {
    if (plan.opensControlPanelWhenQuiet)
      sendCommandToLauncher(startup.view.window(), OPEN_CONTROL_PANEL_COMMAND);
  } else {
    outcome.waitsForInstall = true;
  }
  return outcome;
}

// ---- The install ----

// The state of one install: a step runs while nothing failed and nobody
// cancelled; once the launcher has made the new saver the active one,
// "Cancel" no longer stops the rest.
struct Steps {
  InstallObserver &observer;
  int32_t status = STATUS_OK;
  bool abortedAtQuestion = false;
  bool saverMadeActive = false;
  bool placing = false;  // from the saver folder's preparation on: before it nothing changed

  bool aborted() const { return abortedAtQuestion || observer.cancelled(); }
  bool goOn() const { return status == STATUS_OK && (!aborted() || saverMadeActive); }
};

// Entries 5 (when a read-me is carried) or 6 to 10; each steps the progress
// before it is written, which is where "Cancel" is heard.
void extractInstallFiles(Package &package, const InstallPlan &plan, Steps &steps) {
  for (int index = plan.firstInstallEntry; index <= ENTRY_LAST && steps.goOn(); ++index) {
    steps.observer.status(programText(IDS_WRITING_FILES));
    if (entryPresent(package.header().entries[index]) && plan.entries[index].status != STATUS_UNSAFE_NAME)
      steps.observer.progress();
    Failures failures;
    steps.status =
        tell(steps.observer, package.extractEntry(index, plan.entries[index], failures), failures);
    const EntryTarget &target = plan.entries[index];
    if (steps.status == STATUS_OK && entryPresent(package.header().entries[index]) &&
        !target.keptForMembers) {
      tellPlaced(steps.observer, target.path);
      if (!target.nativeCopy.empty()) tellPlaced(steps.observer, target.nativeCopy);
    }
  }
}

// Removes what an installation placed, by the rules the uninstaller follows.
// The program's name comes from the package; an unsafe one is not touched.
void cleanUpFailedInstallation(const InstallPlan &plan) {
  removeInstalledSaver(findInstalledSaver(plan.codedShortName, plan.programName));
  UnregisterUninstall(plan.saverName);
}

// The installed version is kept aside for an upgrade or a repair, or found
// and removed after the overwrite question as ever; then the saver folder is
// made.
void prepareSaverFolder(const InstallPlan &plan, Steps &steps, KeptVersion &kept) {
  steps.placing = true;
  steps.status = replaceInstalledVersion(plan, steps.observer, kept);
  if (steps.status == STATUS_OK)
    steps.status = PrepareSaverFolder(plan.folders.shared, plan.codedShortName, plan.saverName,
                                      steps.observer, kept.replacing());
  steps.abortedAtQuestion = steps.status == STATUS_USER_ABORT;
}

// After a failure or "Cancel" a replaced version comes back whole, and a
// fresh install's files go; an install that ended before the saver folder's
// preparation, a declined question or a refused downgrade changed nothing.
// A replacement that succeeded lets the kept version go.
void endReplacement(const InstallPlan &plan, KeptVersion &kept, const Steps &steps, bool aborted) {
  const int32_t status = steps.status;
  const bool changedNothing =
      !steps.placing || status == STATUS_USER_ABORT || status == STATUS_DOWNGRADE_REFUSED;
  if (kept.replacing())
    kept.end(status == STATUS_OK && !aborted);
  else if ((status != STATUS_OK || aborted) && !changedNothing)
    cleanUpFailedInstallation(plan);
}

}  // namespace

StartupOutcome runStartup(InstallRun &run, StartupView &view, uint32_t programSize,
                          const InstallerSwitches &switches) {
  TraceScope trace("runStartup");
  StartupOutcome outcome;
  {
    BusyCursor busy;
    useLauncherWindow(switches.launcherWindow);
    Startup startup(run, view, switches.silent);
    const InstallPlan &plan = run.plan;
    const InstallerHeader &header = run.package.header();
    if (startup.begin("reading the package")) readPackage(startup, programSize, switches);
    if (startup.goOn()) readCommandLine(startup);
    if (header.carriesReadMe != 0 && startup.begin("extracting the read-me"))
      startup.status = startup.extract(ENTRY_README);
    if (!needsNoMoviePlayer(header) && startup.begin("looking for the movie player"))
      decideFlashPlayer(startup);
    if (startup.goOn() && !plan.quiet) view.showTitle(plan.windowTitle);
    if (startup.begin("preparing the licence")) prepareLicense(startup);
    // The package's own quiet type carries no picture; "/q" does not count.
    if (header.installerType != QUIET_TYPE && startup.begin("extracting the installer picture"))
      startup.status = startup.extract(ENTRY_SPLASH);
    if (!plan.quiet && startup.begin("showing the installer picture")) showPictureOrMovie(startup);
    if (startup.goOn() && !plan.quiet && !startup.installedInPreparingWindow) view.showReady();
    if (plan.quiet && startup.begin("installing without the window"))
      startup.exitCode = runInstallation(run.package, plan, startup.quiet, view.window()).status;
    busy.end();
    outcome = endStartup(startup);
  }
  trace.result(outcome.exitCode);
  return outcome;
}

InstallOutcome runInstallation(Package &package, const InstallPlan &plan, InstallObserver &observer,
                               HWND ownWindow) {
  TraceScope trace("runInstallation");
  BusyCursor busy;
  DiskFullFilter watched(observer);
  Steps steps{watched};
  observer.installStarted();
  if (steps.goOn()) closeDisplayControlPanel();
  const std::vector<SpaceNeed> needs = installSpaceNeeds(package.header(), plan);
  if (steps.goOn()) steps.status = checkInstallSpace(needs, watched);
  KeptVersion kept;
  if (steps.goOn()) prepareSaverFolder(plan, steps, kept);
  const std::vector<std::string> librariesBefore = SharedLibrariesPresent(plan);
  if (steps.goOn()) extractInstallFiles(package, plan, steps);
  Failures failures;
  if (steps.goOn())
    steps.status = tell(watched, package.readSaverSettings(plan.dataFile, failures), failures);
  if (steps.goOn()) steps.status = ExpandAllMembers(package, plan, watched);
  if (steps.goOn()) steps.status = WriteSaverSettings(package, plan, watched);
  if (steps.goOn()) {
    sendCommandToLauncher(ownWindow, makeActiveSaverCommand(plan.programName, plan.scope));
    steps.saverMadeActive = true;
  }
  if (steps.goOn()) steps.status = CopyDocsToSaverFolder(package.header(), plan, watched);
  if (steps.goOn() && !plan.silent) OpenReadMe(plan, ownWindow);
  // The saver works without its uninstall entry.
  if (steps.goOn())
    RegisterUninstall(plan, watched, CountSharedLibraryUsers(plan, librariesBefore, watched));
  package.closeDataFile(failures);
  deleteFileForced(plan.dataFile);

  const bool volumeFilled =
      steps.status != STATUS_OK && (watched.sawFullVolume() || isDiskFullStatus(steps.status));
  const bool aborted = steps.aborted() && !steps.saverMadeActive;
  if (aborted) observer.status(programText(IDS_ABORTED_CLEANING_UP));
  endReplacement(plan, kept, steps, aborted);
  // Told once what was placed is gone, with what is free then.
  const int32_t status =
      volumeFilled && steps.status != STATUS_DISK_FULL ? tellVolumeFilled(needs, observer) : steps.status;
  observer.installEnded(status, aborted);
  return InstallOutcome{trace.result(status), aborted};
}

void offerControlPanel(const InstallerHeader &header, InstallObserver &observer, HWND ownWindow) {
  if (header.offerControlPanel == 0) return;
  if (!observer.ask(Question::openControlPanel, programText(IDS_OPEN_CONTROL_PANEL_QUESTION))) return;
  observer.status(programText(IDS_OPENING_CONTROL_PANEL));
  processPendingMessages();
  sendCommandToLauncher(ownWindow, OPEN_CONTROL_PANEL_COMMAND);
}
