// System paths, numbered work folders, file versions and file deletion with
// retries: the file-system routines that both programs share.
//
// The path values are process-wide and set once by initSystemPaths at
// start-up; every folder value ends in "\" and is joined to file names by
// plain concatenation. The operations are implemented for Windows only
// (library saver_common_win32); the pure rules they follow are in
// common/pathRules.h.
#ifndef SAVER_COMMON_QRX_FILE_UTILS_H
#define SAVER_COMMON_QRX_FILE_UTILS_H

#include <cstdint>
#include <string>

#include "common/statusCodes.h"

extern std::string pathWindows;        // %WINDIR%
extern std::string pathSystem;         // GetSystemDirectory
extern std::string pathSysnative;      // %SystemRoot%\Sysnative\ (native 64-bit system folder)
extern std::string pathCommonAppData;  // all-users application data + "Lumavane\"
extern std::string pathExeFolder;      // folder of the running program file
extern std::string pathWorkFolder;     // local application data + "Lumavane\QRP<n>\"

// Sets the six system paths in the order above from the running program's
// full file path. Stops at the first failure, leaving the remaining paths
// empty: 0, or a positive system error code (see common/statusCodes.h).
int32_t initSystemPaths(const std::string &programFilePath);

// The same without the work folder, for a program that writes nothing of its
// own (the screen saver): pathWorkFolder stays empty.
int32_t initFixedSystemPaths(const std::string &programFilePath);

// Creates the first free folder "<prefix><n>" for n = 1..1000 in "Lumavane"
// below the local application data folder and stores it, with its trailing
// "\", in folder. On failure folder is left empty and the status is a
// positive system error code.
int32_t createNumberedFolder(const std::string &prefix, std::string &folder);

// The file-system path of a shell special folder (CSIDL number) without a
// trailing "\"; empty when the shell has no path for it.
std::string getSpecialFolder(int folderNumber);

// Whether anything, a file or a folder stands at the path.
bool pathExists(const std::string &path);
bool fileExists(const std::string &path);
bool folderExists(const std::string &path);

// Reads the file version a.b.c.d of a program or library: major := a,
// revision := c. Both stay unchanged when the file has no readable version.
void myGetFileVersion(const std::string &filePath, int32_t &major, int32_t &revision);

// Deletes a file, clearing its attributes for a second try when the first
// fails. 0 (also when there is no such file) or STATUS_FILE_BUSY.
int32_t deleteFileForced(const std::string &filePath);

// deleteFileForced repeated up to attempts times, back to back. 0, or after
// the last attempt STATUS_SCREEN_SAVER_BUSY for a ".scr" file (any case) and
// STATUS_FILE_BUSY for any other; STATUS_NOT_DONE when attempts <= 0.
int32_t deleteFileWithRetries(const std::string &filePath, int32_t attempts);

// Deletes a folder (given with its trailing "\") and everything below it,
// deepest first. Links (any reparse point, to a file or a folder) are
// removed themselves, never followed, and so is the folder when it is one.
// Only the last part of the path is checked: see linkOnPath
// (common/adminFolder.h) for the folders above it.
// 0, STATUS_FILE_BUSY for a file that stays, STATUS_NOT_DONE for an empty
// name or a folder that stays.
int32_t deleteFolderTree(const std::string &folder);

#endif
