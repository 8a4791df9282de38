/* Identifiers of the uninstaller's own string table entries
   (saverremove.rc); the shared ones are in common/dialogs/dialogTextIds.h.
   Read by the resource compiler too, so it holds nothing but definitions. */
#ifndef SAVER_UNINSTALLER_UNINSTALLER_TEXT_IDS_H
#define SAVER_UNINSTALLER_UNINSTALLER_TEXT_IDS_H

#include "common/dialogs/dialogTextIds.h"

#define IDS_REMOVE_QUESTION 4001
#define IDS_NOTHING_TO_REMOVE 4002
#define IDS_BAD_COMMAND 4003
#define IDS_REMOVED 4004
#define IDS_INCOMPLETE 4005
#define IDS_REMOVED_LIST 4006
#define IDS_ERROR_NUMBER 4007

#endif
