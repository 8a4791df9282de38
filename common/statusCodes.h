// Every status code of the system, in one table.
//
// A status is a signed 32-bit value: 0 is success, the negative values below
// are the system's own codes, and positive values are operating-system error
// codes passed through (file, registry and shell errors). The first nonzero
// status stops a sequence.
//
// Three values carry two meanings. The second name of each is defined from
// the first, so the value itself is written once:
// - -7:    no memory, or the shell could not start a program for want of
//          resources (STATUS_OUT_OF_MEMORY); in the launcher, nothing is
//          appended to its image (STATUS_NOTHING_APPENDED).
// - -401:  the carried Flash Player installer is missing from the work folder
//          (FLASH_INSTALLER_MISSING); in the movie panel, no Flash Player is
//          installed (FLASH_PANEL_NO_PLAYER).
// - -2201: the uninstall entry could not be written under either root
//          (STATUS_REGISTER_UNINSTALL_FAILED); in the launcher, the current
//          user's desktop key could not be written (STATUS_DESKTOP_KEY_FAILED).
#ifndef SAVER_COMMON_STATUS_CODES_H
#define SAVER_COMMON_STATUS_CODES_H

#include <cstdint>

constexpr int32_t STATUS_OK = 0;

// Shared file routines and the programs' link.
// A folder stayed in place, an empty folder name was given, or nothing was
// tried (no deletion attempts; no launcher known to send a command to).
constexpr int32_t STATUS_NOT_DONE = -1;
// deleteFileForced, deleteFileWithRetries, deleteFolderTree: a file stayed in
// place; extraction counts such a file as written.
constexpr int32_t STATUS_FILE_BUSY = -32;
// deleteFileWithRetries: the same for a screen saver program (".scr").
constexpr int32_t STATUS_SCREEN_SAVER_BUSY = -38;
// A folder the elevated programs write to or delete below is a link (a
// symbolic link or junction), or lies below one: it may lead anywhere.
constexpr int32_t STATUS_FOLDER_IS_LINK = -39;

// The launcher's extraction of the installer copy.
constexpr int32_t STATUS_SHORT_READ = -3;   // the launcher file ended early
constexpr int32_t STATUS_SHORT_WRITE = -4;  // the installer copy took fewer bytes
// Package readers: no memory for an entry's or member's buffer.
// runFlashAXInstaller: the shell returned 0.
constexpr int32_t STATUS_OUT_OF_MEMORY = -7;
// Launcher: nothing is appended behind its image.
constexpr int32_t STATUS_NOTHING_APPENDED = STATUS_OUT_OF_MEMORY;

// The screen saver data file (ExpandDataMember, OpenDataFile).
constexpr int32_t STATUS_MEMBER_INDEX_TOO_HIGH = -12;   // index outside 1..memberCount
constexpr int32_t STATUS_EXPANDED_SIZE_MISMATCH = -13;  // expanded file of the wrong size
constexpr int32_t STATUS_TOO_MANY_MEMBERS = -14;        // memberCount outside 0..1010
constexpr int32_t STATUS_DATA_FILE_NOT_OPEN = -15;
// Expansion: no file after expanding. CopyDocsToSaverFolder: the licence or
// ReadMe is missing from the work folder.
constexpr int32_t STATUS_EXPANDED_FILE_MISSING = -16;

// The package (Package::readHeader, Package::extractEntry) and the data file.
// Stored bytes lie outside the file, or fewer were read or written.
constexpr int32_t STATUS_SHORT_ENTRY = -30;
constexpr int32_t STATUS_SHORT_HEADER = -31;    // fewer than a whole header's bytes
constexpr int32_t STATUS_INVALID_HEADER = -33;  // a carried Flash installer of no known version row
// An entry name, member path, coded saver name or make-active name that
// would lead out of the folder it belongs in.
constexpr int32_t STATUS_UNSAFE_NAME = -34;
constexpr int32_t STATUS_CODEC_NOT_LOADED = -35;  // the decompression library does not load
// The package's integrity record does not match the file: the installer
// program or the package behind it was changed or cut short after packing.
constexpr int32_t STATUS_PACKAGE_DAMAGED = -36;
// An expanded entry or member differs from the checksum its package records.
constexpr int32_t STATUS_EXPANDED_CRC_MISMATCH = -37;

