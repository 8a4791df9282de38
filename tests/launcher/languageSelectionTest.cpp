#include <gtest/gtest.h>

#include "launcher/languageSelection.h"

TEST(LanguageSelection, EachWordGivesItsIndexWhateverCountryFollows) {
  EXPECT_EQ(languageIndexForName("English (United States)"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Catalan"), LANGUAGE_CATALAN);
  EXPECT_EQ(languageIndexForName("Spanish (Modern Sort)"), LANGUAGE_SPANISH);
  EXPECT_EQ(languageIndexForName("French (Canada)"), LANGUAGE_FRENCH);
  EXPECT_EQ(languageIndexForName("German (Austria)"), LANGUAGE_GERMAN);
  EXPECT_EQ(languageIndexForName("Dutch (Belgium)"), LANGUAGE_DUTCH);
  EXPECT_EQ(languageIndexForName("Japanese"), LANGUAGE_JAPANESE);
  EXPECT_EQ(languageIndexForName("Portugese"), LANGUAGE_PORTUGUESE);
  EXPECT_EQ(languageIndexForName("Portuguese (Brazil)"), LANGUAGE_PORTUGUESE);
}

TEST(LanguageSelection, UnknownOrDifferentlyCasedNamesGiveEnglish) {
  EXPECT_EQ(languageIndexForName("Italian"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Swedish"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Deutsch (Deutschland)"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("german"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName(""), LANGUAGE_ENGLISH);
}

TEST(LanguageSelection, TheEarlierWordInTheSearchOrderWins) {
  EXPECT_EQ(languageIndexForName("German (Dutch)"), LANGUAGE_DUTCH);
  EXPECT_EQ(languageIndexForName("Catalan Spanish"), LANGUAGE_SPANISH);
  EXPECT_EQ(languageIndexForName("French Portugese"), LANGUAGE_PORTUGUESE);
  EXPECT_EQ(languageIndexForName("Japanese German"), LANGUAGE_GERMAN);
  EXPECT_EQ(languageIndexForName("Japanese English"), LANGUAGE_ENGLISH);
}
