// Every text the uninstaller shows. Portable.
#ifndef SAVER_UNINSTALLER_UNINSTALLER_TEXTS_H
#define SAVER_UNINSTALLER_UNINSTALLER_TEXTS_H

#include "package/saverRemoval.h"

#include <string>

std::string removeQuestion(const std::string &displayName);
std::string nothingToRemoveText(const std::string &codedName);
std::string badCommandText(const std::string &commandLine);

// The closing box: what went, or what stayed and why (the system's text for
// the status, or its number when there is none).
std::string removedText(const std::string &displayName, const RemovalOutcome &outcome);
std::string incompleteText(const std::string &displayName, const RemovalOutcome &outcome,
                           const std::string &reason);

#endif
