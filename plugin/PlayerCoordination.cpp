#include "plugin/PlayerCoordination.h"

void PlayerStart() {}
void PlayerStop() {}
void PlayerStamp() {}
