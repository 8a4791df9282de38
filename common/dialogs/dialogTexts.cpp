#include "common/dialogs/dialogTexts.h"

std::string dialogCaption(DialogKind kind, TextLookup text) {
  switch (kind) {
    case DialogKind::Error:
      return text(IDS_ERROR_CAPTION);
    case DialogKind::Information:
      return text(IDS_INFORMATION_CAPTION);
    case DialogKind::Confirmation:
      return text(IDS_CONFIRM_CAPTION);
  }
  return std::string();
}

std::vector<DialogButton> dialogButtons(DialogButtons buttons, TextLookup text) {
  switch (buttons) {
    case DialogButtons::Abort:
      return {{ANSWER_ABORT, text(IDS_ABORT)}};
    case DialogButtons::Ok:
      return {{ANSWER_OK, text(IDS_OK)}};
    case DialogButtons::YesNo:
      return {{ANSWER_YES, text(IDS_YES)}, {ANSWER_NO, text(IDS_NO)}};
    case DialogButtons::OkCancel:
      return {{ANSWER_OK, text(IDS_OK)}, {ANSWER_CANCEL, text(IDS_CANCEL)}};
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
