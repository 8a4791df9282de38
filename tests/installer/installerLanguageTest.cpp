// The installer and the launcher under Wine speak the user's language, which
// Wine takes from LANG (each build of this file runs under one), or the one
// "/lang=" names: the installer's title, buttons, status line and question,
// the launcher's box, kept in screenshots.
#include <cstdlib>
#include <fstream>

#include "installerFixture.h"

namespace {

struct Spoken {
  const char *locale;
  const char *title, *install, *complete, *confirm, *yes, *no;
  const char *error, *abort, *notStarted;  // the launcher's box
  const char *code;                        // in the screenshots' names
};

const Spoken SPOKEN[] = {
    {"de_DE.UTF-8", "Installieren Bildschirmschoner: Tide", "Installieren",
     "Installation und Einrichtung abgeschlossen.", "Bestätigen", "&Ja", "&Nein", "Fehler", "&Abbrechen",
     "Das Installationsprogramm konnte nicht gestartet werden.", "de"},
    {"ja_JP.UTF-8", "インストール スクリーン セーバー: Tide", "インストール",
     "インストールと設定が完了しました。", "確認", "はい(&Y)", "いいえ(&N)", "エラー", "中止(&A)",
     "インストーラーを起動できませんでした。", "ja"},
    {"ru_RU.UTF-8", "Установить Заставка: Tide", "Установить", "Установка и настройка заставки завершены.",
     "Подтверждение", "&Да", "&Нет", "Ошибка", "&Прервать", "Не удалось запустить установщик.", "ru"},
};

const Spoken FRENCH = {"",
                       "Installer Écran de veille: Tide",
                       "Installer",
                       "Installation et configuration terminées.",
                       "Confirmer",
                       "&Oui",
                       "&Non",
                       "Erreur",
                       "&Abandonner",
                       "Le programme d'installation n'a pas pu démarrer.",
                       "fr"};

// The row of the locale this test program runs under.
const Spoken *usersLanguage() {
  const char *locale = std::getenv("LANG");
  for (const Spoken &spoken : SPOKEN)
    if (locale != nullptr && std::string(locale) == spoken.locale) return &spoken;
  return nullptr;
}

std::string shotName(const Spoken &spoken, const char *what) {
  return std::string(what) + "-" + spoken.code + ".png";
}

class LANGUAGE_SUITE : public InstallerEndToEnd {
 protected:
  // Installs the picture package through the window, declining the control
  // panel, and checks every text on the way.
  void installSpeaking(const Spoken &spoken, const std::string &parameters) {
    const std::string launcher = buildLauncher("picture");
    driver::TestProgram launcherProgram, installer;
    ASSERT_TRUE(launcherProgram.start("\"" + launcher + "\" " + parameters));
    HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", 0, true}, INSTALLER_TIMEOUT_MS);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(installer.attach(driver::processIdOfWindow(form)));
    EXPECT_EQ(driver::windowText(form), spoken.title);
    ASSERT_NE(control(form, spoken.install), nullptr) << spoken.code;
    Sleep(500);  // the picture's first paint
    driver::saveScreenshot(shotName(spoken, "installer-ready"));

    ASSERT_TRUE(driver::clickButton(form, spoken.install));
    HWND question = driver::waitForTopLevelWindow({spoken.confirm, "#32770", installer.processId(), true},
                                                  INSTALLER_TIMEOUT_MS);
    ASSERT_NE(question, nullptr) << spoken.code;
    EXPECT_NE(control(form, spoken.complete), nullptr) << spoken.code;
    EXPECT_EQ(driver::buttonCaptions(question), (std::vector<std::string>{spoken.yes, spoken.no}));
    driver::saveScreenshot(shotName(spoken, "installer-done"));
    EXPECT_TRUE(driver::clickButton(question, spoken.no));
    expectBothEnd(installer, launcherProgram);
    expectInstalled();
  }

  // A launcher carrying no program: its box says the installer did not start.
  void launcherBoxSpeaking(const Spoken &spoken, const std::string &parameters) {
    // The launcher program is placed beside the package's sources.
    const std::filesystem::path folder = std::filesystem::path(buildLauncher("picture")).parent_path();
    std::ifstream program(folder / "bin" / "saverstart.exe", std::ios::binary);
    std::ofstream broken(folder / "Broken.exe", std::ios::binary);
    broken << program.rdbuf() << "no program at all";
    broken.close();

    driver::TestProgram launcher;
    ASSERT_TRUE(launcher.start("\"" + (folder / "Broken.exe").string() + "\" " + parameters));
    HWND box = driver::waitForTopLevelWindow({spoken.error, "#32770", launcher.processId(), true},
                                             INSTALLER_TIMEOUT_MS);
    ASSERT_NE(box, nullptr) << spoken.code;
    EXPECT_EQ(driver::buttonCaptions(box), std::vector<std::string>{spoken.abort});
    const std::vector<std::string> texts = driver::staticTexts(box);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().rfind(spoken.notStarted, 0), 0u) << texts.front();
    driver::saveScreenshot(shotName(spoken, "launcher-box"));
    EXPECT_TRUE(driver::clickButton(box, spoken.abort));
    EXPECT_TRUE(launcher.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  }
};

TEST_F(LANGUAGE_SUITE, TheInstallerSpeaksTheUsersLanguage) {
  ASSERT_NE(usersLanguage(), nullptr) << "run under one of the locales above";
  installSpeaking(*usersLanguage(), "");
}

TEST_F(LANGUAGE_SUITE, TheLaunchersBoxSpeaksTheUsersLanguage) {
  ASSERT_NE(usersLanguage(), nullptr);
  launcherBoxSpeaking(*usersLanguage(), "");
}

TEST_F(LANGUAGE_SUITE, TheSwitchChoosesFrenchOnAnySystem) {
  installSpeaking(FRENCH, "/lang=fr");
  launcherBoxSpeaking(FRENCH, "/LANG=fr");
}

}  // namespace
