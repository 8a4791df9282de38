/* Identifiers of the launcher's own string table entries (saverstart.rc);
   the shared ones are in common/dialogs/dialogTextIds.h, the control
   panel's titles in common/controlPanelTitles.h. Read by the resource
   compiler too, so it holds nothing but definitions. */
#ifndef SAVER_LAUNCHER_LAUNCHER_TEXT_IDS_H
#define SAVER_LAUNCHER_LAUNCHER_TEXT_IDS_H

#include "common/dialogs/dialogTextIds.h"

#define IDS_LAUNCHER_CORRUPT_INSTALLER 3001
#define IDS_LAUNCHER_COPY_FAILED 3002
#define IDS_LAUNCHER_INSTALLER_NOT_STARTED 3003
#define IDS_LAUNCHER_PROFILE_NOT_WRITTEN 3004

#endif
