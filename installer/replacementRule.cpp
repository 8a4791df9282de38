#include "installer/replacementRule.h"

#include "installer/stringTableIds.h"
#include "package/packageVersion.h"

Replacement replacementFor(const std::string &installedVersion, const std::string &packageVersion,
                           bool force) {
  PackageVersion installed, package;
  if (!parseVersion(installedVersion, installed) || !parseVersion(packageVersion, package))
    return Replacement::unversioned;
  const int order = compareVersions(package, installed);
  if (order == 0) return Replacement::repair;
  if (order > 0) return Replacement::upgrade;
  return force ? Replacement::forcedDowngrade : Replacement::refusedDowngrade;
}

bool keepsInstalledVersion(Replacement replacement) {
  return replacement == Replacement::repair || replacement == Replacement::upgrade ||
         replacement == Replacement::forcedDowngrade;
}

std::string replacementQuestion(const std::string &saverName, const std::string &installedVersion,
                                const std::string &packageVersion, TextLookup text) {
  return expandText(text(IDS_REPLACE_VERSION_QUESTION), {saverName, installedVersion, packageVersion});
}

std::string downgradeRefusedText(const std::string &saverName, const std::string &installedVersion,
                                 const std::string &packageVersion, TextLookup text) {
  return expandText(text(IDS_DOWNGRADE_REFUSED), {saverName, installedVersion, packageVersion});
}
