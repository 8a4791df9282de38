// The captions and button labels of the message dialogs, from the entries of
// common/dialogs/dialogTexts.rc, in the language the lookup reads. Portable.
#ifndef SAVER_COMMON_DIALOGS_DIALOG_TEXTS_H
#define SAVER_COMMON_DIALOGS_DIALOG_TEXTS_H

#include "common/dialogs/dialogTextIds.h"
#include "common/programTexts.h"

#include <string>
#include <vector>

enum class DialogKind { Error, Information, Confirmation };
enum class DialogButtons { Abort, Ok, YesNo, OkCancel };

// The answer a dialog gives; the values match the Windows IDOK... codes, so
// they double as the buttons' control identifiers.
enum DialogAnswer { ANSWER_OK = 1, ANSWER_CANCEL = 2, ANSWER_ABORT = 3, ANSWER_YES = 6, ANSWER_NO = 7 };

struct DialogButton {
  DialogAnswer answer;
  std::string label;
};

std::string dialogCaption(DialogKind kind, TextLookup text);

// The buttons from left to right; the first is the default one.
std::vector<DialogButton> dialogButtons(DialogButtons buttons, TextLookup text);

// The answer given when the dialog is closed with Escape or its close box.
DialogAnswer dismissAnswer(DialogButtons buttons);

#endif
