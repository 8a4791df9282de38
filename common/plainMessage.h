// A plain message box with the text and an "OK" button, for internal faults
// that the user should see. Without windows (native builds) the text goes to
// standard error.
#ifndef SAVER_COMMON_PLAIN_MESSAGE_H
#define SAVER_COMMON_PLAIN_MESSAGE_H

#include <string>

void showPlainMessage(const std::string &text);

#endif
