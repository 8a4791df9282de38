// The installer window's geometry: the design values of its parts and the
// rules that size and place them at the DPI of the window's monitor.
// Portable; the window applies the results.
#ifndef SAVER_INSTALLER_INSTALLER_LAYOUT_H
#define SAVER_INSTALLER_INSTALLER_LAYOUT_H

struct LayoutRect {
  int left;
  int top;
  int width;
  int height;
};

// Design values, in pixels of a 96 dots-per-inch screen; the window scales
// each of them to its DPI (scaledToDpi, scaledRect).
const int FORM_WIDTH = 490;
const LayoutRect CONTENT_PANEL = {0, 1, 482, 272};
const LayoutRect LICENSE_BOX = {0, 272, 759, 342};
const int LICENSE_BOX_HEIGHT = 103;  // its height in licence mode, and its minimum
const LayoutRect BUTTON_PANEL = {0, 615, 482, 63};
const LayoutRect STATUS_LINE = {2, 3, 360, 13};
const LayoutRect PROGRESS_BAR = {1, 20, 480, 12};
const LayoutRect INSTALL_BUTTON = {401, 36, 80, 25};
const LayoutRect DONE_BUTTON = {400, 36, 80, 25};
const LayoutRect CANCEL_BUTTON = {316, 36, 80, 25};
const int ACCEPT_AND_INSTALL_WIDTH = 115;
const int PROGRESS_MAXIMUM = 10;
// The installer's font: "MS Sans Serif", 8 points.
const int FONT_HEIGHT = -11;

// Each field of a design rectangle at dpi.
LayoutRect scaledRect(const LayoutRect &design, int dpi);

// Window height below which a window showing the licence cannot be made
// (465 at 96 DPI): the picture, the smallest licence box, the buttons and a
// margin.
int minimumHeightWithLicense(int dpi);
// Minimum height of a window without licence (340 at 96 DPI); its client
// height is set to fitClientHeight afterwards.
int minimumHeightWithoutLicense(int dpi);
// Client height before the window is first shown: 338, or 445 with licence,
// at 96 DPI.
int fitClientHeight(bool licenseShown, int dpi);

struct ButtonLefts {
  int cancel;
  int install;
};

// "Cancel" 1 pixel from the panel's right edge, "Install" 6 pixels left of
// it (at 96 DPI).
ButtonLefts placeButtons(int panelWidth, int cancelWidth, int installWidth, int dpi);

// Left or top that centres a window on the screen; the division rounds
// toward zero, also for a window larger than the screen.
int centredOrigin(int screenExtent, int windowExtent);

struct ResizedLayout {
  LayoutRect buttonPanel;
  LayoutRect licenseBox;
  ButtonLefts buttons;
};

// Where the parts go after the window's size changed: the button panel at the
// bottom of the client area, the licence box between picture and buttons.
ResizedLayout resizeLayout(int clientWidth, int clientHeight, int cancelWidth, int installWidth, int dpi);

#endif
