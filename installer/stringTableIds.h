/* Identifiers of the installer's own string table entries (stringTable.rc);
   the shared ones are in common/dialogs/dialogTextIds.h. Read by the
   resource compiler too, so it holds nothing but definitions. */
#ifndef SAVER_INSTALLER_STRING_TABLE_IDS_H
#define SAVER_INSTALLER_STRING_TABLE_IDS_H

#include "common/dialogs/dialogTextIds.h"

/* The window: its title, buttons and status lines. */
#define IDS_INSTALL 2001
#define IDS_SCREEN_SAVER 2002
#define IDS_INSTALL_BUTTON 2003
#define IDS_ACCEPT_AND_INSTALL 2004
#define IDS_CLOSE 2005
#define IDS_APPLICATION_PREPARING 2006
#define IDS_PREPARING_WINDOW_FIRST 2007
#define IDS_PREPARING 2008
#define IDS_INSTALLING 2009
#define IDS_EXPANDING_FILES 2010
#define IDS_WRITING_SAVER_DATA_FILE 2011
#define IDS_WRITING_FILES 2012
#define IDS_INSTALLATION_COMPLETE 2013
#define IDS_INSTALLATION_SUCCESSFUL 2014
#define IDS_INSUFFICIENT_PRIVILEGES 2015
#define IDS_SAVER_NOT_REPLACEABLE 2016
#define IDS_ABORTED_CLEANING_UP 2017
#define IDS_INSTALL_FAILED 2018
#define IDS_OPENING_CONTROL_PANEL 2019

/* Questions and messages. */
#define IDS_OVERWRITE_QUESTION 2031
#define IDS_OPEN_CONTROL_PANEL_QUESTION 2032
#define IDS_CORRUPT_PICTURE 2033
#define IDS_NOT_FOR_NT 2034
#define IDS_PLAYER_INSTALL_FAILED 2035
#define IDS_PLAYER_MISSING 2036
#define IDS_DAMAGED_INSTALLER 2037
#define IDS_INSTALLER_CORRUPTED 2038
#define IDS_EXPANSION_FAILED 2039
#define IDS_DATA_FILE_IN_USE 2040
#define IDS_DATA_FILE_OPEN_FAILED 2041
#define IDS_DATA_FILE_READ_FAILED 2042
#define IDS_DATA_FILE_CLOSE_FAILED 2043
#define IDS_LICENSE_TOO_LARGE 2044
#define IDS_LICENSE_LABEL 2045
#define IDS_REPLACE_VERSION_QUESTION 2046
#define IDS_DOWNGRADE_REFUSED 2047
#define IDS_FOLDER_IS_LINK 2048
#define IDS_INSTALL_IN_PROGRESS 2049
#define IDS_DISK_FULL 2050

/* The control panel's window titles, which it closes, and where the
   start-up's messages send a user who lacks the movie player. */
#define IDS_DISPLAY_PROPERTIES 2051
#define IDS_SCREEN_SAVER_SETTINGS 2052
#define IDS_FLASH_PLAYER_ADDRESS 2053

#endif
