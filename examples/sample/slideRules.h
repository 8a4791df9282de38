// The drawing rules of the sample saver: where a picture goes, which files
// are pictures, when a mouse move counts as input, and the colours of the
// animation shown when there are no pictures. Portable.
#ifndef SAVER_EXAMPLES_SLIDE_RULES_H
#define SAVER_EXAMPLES_SLIDE_RULES_H

#include <cstdint>
#include <string>

struct SlideRect {
  int left;
  int top;
  int width;
  int height;
};

// The largest rectangle of the picture's proportions inside the area,
// centred in it. Empty for an empty picture or area.
SlideRect fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// ".bmp", ".jpg" or ".jpeg" in any letter case.
bool isPictureFileName(const std::string &name);

// A full-screen saver ends on a move of more than this many pixels from
// where the pointer was first seen; smaller ones are the jitter of a desk.
const int MOUSE_MOVE_THRESHOLD = 4;
bool movedBeyondThreshold(int firstX, int firstY, int x, int y);

// The animation: bands of light that drift across the screen. The colour, as
// 0x00BBGGRR, of column x (of width) at animation step.
uint32_t auroraColour(int x, int width, int band, uint32_t step);
const int AURORA_BANDS = 3;

#endif
