#include "tools/common/LightView.h"

void LightView_Changed(unsigned, unsigned, int, unsigned) {}
