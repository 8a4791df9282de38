// The movie panel's retry count and its check of the
// installed Flash Player against the movie.
#ifndef SAVER_FLASH_FLASH_PANEL_RULES_H
#define SAVER_FLASH_FLASH_PANEL_RULES_H

#include "common/statusCodes.h"

#include <cstdint>

// Creation is retried back to back: a control that is being registered by a
// player installer may fail for a while.
const int32_t FLASH_CONTROL_CREATION_ATTEMPTS = 10000;

// 0 when the player can show a movie of swfVersion; a movie whose header was
// not read has version 0 and always passes.
int32_t flashPlayerVersionStatus(bool playerFound, int32_t playerMajor, uint8_t swfVersion);

#endif
