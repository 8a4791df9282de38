#include "installer/installerFont.h"

#include "common/displayScale.h"
#include "installer/installerLayout.h"

HFONT createInstallerFont(int dpi) {
  return CreateFontA(scaledToDpi(FONT_HEIGHT, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     "MS Sans Serif");
}
