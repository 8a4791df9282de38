/* Identifiers of the texts that more than one program's string table holds:
   the dialogs' (common/dialogs/dialogTexts.rc, in every table) and the
   install error box's (common/dialogs/installErrorTexts.rc, in the tables of
   the programs that show it). Each group fills blocks of 16 ids of its own,
   the unit the resource compiler stores. Read by the resource compiler too,
   so it holds nothing but definitions. */
#ifndef SAVER_COMMON_DIALOGS_DIALOG_TEXT_IDS_H
#define SAVER_COMMON_DIALOGS_DIALOG_TEXT_IDS_H

/* The dialogs' captions and buttons. */
#define IDS_ERROR_CAPTION 1024
#define IDS_INFORMATION_CAPTION 1025
#define IDS_CONFIRM_CAPTION 1026
#define IDS_ABORT 1027
#define IDS_OK 1028
#define IDS_YES 1029
#define IDS_NO 1030
#define IDS_CANCEL 1031

/* Parts of the messages of the installer and the launcher. */
#define IDS_PRODUCT_ERROR 1040
#define IDS_DOWNLOAD_AGAIN 1041
#define IDS_LIMITED_PRIVILEGES 1042

/* The error box for file and package failures: the lead, then the text for
   the status. */
#define IDS_INSTALL_ERROR 1043
#define IDS_INSTALL_ACCESS_DENIED 1044
#define IDS_INSTALL_COPY_FAILED 1045
#define IDS_INSTALL_SAVER_BUSY 1046
#define IDS_INSTALL_FILE_BUSY 1047
#define IDS_INSTALL_CHECKSUM_MISMATCH 1048
#define IDS_INSTALL_FILE_PROBLEM 1049

#endif
