// saverstart: copies the installer carried behind its own image into a work
// folder, starts it, carries out its commands and removes the copy when the
// installer closes. It shows no window of its own, only error boxes.
#include <windows.h>

#include "common/dialogs/messageDialog.h"
#include "launcher/SenderMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The launcher's boxes read "Fehler" and "Abbrechen".
  setDialogLanguage(DialogLanguage::German);
  if (createSenderMainForm(instance) == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
