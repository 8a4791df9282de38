// The message dialogs of both programs: error, information and confirmation,
// their texts in UTF-8 and in the language programText reads.
//
// A dialog is built from an in-memory template, so it can show button sets
// that the system's message box lacks (a single "&Abort"). It is modal to its
// owner, opens centred with the first button focused, and is worked from the
// keyboard: Enter presses the focused button, the underlined letters choose a
// button, Escape and the close box give the dismiss answer (Abort, OK, No or
// Cancel). For test drivers: the window class is "#32770", the text is the
// static control MESSAGE_DIALOG_TEXT_ID, and each button's identifier is its
// DialogAnswer value (IDOK, IDCANCEL, IDABORT, IDYES, IDNO).
#ifndef SAVER_COMMON_DIALOGS_MESSAGE_DIALOG_H
#define SAVER_COMMON_DIALOGS_MESSAGE_DIALOG_H

#include "common/dialogs/dialogTexts.h"

#include <windows.h>

#include <cstdint>
#include <string>

const int MESSAGE_DIALOG_TEXT_ID = 1000;

// Shows the dialog and returns the answer. Without an owner it is owned by the
// thread's active window, if any.
DialogAnswer showMessageDialog(DialogKind kind, DialogButtons buttons, const std::string &text,
                               HWND owner = nullptr);

// The common cases.
void showErrorMessage(const std::string &text);        // "Error", "&Abort"
void showInformationMessage(const std::string &text);  // "Information", "OK"
bool askYesNo(const std::string &text);                // "Confirm", "&Yes" / "&No"
bool askOkCancel(const std::string &text);             // "Confirm", "OK" / "Cancel"

// The one error box for file and package failures, shared by the installer
// and the launcher: installErrorText(code, fileText) with one "&Abort".
void ReportInstallError(int32_t code, const std::string &fileText);

#endif
