// What an install does to an installed copy of its saver, by the versions of
// both: the version the installed saver's uninstall entry shows, and the
// package's. Portable; the Windows layer reads the entry and acts.
#ifndef SAVER_INSTALLER_REPLACEMENT_RULE_H
#define SAVER_INSTALLER_REPLACEMENT_RULE_H

#include "common/programTexts.h"

#include <string>

enum class Replacement {
  // Either side states no version (or none that parses): the older copy, if
  // any, is found and replaced as ever, after the overwrite question.
  unversioned,
  repair,            // the same version: replaced without a question
  upgrade,           // the package is newer: asked, naming both versions
  forcedDowngrade,   // older, with "/force": asked like an upgrade
  refusedDowngrade,  // older, without "/force": nothing is changed
};

// installedVersion: the entry's "DisplayVersion", "" when there is no entry
// or it has none; packageVersion: the package's, "" when it states none.
Replacement replacementFor(const std::string &installedVersion, const std::string &packageVersion,
                           bool force);

// Whether the installed version is kept aside until the new one is in
// place, and put back when it fails.
bool keepsInstalledVersion(Replacement replacement);

// The question before an upgrade or a forced downgrade, and the message of a
// refused downgrade, each naming the saver and both versions.
std::string replacementQuestion(const std::string &saverName, const std::string &installedVersion,
                                const std::string &packageVersion, TextLookup text);
std::string downgradeRefusedText(const std::string &saverName, const std::string &installedVersion,
                                 const std::string &packageVersion, TextLookup text);

#endif
