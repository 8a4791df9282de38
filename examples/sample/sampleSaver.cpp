// The sample screen saver: a slideshow of the pictures its package placed in
// its saver folder, with a settings box and its own uninstall.
#include "common/dialogs/messageDialog.h"
#include "common/statusCodes.h"
#include "examples/sample/saverCommandLine.h"
#include "examples/sample/saverPlace.h"
#include "examples/sample/saverUninstall.h"
#include "examples/sample/saverWindow.h"

#include <windows.h>

namespace {

const size_t PICTURE_LIMIT = 1000;

std::string titleOf(const SampleSettings &settings, const SaverPlace &place) {
  if (!settings.title.empty()) return settings.title;
  return place.codedName.empty() ? "Sample screen saver" : place.codedName;
}

void showSettingsBox(HWND owner, const SampleSettings &settings, const SaverPlace &place, size_t pictures) {
  std::string text = titleOf(settings, place) + "\r\n\r\n";
  if (pictures > 0)
    text += "Shows the " + std::to_string(pictures) + " pictures in " + place.saverFolder + ", each for " +
            std::to_string(settings.slideSeconds) + " seconds.";
  else
    text += "No pictures found in " + (place.saverFolder.empty() ? "its folder" : place.saverFolder) +
            "; it shows drifting bands of light instead.";
  text += "\r\n\r\nA sample screen saver, made with this installer system. It has no settings to change.";
  showMessageDialog(DialogKind::Information, DialogButtons::Ok, text, IsWindow(owner) ? owner : nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  const SaverCommand command = parseSaverCommand(lpCmdLine != nullptr ? lpCmdLine : "");
  if (command.mode == SaverMode::Ignored) return 0;

  SaverPlace place;
  const int32_t located = locateSaver(place);
  const SampleSettings settings = readSampleSettings(place.saverFolder);
  const std::string title = titleOf(settings, place);
  if (command.mode == SaverMode::Uninstall) {
    if (located != STATUS_OK) {
      if (!command.quiet)
        showErrorMessage("This program cannot remove a screen saver: " + place.programPath +
                         " is not the name of an installed screen saver.");
      return located;
    }
    return uninstallSaver(place, title, command.quiet);
  }

  // Without its folder the saver still runs: it draws its own animation.
  const std::vector<std::string> pictures = findPictures(place.saverFolder, PICTURE_LIMIT);
  const HWND window = reinterpret_cast<HWND>(command.window);
  switch (command.mode) {
    case SaverMode::FullScreen:
      return runFullScreen(settings, pictures);
    case SaverMode::Preview:
      return runPreview(window, settings, pictures);
    default:
      showSettingsBox(window, settings, place, pictures.size());
      return 0;
  }
}
