// The operating system's own text for an error code, as the messages append
// it. Empty for codes the system has no text for (our negative statuses).
#ifndef SAVER_COMMON_DIALOGS_SYSTEM_ERROR_TEXT_H
#define SAVER_COMMON_DIALOGS_SYSTEM_ERROR_TEXT_H

#include <cstdint>
#include <string>

std::string systemErrorText(int32_t code);

#endif
