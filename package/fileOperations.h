// Copying a file whatever its attributes, and creating a folder chain.
#ifndef SAVER_PACKAGE_FILE_OPERATIONS_H
#define SAVER_PACKAGE_FILE_OPERATIONS_H

#include <string>

// Clears the attributes of source and of an existing target, creates the
// target's folders when missing, then copies (keeping an existing target when
// failIfExists). Returns the copy's success.
bool CopyFileForced(const std::string &source, const std::string &target, bool failIfExists);

// Creates path (with or without a trailing "\") and every missing parent.
// Failures are not reported; the caller finds out when it uses the folder.
void ForceFolders(const std::string &path);

// The folder part of a path, with its trailing "\"; "" when it has none.
std::string folderOf(const std::string &path);

#endif
