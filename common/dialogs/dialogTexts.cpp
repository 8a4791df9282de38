#include "common/dialogs/dialogTexts.h"

std::string dialogCaption(DialogKind kind, DialogLanguage language) {
  const bool german = language == DialogLanguage::German;
  switch (kind) {
    case DialogKind::Error:
      return german ? "Fehler" : "Error";
    case DialogKind::Information:
      return "Information";
    case DialogKind::Confirmation:
      return german ? "Best\xE4tigen" : "Confirm";  // code page 1252
  }
  return std::string();
}

std::vector<DialogButton> dialogButtons(DialogButtons buttons, DialogLanguage language) {
  const bool german = language == DialogLanguage::German;
  const std::string cancel = german ? "Abbrechen" : "Cancel";
  switch (buttons) {
    case DialogButtons::Abort:
      return {{ANSWER_ABORT, german ? "Abbrechen" : "&Abort"}};
    case DialogButtons::Ok:
      return {{ANSWER_OK, "OK"}};
    case DialogButtons::YesNo:
      return {{ANSWER_YES, german ? "&Ja" : "&Yes"}, {ANSWER_NO, german ? "&Nein" : "&No"}};
    case DialogButtons::OkCancel:
      return {{ANSWER_OK, "OK"}, {ANSWER_CANCEL, cancel}};
  }
  return {};
}

DialogAnswer dismissAnswer(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::Abort:
      return ANSWER_ABORT;
    case DialogButtons::Ok:
      return ANSWER_OK;
    case DialogButtons::YesNo:
      return ANSWER_NO;
    case DialogButtons::OkCancel:
      return ANSWER_CANCEL;
  }
  return ANSWER_CANCEL;
}
