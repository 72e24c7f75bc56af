#include "mixer/sound3d.h"

int sound3d_present = 1;
const BYTE sound3d_space = 4;
const BYTE sound3d_depth = 4;
