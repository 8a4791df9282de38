// The launcher's own trace: lines appended to the multi-line edit control
// cdMemo of its hidden main window.
#ifndef SAVER_LAUNCHER_TRACE_BOX_H
#define SAVER_LAUNCHER_TRACE_BOX_H

#include <windows.h>

#include <string>

// Creates cdMemo inside the main window; its first line is "cdMemo".
void createTraceBox(HWND mainWindow);
void addTraceLine(const std::string &line);

#endif
