#include "common/programTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(ExpandText, FillsEachPlaceholderWithItsArgumentOnce) {
  struct Case {
    const char *pattern;
    const char *expected;
  } cases[] = {
      {"%2 before %1", "two before one"},  // a translation reorders
      {"%1, %1", "one, one"},
      {"%3 %9", "%3 %9"},  // a placeholder without an argument stays visible
      {"50% %0 %a %%1 end%", "50% %0 %a %one end%"},
      {"", ""},
  };
  for (const Case &c : cases) EXPECT_EQ(expandText(c.pattern, {"one", "two"}), c.expected) << c.pattern;
}

TEST(ExpandText, InsertedArgumentsAreNotReadAgain) {
  EXPECT_EQ(expandText("File: %1, error %2", {"C:\\100%2\\%1%%.txt", "5"}),
            "File: C:\\100%2\\%1%%.txt, error 5");
}

}  // namespace
