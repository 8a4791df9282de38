#include "common/dialogs/dialogTexts.h"

#include <gtest/gtest.h>

namespace {

std::string labels(DialogButtons buttons, DialogLanguage language) {
  std::string joined;
  for (const DialogButton &button : dialogButtons(buttons, language))
    joined += std::to_string(button.answer) + ":" + button.label + " ";
  return joined;
}

TEST(DialogTexts, InstallerDialogsAreEnglish) {
  EXPECT_EQ("Error", dialogCaption(DialogKind::Error, DialogLanguage::English));
  EXPECT_EQ("Information", dialogCaption(DialogKind::Information, DialogLanguage::English));
  EXPECT_EQ("Confirm", dialogCaption(DialogKind::Confirmation, DialogLanguage::English));
  EXPECT_EQ("3:&Abort ", labels(DialogButtons::Abort, DialogLanguage::English));
  EXPECT_EQ("1:OK ", labels(DialogButtons::Ok, DialogLanguage::English));
  EXPECT_EQ("6:&Yes 7:&No ", labels(DialogButtons::YesNo, DialogLanguage::English));
  EXPECT_EQ("1:OK 2:Cancel ", labels(DialogButtons::OkCancel, DialogLanguage::English));
}

TEST(DialogTexts, LauncherErrorIsGerman) {
  EXPECT_EQ("Fehler", dialogCaption(DialogKind::Error, DialogLanguage::German));
  EXPECT_EQ("3:Abbrechen ", labels(DialogButtons::Abort, DialogLanguage::German));
}

TEST(DialogTexts, DismissingGivesTheCautiousAnswer) {
  EXPECT_EQ(ANSWER_ABORT, dismissAnswer(DialogButtons::Abort));
  EXPECT_EQ(ANSWER_NO, dismissAnswer(DialogButtons::YesNo));
  EXPECT_EQ(ANSWER_CANCEL, dismissAnswer(DialogButtons::OkCancel));
}

}  // namespace
