#include "package/installedSaver.h"

#include "common/pathRules.h"

static const char PROGRAM_EXTENSION[] = ".scr";
const char SAVER_SETTINGS_FILE[] = "saver.dat";
const char UNINSTALL_LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string saverProgramName(const std::string &codedName) { return codedName + PROGRAM_EXTENSION; }

std::string saverFolderOf(const std::string &sharedFolder, const std::string &codedName) {
  return sharedFolder + codedName + "\\";
}

std::string codedNameOfProgram(const std::string &programPath) {
  const std::string name = programPath.substr(folderOfFile(programPath).size());
  const size_t extensionLength = sizeof PROGRAM_EXTENSION - 1;
  if (name.size() <= extensionLength) return "";
  std::string extension = name.substr(name.size() - extensionLength);
  for (char &c : extension) c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  return extension == PROGRAM_EXTENSION ? name.substr(0, name.size() - extensionLength) : "";
}

std::string uninstallKeyPath(const std::string &saverName) {
  return std::string(UNINSTALL_LIST_KEY) + "\\" + saverName;
}

std::string uninstallCommand(const std::string &systemFolder, const std::string &codedName) {
  return systemFolder + saverProgramName(codedName) + " /u";
}
