// The common controls a message box is drawn with. A program that shows no
// window of its own (the launcher) leaves common controls 6 out of its
// manifest, so that Windows does not load that library for its hidden
// window, and names them in its isolation-aware manifest instead (the
// resource that Windows itself does not apply); its boxes take that
// manifest on while they show. In the other programs, whose own
// manifest names the controls, the scope does nothing.
#ifndef SAVER_COMMON_BOX_CONTROLS_H
#define SAVER_COMMON_BOX_CONTROLS_H

#include <windows.h>

class BoxControlsScope {
 public:
  BoxControlsScope();
  ~BoxControlsScope();
  BoxControlsScope(const BoxControlsScope &) = delete;
  BoxControlsScope &operator=(const BoxControlsScope &) = delete;

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

#endif
