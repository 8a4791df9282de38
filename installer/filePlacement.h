// Placing an installation's files: the saver folder (after an older copy is
// gone), the data-file members, "saver.dat", the licence and the read-me,
// and the count of the shared libraries' users. Each step reads the package
// and the plan and tells what it has to say to the observer.
#ifndef SAVER_INSTALLER_FILE_PLACEMENT_H
#define SAVER_INSTALLER_FILE_PLACEMENT_H

#include <windows.h>

#include "installer/installPlan.h"
#include "package/installObserver.h"
#include "package/package.h"

#include <cstdint>
#include <string>
#include <vector>

// Removes an older copy (codedName + ".scr" and folder codedName + "\") from
// the Windows folder and from sharedFolder, once the observer agrees to the
// overwrite question (unless the replacement was agreed to before), then creates sharedFolder + codedName +
// "\". Both folders are made, or taken over, as only administrators can write them (common/adminFolder.h).
// STATUS_USER_ABORT when the answer is no (nothing is touched), STATUS_UNSAFE_NAME for a coded name that is
// not a plain folder name, STATUS_FOLDER_IS_LINK (told) when either folder is a link, or the system's code
// of a failed folder creation.
int32_t PrepareSaverFolder(const std::string &sharedFolder, const std::string &codedName,
                           const std::string &saverName, InstallObserver &observer,
                           bool replacementAgreed = false);

// Writes every member of the data file into the saver folder; movie-copy
// members are copied, STATUS_MOVIE_COPY_FAILED (told) when that fails.
int32_t ExpandAllMembers(Package &package, const InstallPlan &plan, InstallObserver &observer);

// Writes the settings record as saver folder + "saver.dat".
int32_t WriteSaverSettings(const Package &package, const InstallPlan &plan, InstallObserver &observer);

// Copies the licence and the read-me, when carried, from the work folder into
// the saver folder: STATUS_EXPANDED_FILE_MISSING for a missing source, the
// system's code for a failed copy; a read-me failure replaces a licence failure.
int32_t CopyDocsToSaverFolder(const InstallerHeader &header, const InstallPlan &plan,
                              InstallObserver &observer);

// Tells the observer a file the install placed, with its size as it lies
// there; a path where no file is is not told.
void tellPlaced(InstallObserver &observer, const std::string &path);

// Opens the placed read-me, when carried, with the shell's default action.
void OpenReadMe(const InstallPlan &plan, HWND owner);

// The plan's shared-folder libraries that are there already; taken before
// the install places its own.
std::vector<std::string> SharedLibrariesPresent(const InstallPlan &plan);

// Counts this saver a user of each shared-folder library it placed, under
// SharedDLLs the Windows way, once per saver however often it is installed:
// a library its earlier entry lists is not counted again, and one that was
// there uncounted (presentBefore) gets a user for the unknown one too.
// Returns the libraries the saver is now counted for, for its entry; each
// count written is told to the observer.
std::vector<std::string> CountSharedLibraryUsers(const InstallPlan &plan,
                                                 const std::vector<std::string> &presentBefore,
                                                 InstallObserver &observer);

#endif
