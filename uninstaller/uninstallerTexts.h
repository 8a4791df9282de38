// Every message the uninstaller shows, put together from the entries of its
// string table (saverremove.rc), which the caller's TextLookup reads.
// Portable.
#ifndef SAVER_UNINSTALLER_UNINSTALLER_TEXTS_H
#define SAVER_UNINSTALLER_UNINSTALLER_TEXTS_H

#include "common/programTexts.h"
#include "package/saverRemoval.h"
#include "uninstaller/uninstallerTextIds.h"

#include <cstdint>
#include <string>

std::string removeQuestion(const std::string &displayName, TextLookup text);
std::string nothingToRemoveText(const std::string &codedName, TextLookup text);
std::string badCommandText(const std::string &commandLine, TextLookup text);

// The closing box: what went, or what stayed and why.
std::string removedText(const std::string &displayName, const RemovalOutcome &outcome, TextLookup text);
std::string incompleteText(const std::string &displayName, const RemovalOutcome &outcome,
                           const std::string &reason, TextLookup text);

// Why: the system's text for the status, or its number when it has none.
std::string reasonText(int32_t status, const std::string &systemText, TextLookup text);

#endif