// Flash Player detection and update, the SWF reader and the movie panel.
// runFlashAXInstaller: the carried installer is missing.
constexpr int32_t FLASH_INSTALLER_MISSING = -401;
// checkFlashPlayerVersion: no Flash Player is installed.
constexpr int32_t FLASH_PANEL_NO_PLAYER = FLASH_INSTALLER_MISSING;
// No Flash Player found: no control file registered, no answer from the
// control, or none installed and none carried to install it.
constexpr int32_t FLASH_PLAYER_NOT_FOUND = -402;
constexpr int32_t FLASH_PANEL_CONTROL_NOT_CREATED = -403;  // createFlashControl gave up
constexpr int32_t SWF_BAD_SIGNATURE = -404;                // neither "FWS" nor "CWS"
constexpr int32_t SWF_VERSION_TOO_NEW = -405;
constexpr int32_t SWF_VERSION_TOO_OLD = -406;
constexpr int32_t SWF_UNREADABLE = -407;  // cut or damaged: the movie reader gave up
// A compressed movie that inflates past the length it states, or states one
// beyond the largest the reader writes out.
constexpr int32_t SWF_INFLATES_TOO_FAR = -408;
constexpr int32_t FLASH_PANEL_CONTROL_NOT_RELEASED = -409;  // releaseFlashControl failed
constexpr int32_t FLASH_PANEL_PLAYER_TOO_OLD = -410;        // the movie needs a newer player
constexpr int32_t FLASH_PLAYER_INSTALL_FAILED = -416;       // the player never answered after the update
constexpr int32_t FLASH_INSTALLER_NOT_FOR_NT = -455;        // Flash Player 8 or later on Windows NT

// Placement and the installer's run.
// The overwrite question, or an uninstall question, was declined.
constexpr int32_t STATUS_USER_ABORT = -454;
constexpr int32_t STATUS_PACKAGE_COPY_FAILED = -523;  // CopyPackageToWorkFolder's message
constexpr int32_t STATUS_ENTRY_ABSENT = -531;         // a package entry with no name
constexpr int32_t STATUS_MOVIE_COPY_FAILED = -532;    // ExpandAllMembers: a movie-copy member
// RegisterUninstall: neither registry root takes the entry.
constexpr int32_t STATUS_REGISTER_UNINSTALL_FAILED = -2201;
// makeActiveSaver: the current user's "Control Panel\Desktop" key is missing
// or not writable.
constexpr int32_t STATUS_DESKTOP_KEY_FAILED = STATUS_REGISTER_UNINSTALL_FAILED;
constexpr int32_t STATUS_UNREGISTER_UNINSTALL_FAILED = -2202;  // UnregisterUninstall
constexpr int32_t STATUS_INSTALLER_NOT_STARTED = -2203;  // the shell could not start the installer copy
// The uninstaller: no folder and no uninstall entry of the saver it was
// asked to remove; a command line without a plain coded name.
constexpr int32_t STATUS_NOTHING_TO_REMOVE = -2204;
constexpr int32_t STATUS_BAD_UNINSTALL_COMMAND = -2205;
// The installed saver's version is newer than the package's, and "/force"
// was not given: nothing is changed.
constexpr int32_t STATUS_DOWNGRADE_REFUSED = -2206;

// Operating-system codes that the system produces or tells apart itself.
// Their values are fixed by Windows; the Windows layer checks them against
// its headers.
constexpr int32_t SYSTEM_ERROR_FILE_NOT_FOUND = 2;      // ERROR_FILE_NOT_FOUND
constexpr int32_t SYSTEM_ERROR_PATH_NOT_FOUND = 3;      // ERROR_PATH_NOT_FOUND
constexpr int32_t SYSTEM_ERROR_ACCESS_DENIED = 5;       // ERROR_ACCESS_DENIED
constexpr int32_t SYSTEM_ERROR_ALREADY_EXISTS = 183;    // ERROR_ALREADY_EXISTS
constexpr int32_t SYSTEM_ERROR_ENVVAR_NOT_FOUND = 203;  // ERROR_ENVVAR_NOT_FOUND

#endif
