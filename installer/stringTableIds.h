/* Identifiers of the installer's string table (stringTable.rc). Read by
   the resource compiler too, so it holds nothing but definitions. */
#ifndef SAVER_INSTALLER_STRING_TABLE_IDS_H
#define SAVER_INSTALLER_STRING_TABLE_IDS_H

#define IDS_INSTALL 2001
#define IDS_SCREEN_SAVER 2002
#define IDS_OVERWRITE_QUESTION 2003
#define IDS_EXPANDING_FILES 2004
#define IDS_WRITING_SAVER_DATA_FILE 2005
#define IDS_DISPLAY_PROPERTIES 2006
#define IDS_SCREEN_SAVER_SETTINGS 2007
#define IDS_ACCEPT_AND_INSTALL 2008
#define IDS_CANCEL 2009
#define IDS_CLOSE 2010
#define IDS_FLASH_PLAYER_ADDRESS 2011

#endif
