#include "installer/placementRules.h"

#include "package/installedSaver.h"

static const char INSTALLER_MOVIE[] = "installer.swf";

static char foldAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool namesASaver(const std::string &name) {
  std::string folded = name;
  for (char &c : folded) c = foldAsciiLetter(c);
  return folded.find("saver") != std::string::npos;
}

std::string UninstallDisplayNameFor(const std::string &name, const std::string &screenSaverText) {
  return namesASaver(name) ? name : name + " " + screenSaverText;
}

std::string InstallerTitleFor(const std::string &name, const std::string &installText,
                              const std::string &screenSaverText) {
  if (namesASaver(name)) return installText + ": " + name;
  return installText + " " + screenSaverText + ": " + name;
}

std::string olderCopyProgram(const std::string &folder, const std::string &codedName) {
  return folder + saverProgramName(codedName);
}

std::string olderCopyFolder(const std::string &folder, const std::string &codedName) {
  return saverFolderOf(folder, codedName);
}

bool isPlainKeyName(const std::string &saverName) {
  return !saverName.empty() && saverName.find('\\') == std::string::npos;
}

std::string movieCopySource(int memberIndex, const std::string &firstMemberPath,
                            const std::string &workFolder, const std::string &saverFolder) {
  return memberIndex == 1 ? workFolder + INSTALLER_MOVIE : saverFolder + firstMemberPath;
}
