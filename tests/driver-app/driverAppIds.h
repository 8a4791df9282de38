// Control ids and messages of the driver's fixture dialog, shared with its
// tests.
#ifndef SAVER_TESTS_DRIVER_APP_IDS_H
#define SAVER_TESTS_DRIVER_APP_IDS_H

#define IDD_DRIVER_APP 100
#define IDC_FIRST 101
#define IDC_SECOND 102
#define IDC_NEVER 103
#define IDC_PROMPT 200
#define IDC_FOLDER 201

// Posted with an exit code in wParam: the program ends with that code.
#define WM_DRIVER_APP_QUIT (WM_APP + 1)

// With "/ask" the dialog opens a system message box over itself at once and
// ends with DRIVER_APP_ANSWERED plus the box's answer.
#define DRIVER_APP_QUESTION_TITLE "Error"
#define DRIVER_APP_QUESTION "Something failed."
#define DRIVER_APP_ANSWERED 1000

#define DRIVER_APP_TITLE "Driver Fixture"
#define DRIVER_APP_PROMPT "Pick a button."

// The dialog's background, so that screenshots can be checked channel by channel.
#define DRIVER_APP_RED 0x20
#define DRIVER_APP_GREEN 0x80
#define DRIVER_APP_BLUE 0xE0

#endif
