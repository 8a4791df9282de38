// TFlashPanel: the installer window's movie area. A child window that checks
// a movie file, checks that the installed Flash Player can show it, and plays
// it in a Flash control embedded in the panel. It owns a scratch folder for
// the uncompressed copies of compressed movies and deletes it when destroyed.
#ifndef SAVER_FLASH_FLASH_PANEL_H
#define SAVER_FLASH_FLASH_PANEL_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "flash/SwfReader.h"
#include "flash/flashControl.h"
#include "flash/flashPanelRules.h"

class TFlashPanel {
 public:
  // A white panel filling the client area of parent.
  explicit TFlashPanel(HWND parent);
  ~TFlashPanel();
  TFlashPanel(const TFlashPanel &) = delete;
  TFlashPanel &operator=(const TFlashPanel &) = delete;

  // Shows the movie at path; 0, or the first refusal. An empty path, or the
  // path of the movie already shown, gives 0 and changes nothing.
  int32_t playMovie(const std::string &path);
  // Stops and removes the control, turns the panel black, forgets the movie.
  void closeMovie();
  // Gives the keyboard focus to the control.
  void focusMovie();

  // The steps of playMovie after the movie was read.
  int32_t checkFlashPlayerVersion() const;
  int32_t releaseFlashControl();
  int32_t createFlashControl(int32_t attempts = FLASH_CONTROL_CREATION_ATTEMPTS);
  void loadAndPlayMovie();

  HWND handle() const { return window_; }
  COLORREF colour() const { return colour_; }
  const std::string &swfFilename() const { return swfFilename_; }
  const std::string &scratchFolder() const { return scratchFolder_; }
  const SwfMovieInfo &movieInfo() const { return movieInfo_; }
  // The control's window; null without a control or before it is placed.
  HWND flashControlWindow() const;
  bool hasFlashControl() const { return flashControl_ != nullptr; }

 private:
  int32_t readMovie();
  void configureFlashControl();
  void setColour(COLORREF colour);
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  COLORREF colour_;
  std::string swfFilename_;
  std::unique_ptr<TShockwaveFlash> flashControl_;
  SwfMovieInfo movieInfo_;
  std::string scratchFolder_;
};

#endif
