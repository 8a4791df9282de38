// The names and decisions of file placement and uninstall registration:
// window title and uninstall name of a saver, the files of an older copy,
// and where a movie-copy member is copied from.
// Portable; the texts "Install" and "Screen Saver" come from the caller,
// which reads them from the installer's string table.
#ifndef SAVER_INSTALLER_PLACEMENT_RULES_H
#define SAVER_INSTALLER_PLACEMENT_RULES_H

#include "common/statusCodes.h"

#include <cstdint>
#include <string>

// True when name holds "saver" in any letter case (only A to Z are folded,
// so code-page letters never match by accident).
bool namesASaver(const std::string &name);

// The name shown in the list of installed programs.
std::string UninstallDisplayNameFor(const std::string &name, const std::string &screenSaverText);

// The installer's window and application title.
std::string InstallerTitleFor(const std::string &name, const std::string &installText,
                              const std::string &screenSaverText);

// The two traces an earlier install leaves in a folder.
std::string olderCopyProgram(const std::string &folder, const std::string &codedName);
std::string olderCopyFolder(const std::string &folder, const std::string &codedName);

// A saver name becomes one key below "Uninstall"; an empty name or one with a
// "\" would name the list itself or a key elsewhere.
bool isPlainKeyName(const std::string &saverName);

// Where a movie-copy member (type 3) is copied from: member 1 copies the
// installer movie from the work folder, every later one copies member 1.
std::string movieCopySource(int memberIndex, const std::string &firstMemberPath,
                            const std::string &workFolder, const std::string &saverFolder);

#endif
