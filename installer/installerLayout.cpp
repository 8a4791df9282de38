#include "installer/installerLayout.h"

#include "common/displayScale.h"

// The window is 20 pixels taller than its parts need, for caption and borders.
static const int FRAME_ALLOWANCE = 20;
// Gaps between the picture, the licence box and the button panel.
static const int GAP_BELOW_PICTURE = 2;
static const int GAP_BELOW_LICENSE = 4;
// Gaps of the buttons to the panel's right edge and to each other.
static const int GAP_RIGHT_OF_CANCEL = 1;
static const int GAP_BETWEEN_BUTTONS = 6;

// Each length is scaled by itself, so a part has the same size wherever the
// rules place it; sums of scaled lengths may differ from a scaled sum by a
// pixel at 120 and 144 DPI, never at 96 or 192.
LayoutRect scaledRect(const LayoutRect &design, int dpi) {
  return LayoutRect{scaledToDpi(design.left, dpi), scaledToDpi(design.top, dpi),
                    scaledToDpi(design.width, dpi), scaledToDpi(design.height, dpi)};
}

static int pictureBottom(int dpi) {
  const LayoutRect picture = scaledRect(CONTENT_PANEL, dpi);
  return picture.top + picture.height;
}

int minimumHeightWithLicense(int dpi) {
  return pictureBottom(dpi) + scaledToDpi(GAP_BELOW_PICTURE, dpi) + scaledToDpi(LICENSE_BOX_HEIGHT, dpi) +
         scaledToDpi(GAP_BELOW_LICENSE, dpi) + scaledToDpi(BUTTON_PANEL.height, dpi) +
         scaledToDpi(FRAME_ALLOWANCE, dpi);
}

int minimumHeightWithoutLicense(int dpi) {
  return pictureBottom(dpi) + scaledToDpi(GAP_BELOW_LICENSE, dpi) + scaledToDpi(BUTTON_PANEL.height, dpi);
}

int fitClientHeight(bool licenseShown, int dpi) {
  int height =
      pictureBottom(dpi) + scaledToDpi(GAP_BELOW_PICTURE, dpi) + scaledToDpi(BUTTON_PANEL.height, dpi);
  if (licenseShown) height += scaledToDpi(LICENSE_BOX_HEIGHT, dpi) + scaledToDpi(GAP_BELOW_LICENSE, dpi);
  return height;
}

ButtonLefts placeButtons(int panelWidth, int cancelWidth, int installWidth, int dpi) {
  const int cancel = panelWidth - cancelWidth - scaledToDpi(GAP_RIGHT_OF_CANCEL, dpi);
  return ButtonLefts{cancel, cancel - installWidth - scaledToDpi(GAP_BETWEEN_BUTTONS, dpi)};
}

// C++ integer division truncates toward zero, as the rule asks.
int centredOrigin(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }

ResizedLayout resizeLayout(int clientWidth, int clientHeight, int cancelWidth, int installWidth, int dpi) {
  ResizedLayout layout;
  const int panelHeight = scaledToDpi(BUTTON_PANEL.height, dpi);
  const int panelTop = clientHeight - panelHeight;
  const int side = scaledToDpi(1, dpi);
  layout.buttonPanel = LayoutRect{side, panelTop, clientWidth - 2 * side, panelHeight};
  layout.buttons = placeButtons(layout.buttonPanel.width, cancelWidth, installWidth, dpi);
  const int gapBelowPicture = scaledToDpi(GAP_BELOW_PICTURE, dpi);
  const int boxTop = pictureBottom(dpi) + gapBelowPicture;
  const int boxMinimum = scaledToDpi(LICENSE_BOX_HEIGHT, dpi);
  int boxHeight = panelTop - gapBelowPicture - (pictureBottom(dpi) + scaledToDpi(GAP_BELOW_LICENSE, dpi));
  if (boxHeight < boxMinimum) boxHeight = boxMinimum;
  layout.licenseBox = LayoutRect{0, boxTop, clientWidth, boxHeight};
  return layout;
}
