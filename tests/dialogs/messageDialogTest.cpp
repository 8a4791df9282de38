// Shows real dialogs and works them from a second thread, the way a user
// does: read them, then click or type.
#include "common/dialogs/messageDialog.h"
#include "common/textLanguage.h"
#include "testDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using driver::DialogAnswerer;

// What the test reads off the open dialog besides the driver's record.
struct Layout {
  std::vector<int> buttonIds;
  bool textAboveButtons = false;
};

struct Outcome {
  DialogAnswer answer;
  std::vector<driver::ShownDialog> shown;
  Layout layout;
};

bool isButton(const driver::DialogControl &control) {
  return lstrcmpiA(control.className.c_str(), "Button") == 0;
}

DialogAnswerer::Answer clickLastButton() {
  return [](HWND dialog) {
    const std::vector<std::string> captions = driver::buttonCaptions(dialog);
    return !captions.empty() && driver::clickButton(dialog, captions.back());
  };
}

// Notes the layout, then gives the answer.
DialogAnswerer::Answer noting(Layout &layout, const DialogAnswerer::Answer &answer) {
  return [&layout, answer](HWND dialog) {
    RECT text = {}, firstButton = {};
    for (const driver::DialogControl &control : driver::dialogControls(dialog)) {
      if (!isButton(control)) continue;
      if (layout.buttonIds.empty()) GetWindowRect(control.window, &firstButton);
      layout.buttonIds.push_back(control.id);
    }
    GetWindowRect(GetDlgItem(dialog, MESSAGE_DIALOG_TEXT_ID), &text);
    layout.textAboveButtons = text.bottom > text.top && text.bottom <= firstButton.top;
    return answer(dialog);
  };
}

Outcome runDialog(DialogKind kind, DialogButtons buttons, const std::string &text,
                  const DialogAnswerer::Answer &answer) {
  Outcome outcome;
  DialogAnswerer answerer(noting(outcome.layout, answer));
  outcome.answer = showMessageDialog(kind, buttons, text);
  outcome.shown = answerer.take();
  return outcome;
}

// The German table, in the test program as in every program.
const uint16_t GERMAN = 0x0407;

struct Case {
  DialogKind kind;
  DialogButtons buttons;
  uint16_t languageId;
};

// Every dialog shows the caption, message and buttons of its kind and
// language, the message above the buttons, each button identified by the
// answer it gives; a click, Enter (the first button) and Escape answer it.
TEST(MessageDialog, ShowsItsTextsAndAnswersMouseAndKeyboard) {
  const std::string text = "Installation Error: C:\\a&b.txt\r\n\r\nProblem with file C:\\a&b.txt. ";
  const Case cases[] = {{DialogKind::Error, DialogButtons::Abort, ENGLISH_LANGUAGE_ID},
                        {DialogKind::Error, DialogButtons::Abort, GERMAN},
                        {DialogKind::Information, DialogButtons::Ok, ENGLISH_LANGUAGE_ID},
                        {DialogKind::Confirmation, DialogButtons::YesNo, ENGLISH_LANGUAGE_ID},
                        {DialogKind::Confirmation, DialogButtons::OkCancel, ENGLISH_LANGUAGE_ID}};
  for (const Case &c : cases) {
    setTextLanguage(c.languageId);
    // The test program carries the shared texts in its own string table.
    const std::vector<DialogButton> expected = dialogButtons(c.buttons, programText);
    const std::string label = dialogCaption(c.kind, programText) + " " + expected.front().label;
    ASSERT_FALSE(expected.front().label.empty()) << label;

    const Outcome clicked = runDialog(c.kind, c.buttons, text, clickLastButton());
    EXPECT_EQ(expected.back().answer, clicked.answer) << label;
    ASSERT_EQ(1u, clicked.shown.size()) << label;
    EXPECT_EQ(dialogCaption(c.kind, programText), clicked.shown[0].caption);
    EXPECT_EQ(text, clicked.shown[0].text) << "shown as given, \"&\" included";
    ASSERT_EQ(expected.size(), clicked.shown[0].buttons.size()) << label;
    ASSERT_EQ(expected.size(), clicked.layout.buttonIds.size()) << label;
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(expected[i].label, clicked.shown[0].buttons[i]) << label;
      EXPECT_EQ(expected[i].answer, clicked.layout.buttonIds[i]) << label;
    }
    EXPECT_TRUE(clicked.layout.textAboveButtons) << label;

    EXPECT_EQ(expected.front().answer,
              runDialog(c.kind, c.buttons, text, driver::keyAnswer(VK_RETURN)).answer)
        << label;
    EXPECT_EQ(dismissAnswer(c.buttons),
              runDialog(c.kind, c.buttons, text, driver::keyAnswer(VK_ESCAPE)).answer)
        << label;
  }
  setTextLanguage(ENGLISH_LANGUAGE_ID);
}

// A program that is closing has a quit message waiting; its last message
// must still be seen, and the quit must still reach its message loop.
TEST(MessageDialog, AppearsWhileAQuitIsPendingAndKeepsTheQuit) {
  PostQuitMessage(5);
  const Outcome outcome =
      runDialog(DialogKind::Error, DialogButtons::Abort, "closing", driver::clickAnswer(""));
  EXPECT_EQ(ANSWER_ABORT, outcome.answer);
  EXPECT_EQ(1u, outcome.shown.size());
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(5u, message.wParam);
}

}  // namespace
