#include "flash/flashPanelRules.h"

int32_t flashPlayerVersionStatus(bool playerFound, int32_t playerMajor, uint8_t swfVersion) {
  if (!playerFound) return FLASH_PANEL_NO_PLAYER;
  if (swfVersion > playerMajor) return FLASH_PANEL_PLAYER_TOO_OLD;
  return 0;
}
