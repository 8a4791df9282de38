// Pure rules for building the system's folder and file paths. Windows paths,
// "\" as separator; folder values end in "\".
#ifndef SAVER_COMMON_PATH_RULES_H
#define SAVER_COMMON_PATH_RULES_H

#include <cstdint>
#include <string>

// The product's folder below the application data folders.
constexpr char PRODUCT_FOLDER_NAME[] = "Lumavane\\";

// path with one "\" appended unless it already ends in one.
std::string withTrailingBackslash(const std::string &path);

// A folder value taken from the system (environment variable, special
// folder): statusWhenEmpty for an empty value, so that nothing is ever rooted
// at "\"; otherwise 0 and folder := value with its trailing "\".
int32_t folderFromSystemValue(const std::string &value, int32_t statusWhenEmpty, std::string &folder);

// The native 64-bit system folder as a 32-bit process sees it.
std::string sysnativeFolderOf(const std::string &systemRoot);

// The folder part of a file path, with its trailing "\", "/" or ":"; empty for
// a bare file name.
std::string folderOfFile(const std::string &filePath);
// The file name behind that folder; "" for a path that ends in a separator.
std::string fileNamePart(const std::string &path);

// The status of a file that resisted all deletion attempts:
// STATUS_SCREEN_SAVER_BUSY for a file whose extension, lower-cased, is ".scr",
// else STATUS_FILE_BUSY.
int32_t deletionFailureStatus(const std::string &filePath);

// The path to descend into for a folder entry met while enumerating folder:
// folder itself for "." and "..", otherwise folder + name + "\".
std::string subfolderEntryPath(const std::string &folder, const std::string &entryName);

// A path that names one place without any search: "X:\..." or "\\server\...".
bool isFullPath(const std::string &path);

// The one rule for names taken from a package, a data file or a command,
// used by the packer, the installer and the launcher alike.
// A file name must be a bare file name: not empty, no folder, no drive, not
// "." or "..", and no device name such as "CON" or "com1.txt".
bool isSafeEntryName(const std::string &name);

// A relative path must stay inside the folder it is joined to: relative, no
// drive, no "..", no device name.
bool isSafeMemberPath(const std::string &path);

#endif
