#include "common/dialogs/dialogTexts.h"

namespace {

struct DialogTextIds {
  unsigned errorCaption, informationCaption, confirmCaption, abort, ok, yes, no, cancel;
};

const DialogTextIds ENGLISH = {
    IDS_ERROR_CAPTION, IDS_INFORMATION_CAPTION, IDS_CONFIRM_CAPTION, IDS_ABORT, IDS_OK, IDS_YES, IDS_NO,
    IDS_CANCEL};
const DialogTextIds GERMAN = {IDS_GERMAN_ERROR_CAPTION,
                              IDS_GERMAN_INFORMATION_CAPTION,
                              IDS_GERMAN_CONFIRM_CAPTION,
                              IDS_GERMAN_ABORT,
                              IDS_GERMAN_OK,
                              IDS_GERMAN_YES,
                              IDS_GERMAN_NO,
                              IDS_GERMAN_CANCEL};

const DialogTextIds &idsFor(DialogLanguage language) {
  return language == DialogLanguage::German ? GERMAN : ENGLISH;
}

}  // namespace

std::string dialogCaption(DialogKind kind, DialogLanguage language, TextLookup text) {
  const DialogTextIds &ids = idsFor(language);
  switch (kind) {
    case DialogKind::Error:
      return text(ids.errorCaption);
    case DialogKind::Information:
      return text(ids.informationCaption);
    case DialogKind::Confirmation:
      return text(ids.confirmCaption);
  }
  return std::string();
}

std::vector<DialogButton> dialogButtons(DialogButtons buttons, DialogLanguage language, TextLookup text) {
  const DialogTextIds &ids = idsFor(language);
  switch (buttons) {
    case DialogButtons::Abort:
      return {{ANSWER_ABORT, text(ids.abort)}};
    case DialogButtons::Ok:
      return {{ANSWER_OK, text(ids.ok)}};
    case DialogButtons::YesNo:
      return {{ANSWER_YES, text(ids.yes)}, {ANSWER_NO, text(ids.no)}};
    case DialogButtons::OkCancel:
      return {{ANSWER_OK, text(ids.ok)}, {ANSWER_CANCEL, text(ids.cancel)}};
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
