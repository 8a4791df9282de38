// The control-panel titles in saverstart.exe's string table: the resource
// compiler must have read each block in its language's code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/controlPanelTitles.h"
#include "testDriver.h"

namespace {

class LauncherResources : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ =
        LoadLibraryExA(driver::windowsPathOf(SAVERSTART_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program_, nullptr);
  }
  void TearDown() override { FreeLibrary(program_); }

  std::wstring wide(unsigned id) {
    wchar_t text[256] = L"";
    LoadStringW(program_, id, text, 256);
    return text;
  }
  std::string narrow(unsigned id) {
    char text[256] = "";
    LoadStringA(program_, id, text, sizeof text);
    return text;
  }

  HMODULE program_ = nullptr;
};

TEST_F(LauncherResources, TitlesAreStoredAsTheirLanguagesWriteThem) {
  EXPECT_EQ(wide(IDS_JAPANESE_FIRST_TITLE), L"画面のプロパティ");
  EXPECT_EQ(wide(IDS_JAPANESE_SECOND_TITLE), L"スクリーン セーバーの設定");
  EXPECT_EQ(wide(IDS_FRENCH_FIRST_TITLE), L"Afficher propriétés");
  EXPECT_EQ(wide(IDS_FRENCH_SECOND_TITLE), L"Paramètres de l'écran de veille");
  EXPECT_EQ(wide(IDS_PORTUGUESE_FIRST_TITLE), L"Propriedades de vídeo");
  EXPECT_EQ(wide(IDS_DUTCH_FIRST_TITLE), L"display eigenschappen ");
  EXPECT_EQ(wide(IDS_GERMAN_SECOND_TITLE), L"Bildschirmschonereinstellungen");
}

TEST_F(LauncherResources, AWesternSystemReadsTheCodePage1252Bytes) {
  if (GetACP() != 1252) GTEST_SKIP() << "system code page " << GetACP();
  EXPECT_EQ(narrow(IDS_FRENCH_SECOND_TITLE), FRENCH_SECOND_TITLE);
  EXPECT_EQ(narrow(IDS_PORTUGUESE_FIRST_TITLE), PORTUGUESE_FIRST_TITLE);
}

}  // namespace
