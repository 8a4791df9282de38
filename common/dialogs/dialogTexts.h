// The texts both programs share: captions and button labels of the message
// dialogs, in the two languages the programs use (the installer's English and
// the launcher's German), and the text of the error box for file and package
// failures. Each program's own texts are in installer/installerTexts.h and
// launcher/launcherTexts.h. Portable.
#ifndef SAVER_COMMON_DIALOGS_DIALOG_TEXTS_H
#define SAVER_COMMON_DIALOGS_DIALOG_TEXTS_H

#include <cstdint>
#include <string>
#include <vector>

enum class DialogKind { Error, Information, Confirmation };
enum class DialogButtons { Abort, Ok, YesNo, OkCancel };
enum class DialogLanguage { English, German };

// The answer a dialog gives; the values match the Windows IDOK... codes, so
// they double as the buttons' control identifiers.
enum DialogAnswer { ANSWER_OK = 1, ANSWER_CANCEL = 2, ANSWER_ABORT = 3, ANSWER_YES = 6, ANSWER_NO = 7 };

struct DialogButton {
  DialogAnswer answer;
  std::string label;
};

std::string dialogCaption(DialogKind kind, DialogLanguage language);

// The buttons from left to right; the first is the default one.
std::vector<DialogButton> dialogButtons(DialogButtons buttons, DialogLanguage language);

// The answer given when the dialog is closed with Escape or its close box.
DialogAnswer dismissAnswer(DialogButtons buttons);

// What a user does about a damaged installer file.
extern const char DOWNLOAD_AGAIN_TEXT[];
// The maker's name in front of a message: "Lumavane Error: ".
extern const char PRODUCT_ERROR_TEXT[];
// What a user whose account may lack the rights does when a retry fails too.
extern const char LIMITED_PRIVILEGES_TEXT[];

// The text that ReportInstallError shows for a status and the file concerned.
std::string installErrorText(int32_t code, const std::string &fileText);

#endif
