// The movie panel's status codes, retry counts and its check of the
// installed Flash Player against the movie.
#ifndef SAVER_FLASH_FLASH_PANEL_RULES_H
#define SAVER_FLASH_FLASH_PANEL_RULES_H

#include <cstdint>

const int32_t FLASH_PANEL_NO_PLAYER = -401;
const int32_t FLASH_PANEL_CONTROL_NOT_CREATED = -403;
const int32_t FLASH_PANEL_CONTROL_NOT_RELEASED = -409;
const int32_t FLASH_PANEL_PLAYER_TOO_OLD = -410;

// Creation is retried back to back: a control that is being registered by a
// player installer may fail for a while.
const int32_t FLASH_CONTROL_CREATION_ATTEMPTS = 10000;

// 0 when the player can show a movie of swfVersion; a movie whose header was
// not read has version 0 and always passes.
int32_t flashPlayerVersionStatus(bool playerFound, int32_t playerMajor, uint8_t swfVersion);

#endif
