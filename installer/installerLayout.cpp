#include "installer/installerLayout.h"

// The window is 20 pixels taller than its parts need, for caption and borders.
static const int FRAME_ALLOWANCE = 20;
// Gaps between the picture, the licence box and the button panel.
static const int GAP_BELOW_PICTURE = 2;
static const int GAP_BELOW_LICENSE = 4;

static int pictureBottom() { return CONTENT_PANEL.top + CONTENT_PANEL.height; }

int minimumHeightWithLicense() {
  return pictureBottom() + GAP_BELOW_PICTURE + LICENSE_BOX_HEIGHT + GAP_BELOW_LICENSE +
         BUTTON_PANEL.height + FRAME_ALLOWANCE;
}

int minimumHeightWithoutLicense() { return pictureBottom() + GAP_BELOW_LICENSE + BUTTON_PANEL.height; }

int fitClientHeight(bool licenseShown) {
  int height = pictureBottom() + GAP_BELOW_PICTURE + BUTTON_PANEL.height;
  if (licenseShown) height += LICENSE_BOX_HEIGHT + GAP_BELOW_LICENSE;
  return height;
}

ButtonLefts placeButtons(int panelWidth, int cancelWidth, int installWidth) {
  const int cancel = panelWidth - cancelWidth - 1;
  return ButtonLefts{cancel, cancel - installWidth - 6};
}

// C++ integer division truncates toward zero, as the rule asks.
int centredOrigin(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }

ResizedLayout resizeLayout(int clientWidth, int clientHeight, int cancelWidth, int installWidth) {
  ResizedLayout layout;
  const int panelTop = clientHeight - BUTTON_PANEL.height;
  layout.buttonPanel = LayoutRect{1, panelTop, clientWidth - 2, BUTTON_PANEL.height};
  layout.buttons = placeButtons(layout.buttonPanel.width, cancelWidth, installWidth);
  int boxHeight = panelTop - GAP_BELOW_PICTURE - (pictureBottom() + GAP_BELOW_LICENSE);
  if (boxHeight < LICENSE_BOX_HEIGHT) boxHeight = LICENSE_BOX_HEIGHT;
  layout.licenseBox = LayoutRect{0, pictureBottom() + GAP_BELOW_PICTURE, clientWidth, boxHeight};
  return layout;
}
