// TSenderMainForm: the launcher's hidden main window. It is never shown; the
// installer addresses its commands to it (WM_COPYDATA and WM_Close_Launcher).
#ifndef SAVER_LAUNCHER_SENDER_MAIN_H
#define SAVER_LAUNCHER_SENDER_MAIN_H

#include <windows.h>

#include <string>

// Registers the window class and creates the window; its creation runs the
// whole start-up. nullptr when the window could not be made.
HWND createSenderMainForm(HINSTANCE instance);

// The launcher's own trace: lines appended to the multi-line edit control
// cdMemo of the hidden main window. Its first line is "cdMemo".
void createTraceBox(HWND mainWindow);
void addTraceLine(const std::string &line);

#endif
