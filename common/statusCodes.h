// Every status code of the system, in one table.
//
// A status is a signed 32-bit value: 0 is success, the negative values below
// are the system's own codes, and positive values are operating-system error
// codes passed through (file, registry and shell errors). The first nonzero
// status stops a sequence.
//
// Each row of SAVER_STATUS_TABLE is a status a script can see as the exit code
// of the launcher, the installer or the uninstaller: its name, its value, the
// response a winget manifest's ExpectedReturnCodes give it ("" for none: a
// plain failure), and what it means, for the README's exit-code table
// ("saverpack exit-codes") and the winget manifest ("saverpack winget"). The
// constants below are defined from the rows, so each value is written once;
// the texts cost the programs nothing, since only the packer expands them.
//
// Three values carry two meanings; the second name of each is an alias, in
// SAVER_STATUS_ALIASES.
#ifndef SAVER_COMMON_STATUS_CODES_H
#define SAVER_COMMON_STATUS_CODES_H

#include <cstdint>

// clang-format off
#define SAVER_STATUS_TABLE(X)                                                                        \
  X(STATUS_OK, 0, "",                                                                                \
    "Success.")                                                                                      \
  /* Shared file routines and the programs' link. */                                                 \
  X(STATUS_NOT_DONE, -1, "",                                                                         \
    "Nothing was done: a folder stayed in place, a folder name was empty, or there was nothing to "  \
    "try (no launcher to send a command to); the launcher could not make its window.")               \
  /* deleteFileForced, deleteFileWithRetries, deleteFolderTree; extraction counts such a file as  */ \
  /* written.                                                                                     */ \
  X(STATUS_FILE_BUSY, -32, "fileInUse",                                                              \
    "A file to be replaced or removed is in use and stayed in place.")                               \
  /* deleteFileWithRetries, for a ".scr".                                                         */ \
  X(STATUS_SCREEN_SAVER_BUSY, -38, "packageInUse",                                                   \
    "The screen saver is running and its program could not be replaced or removed.")                \
  /* A symbolic link or junction may lead anywhere: the elevated programs neither write nor       */ \
  /* delete below one.                                                                            */ \
  X(STATUS_FOLDER_IS_LINK, -39, "contactSupport",                                                    \
    "A folder to be written to or deleted below is a link, or lies below one; nothing was done "     \
    "there.")                                                                                        \
  /* The launcher's extraction of the installer copy.                                             */ \
  X(STATUS_SHORT_READ, -3, "contactSupport",                                                         \
    "The launcher's own file ended early: the Setup.exe is cut short.")                              \
  X(STATUS_SHORT_WRITE, -4, "",                                                                      \
    "The launcher could not write the whole installer copy to the temporary folder.")                \
  /* Package readers: no buffer for an entry or member; runFlashAXInstaller: the shell returned   */ \
  /* 0; the launcher: nothing behind its image (STATUS_NOTHING_APPENDED).                         */ \
  X(STATUS_OUT_OF_MEMORY, -7, "insufficientMemory",                                                  \
    "Out of memory, or the shell could not start a program for want of resources; from the "         \
    "launcher also: no installer is appended to it.")                                                \
  /* The screen saver data file (ExpandDataMember, OpenDataFile).                                 */ \
  X(STATUS_MEMBER_INDEX_TOO_HIGH, -12, "contactSupport",                                             \
    "The data file names a member outside its member table.")                                        \
  X(STATUS_EXPANDED_SIZE_MISMATCH, -13, "contactSupport",                                            \
    "A file expanded to another size than its package states.")                                      \
  X(STATUS_TOO_MANY_MEMBERS, -14, "contactSupport",                                                  \
    "The data file states more members than it may hold (0 to 1010).")                              \
  X(STATUS_DATA_FILE_NOT_OPEN, -15, "contactSupport",                                                \
    "The screen saver's data file could not be opened.")                                             \
  /* Expansion: no file afterwards; CopyDocsToSaverFolder: no licence or ReadMe.                  */ \
  X(STATUS_EXPANDED_FILE_MISSING, -16, "contactSupport",                                             \
    "A file that was just expanded, or the licence or read-me, is missing from the work folder.")    \
  /* The package (Package::readHeader, Package::extractEntry) and the data file.                  */ \
  X(STATUS_SHORT_ENTRY, -30, "contactSupport",                                                       \
    "A packed file's bytes lie outside the package, or fewer were read or written.")                 \
  X(STATUS_SHORT_HEADER, -31, "contactSupport",                                                      \
    "The package is shorter than its header.")                                                       \
  X(STATUS_INVALID_HEADER, -33, "contactSupport",                                                    \
    "The package header names a movie player installer of no known version.")                       \
  X(STATUS_UNSAFE_NAME, -34, "contactSupport",                                                       \
    "A name in the package would lead out of the folder it belongs in; nothing was installed.")      \
  X(STATUS_CODEC_NOT_LOADED, -35, "contactSupport",                                                  \
    "The decompression library does not load.")                                                      \
  /* Checked against the package's integrity record.                                              */ \
  X(STATUS_PACKAGE_DAMAGED, -36, "contactSupport",                                                   \
    "The package is damaged: the installer or its package was changed or cut short after "           \
    "packing.")                                                                                      \
  X(STATUS_EXPANDED_CRC_MISMATCH, -37, "contactSupport",                                             \
    "An expanded file differs from the checksum its package records.")                               \
  /* Flash Player detection and update, the SWF reader and the movie panel.                       */ \
  /* runFlashAXInstaller: the carried installer is missing; checkFlashPlayerVersion: none is      */ \
  /* installed (FLASH_PANEL_NO_PLAYER).                                                           */ \
  X(FLASH_INSTALLER_MISSING, -401, "missingDependency",                                              \
    "No movie player is installed, or the player installer the package carries is missing.")        \
  /* No control file registered, no answer from the control, or none installed and none carried.  */ \
  X(FLASH_PLAYER_NOT_FOUND, -402, "missingDependency",                                               \
    "No movie player was found, and the package carries none to install.")                          \
  X(FLASH_PANEL_CONTROL_NOT_CREATED, -403, "",                                                       \
    "The movie player control could not be created.")                                                \
  X(SWF_BAD_SIGNATURE, -404, "contactSupport",                                                       \
    "The movie is no SWF file.")                                                                     \
  X(SWF_VERSION_TOO_NEW, -405, "contactSupport",                                                     \
    "The movie's SWF version is newer than the reader knows.")                                       \
  X(SWF_VERSION_TOO_OLD, -406, "contactSupport",                                                     \
    "The movie's SWF version is older than the reader takes.")                                       \
  X(SWF_UNREADABLE, -407, "contactSupport",                                                          \
    "The movie is cut short or damaged.")                                                            \
  /* A compressed movie that inflates past its stated length, or states one beyond the largest    */ \
  /* the reader writes out.                                                                       */ \
  X(SWF_INFLATES_TOO_FAR, -408, "contactSupport",                                                    \
    "The compressed movie expands past the length it states, or states too great a length.")        \
  X(FLASH_PANEL_CONTROL_NOT_RELEASED, -409, "",                                                      \
    "The movie player control could not be released.")                                              \
  X(FLASH_PANEL_PLAYER_TOO_OLD, -410, "missingDependency",                                           \
    "The movie needs a newer movie player than the one installed.")                                 \
  X(FLASH_PLAYER_INSTALL_FAILED, -416, "missingDependency",                                          \
    "The movie player was installed but never answered afterwards.")                                 \
  X(FLASH_INSTALLER_NOT_FOR_NT, -455, "systemNotSupported",                                          \
    "The carried movie player installer does not run on this version of Windows.")                  \
  /* Placement and the installer's run.                                                           */ \
  X(STATUS_USER_ABORT, -454, "cancelledByUser",                                                      \
    "The user declined the overwrite or upgrade question, or the uninstall question.")               \
  X(STATUS_PACKAGE_COPY_FAILED, -523, "",                                                            \
    "The package could not be copied into the work folder.")                                         \
  X(STATUS_ENTRY_ABSENT, -531, "contactSupport",                                                     \
    "A packed file the installer needs has no name in the package.")                                \
  X(STATUS_MOVIE_COPY_FAILED, -532, "",                                                              \
    "A copy of the movie could not be written into the saver folder.")                              \
  /* RegisterUninstall under either root; makeActiveSaver: the current user's                     */ \
  /* "Control Panel\Desktop" key (STATUS_DESKTOP_KEY_FAILED).                                     */ \
  X(STATUS_REGISTER_UNINSTALL_FAILED, -2201, "",                                                     \
    "The uninstall entry could not be written; from the launcher: the current user's desktop "       \
    "settings could not be written.")                                                                \
  X(STATUS_UNREGISTER_UNINSTALL_FAILED, -2202, "",                                                   \
    "The uninstall entry could not be removed.")                                                     \
  X(STATUS_INSTALLER_NOT_STARTED, -2203, "",                                                         \
    "The launcher could not start the installer.")                                                   \
  /* The uninstaller.                                                                             */ \
  X(STATUS_NOTHING_TO_REMOVE, -2204, "",                                                             \
    "The uninstaller found neither the saver's folder nor its uninstall entry.")                     \
  X(STATUS_BAD_UNINSTALL_COMMAND, -2205, "invalidParameter",                                         \
    "The uninstaller's command line names no saver, or not plainly.")                                \
  /* The installed saver's version is newer than the package's, and "/force" was not given.       */ \
  X(STATUS_DOWNGRADE_REFUSED, -2206, "downgrade",                                                    \
    "A newer version is installed; nothing was changed (\"/force\" installs the older one).")         \
  /* Another installer of the same saver runs; this one changed nothing.                          */ \
  X(STATUS_INSTALL_IN_PROGRESS, -2207, "installInProgress",                                          \
    "Another installation of the same screen saver is running; nothing was changed.")                \
  /* The space check before writing, or a write that found its volume full during the install.  */ \
  X(STATUS_DISK_FULL, -2208, "diskFull",                                                             \
    "A volume the install writes to has too little free space; nothing was changed.")                \
  /* Operating-system codes that the system produces, tells apart or gives a response. Their      */ \
  /* values are fixed by Windows; the Windows layer checks them against its headers.              */ \
  X(SYSTEM_ERROR_FILE_NOT_FOUND, 2, "",                                                              \
    "Windows: a file was not found (ERROR_FILE_NOT_FOUND).")                                         \
  X(SYSTEM_ERROR_PATH_NOT_FOUND, 3, "",                                                              \
    "Windows: a folder was not found (ERROR_PATH_NOT_FOUND).")                                       \
  X(SYSTEM_ERROR_ACCESS_DENIED, 5, "",                                                               \
    "Windows: access denied (ERROR_ACCESS_DENIED).")                                                 \
  X(SYSTEM_ERROR_SHARING_VIOLATION, 32, "fileInUse",                                                 \
    "Windows: a file is open in another program (ERROR_SHARING_VIOLATION).")                         \
  X(SYSTEM_ERROR_HANDLE_DISK_FULL, 39, "diskFull",                                                   \
    "Windows: the disk is full (ERROR_HANDLE_DISK_FULL).")                                           \
  X(SYSTEM_ERROR_DISK_FULL, 112, "diskFull",                                                         \
    "Windows: the disk is full (ERROR_DISK_FULL).")                                                  \
  X(SYSTEM_ERROR_ALREADY_EXISTS, 183, "",                                                            \
    "Windows: a file or folder of that name already exists (ERROR_ALREADY_EXISTS).")                 \
  X(SYSTEM_ERROR_ENVVAR_NOT_FOUND, 203, "",                                                          \
    "Windows: an environment variable is not set (ERROR_ENVVAR_NOT_FOUND).")

// A second name of a value above, where one value carries two meanings.
#define SAVER_STATUS_ALIASES(A)                                                                      \
  A(STATUS_NOTHING_APPENDED, STATUS_OUT_OF_MEMORY)                                                   \
  A(FLASH_PANEL_NO_PLAYER, FLASH_INSTALLER_MISSING)                                                  \
  A(STATUS_DESKTOP_KEY_FAILED, STATUS_REGISTER_UNINSTALL_FAILED)
// clang-format on

#define SAVER_STATUS_CONSTANT(name, value, response, meaning) constexpr int32_t name = value;
#define SAVER_STATUS_ALIAS(name, of) constexpr int32_t name = of;
SAVER_STATUS_TABLE(SAVER_STATUS_CONSTANT)
SAVER_STATUS_ALIASES(SAVER_STATUS_ALIAS)
#undef SAVER_STATUS_CONSTANT
#undef SAVER_STATUS_ALIAS

#endif
