#include "common/dialogs/dialogTexts.h"
#include "common/dialogs/installErrorText.h"
#include "programTables.h"

#include <gtest/gtest.h>

namespace {

std::string labels(DialogButtons buttons) {
  std::string joined;
  for (const DialogButton &button : dialogButtons(buttons, dialogFragmentText))
    joined += std::to_string(button.answer) + ":" + button.label + " ";
  return joined;
}

TEST(DialogTexts, EnglishDialogs) {
  EXPECT_EQ("Error", dialogCaption(DialogKind::Error, dialogFragmentText));
  EXPECT_EQ("Information", dialogCaption(DialogKind::Information, dialogFragmentText));
  EXPECT_EQ("Confirm", dialogCaption(DialogKind::Confirmation, dialogFragmentText));
  EXPECT_EQ("3:&Abort ", labels(DialogButtons::Abort));
  EXPECT_EQ("1:OK ", labels(DialogButtons::Ok));
  EXPECT_EQ("6:&Yes 7:&No ", labels(DialogButtons::YesNo));
  EXPECT_EQ("1:OK 2:Cancel ", labels(DialogButtons::OkCancel));
}

TEST(DialogTexts, DismissingGivesTheCautiousAnswer) {
  EXPECT_EQ(ANSWER_ABORT, dismissAnswer(DialogButtons::Abort));
  EXPECT_EQ(ANSWER_NO, dismissAnswer(DialogButtons::YesNo));
  EXPECT_EQ(ANSWER_CANCEL, dismissAnswer(DialogButtons::OkCancel));
}

TEST(InstallErrorText, FileTextAppearsWhereEachCodeWantsIt) {
  EXPECT_EQ("Installation Error: C:\\w\\temp.dat\r\n\r\nProblem with file C:\\w\\temp.dat. ",
            installErrorText(-31, "C:\\w\\temp.dat", installErrorFragmentText));
  EXPECT_EQ("Installation Error: \r\n\r\nProblem with file . ",
            installErrorText(-531, "", installErrorFragmentText));
  EXPECT_EQ("Installation Error: ", installErrorText(-1, "f", installErrorFragmentText));
  const std::string busy = installErrorText(-32, "f.txt", installErrorFragmentText);
  EXPECT_EQ(0u, busy.find("Installation Error:  File is busy"));
  EXPECT_EQ("\r\n\r\nFile: f.txt", busy.substr(busy.size() - 15));
  EXPECT_EQ(std::string::npos, installErrorText(-38, "f.scr", installErrorFragmentText).find("f.scr"));
  EXPECT_EQ(0u, installErrorText(5, "f", installErrorFragmentText)
                    .find("Installation Error: f\r\n\r\nInsufficient user"));
  EXPECT_EQ(0u, installErrorText(-523, "t", installErrorFragmentText)
                    .find("Installation Error: t\r\n\r\nPlease retry"));
}

}  // namespace
