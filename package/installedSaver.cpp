#include "package/installedSaver.h"

#include "common/elevationRule.h"
#include "common/pathRules.h"
#include "common/textLanguage.h"

#include <algorithm>

static const char PROGRAM_EXTENSION[] = ".scr";
const char SAVER_SETTINGS_FILE[] = "saver.dat";
const char UNINSTALL_LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char UNINSTALLER_FILE_NAME[] = "saverremove.exe";
const char SHARED_LIBRARY_COUNTS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char SHARED_LIBRARIES_VALUE[] = "SharedLibraries";
const char LANGUAGES_VALUE[] = "Languages";
static const char NAME_SWITCH[] = "/n=";

static std::string lowerAscii(std::string text) {
  for (char &c : text) c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  return text;
}

std::string saverProgramName(const std::string &codedName) { return codedName + PROGRAM_EXTENSION; }

std::string saverFolderOf(const std::string &sharedFolder, const std::string &codedName) {
  return sharedFolder + codedName + "\\";
}

std::string codedNameOfProgram(const std::string &programPath) {
  const std::string name = programPath.substr(folderOfFile(programPath).size());
  const size_t extensionLength = sizeof PROGRAM_EXTENSION - 1;
  if (name.size() <= extensionLength) return "";
  const std::string extension = lowerAscii(name.substr(name.size() - extensionLength));
  return extension == PROGRAM_EXTENSION ? name.substr(0, name.size() - extensionLength) : "";
}

std::string uninstallKeyPath(const std::string &saverName) {
  return std::string(UNINSTALL_LIST_KEY) + "\\" + saverName;
}

std::string uninstallCommand(const std::string &systemFolder, const std::string &codedName) {
  return systemFolder + saverProgramName(codedName) + " /u";
}

bool fitsUninstallerCommand(const std::string &codedName) {
  return isSafeEntryName(codedName) && codedName.find('"') == std::string::npos;
}

std::string uninstallerCommand(const std::string &saverFolder, const std::string &codedName) {
  return "\"" + saverFolder + UNINSTALLER_FILE_NAME + "\" " + NAME_SWITCH + "\"" + codedName + "\"";
}

// The next word of a command line; quotes group, and are dropped.
static std::string nextWord(const std::string &line, size_t &at) {
  while (at < line.size() && line[at] == ' ') ++at;
  std::string word;
  bool quoted = false;
  for (; at < line.size() && (quoted || line[at] != ' '); ++at) {
    if (line[at] == '"')
      quoted = !quoted;
    else
      word += line[at];
  }
  return word;
}

UninstallerArguments parseUninstallerArguments(const std::string &commandLine) {
  UninstallerArguments arguments;
  bool named = false, unknown = false;
  size_t at = 0;
  for (std::string word = nextWord(commandLine, at); !word.empty(); word = nextWord(commandLine, at)) {
    const std::string lower = lowerAscii(word);
    if (lower == "/q") {
      arguments.quiet = true;
    } else if (lower == ELEVATED_COPY_SWITCH) {
      arguments.restarted = true;
    } else if (lower.compare(0, sizeof NAME_SWITCH - 1, NAME_SWITCH) == 0 && !named) {
      arguments.codedName = word.substr(sizeof NAME_SWITCH - 1);
      named = true;
    } else if (languageSwitchCode(word, arguments.languageCode)) {
    } else {
      unknown = true;
    }
  }
  arguments.valid = named && !unknown && fitsUninstallerCommand(arguments.codedName);
  return arguments;
}

bool isUninstallCommandOf(const std::string &command, const std::string &systemFolder,
                          const std::string &sharedFolder, const std::string &codedName) {
  const std::string given = lowerAscii(command);
  return given == lowerAscii(uninstallCommand(systemFolder, codedName)) ||
         given == lowerAscii(uninstallerCommand(saverFolderOf(sharedFolder, codedName), codedName));
}

bool isSharedLibraryPath(const std::string &path, const std::string &sharedFolder) {
  const std::string lower = lowerAscii(path), folder = lowerAscii(sharedFolder);
  if (folder.empty() || lower.compare(0, folder.size(), folder) != 0) return false;
  const std::string name = lower.substr(folder.size());
  return isSafeEntryName(name) && name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0;
}

std::string joinedNameList(const std::vector<std::string> &names) {
  std::string value;
  for (const std::string &name : names)
    if (!name.empty()) value += name + '\0';
  return value + '\0';
}

std::vector<std::string> splitNameList(const std::string &value) {
  std::vector<std::string> names;
  for (size_t start = 0; start < value.size();) {
    const size_t end = std::min(value.find('\0', start), value.size());
    if (end > start) names.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

uint32_t raisedUserCount(uint32_t count, bool counted, bool presentBefore) {
  if (!counted) count = presentBefore ? 1 : 0;
  return count == UINT32_MAX ? count : count + 1;
}

uint32_t estimatedSizeInKiB(uint64_t bytes) {
  const uint64_t kib = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  return kib > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(kib);
}
